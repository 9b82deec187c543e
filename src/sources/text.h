// What every reader of outside data needs: a whole file read with a message
// that names it, code pages turned into UTF-8, and small text helpers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/utf8.h"

namespace sources {

// The file's bytes; a missing or unreadable file throws store::ImportError.
std::string ReadFile(const std::string& path);

// ISO-8859-1 bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);
// `bytes` in `encoding` (any name iconv knows: UTF-8, ISO-8859-1, CP1252...)
// as UTF-8. An unknown encoding, or bytes the encoding does not allow,
// throw store::ImportError naming `file` and the line.
std::string ToUtf8(std::string_view bytes, const std::string& encoding, const std::string& file);

std::string_view Trim(std::string_view s);
std::vector<std::string_view> Split(std::string_view s, char sep);
using store::UpperAscii;

// A typed word (store::Typeable) a grid can take as an answer: letters only,
// A–Z, Æ, Ø and Å, 2 to `letters` of them.
bool GridAnswer(std::string_view typed, size_t letters = 14);

}  // namespace sources
