// The demo word list shipped in data/: one entry a line,
// "WORD | SYN, SYN | VALUE, VALUE | CATEGORY, ...", "#" starting a comment.
#pragma once

#include <string>

#include "store/wordlists.h"

namespace sources {

// Adds the list's words, pairs, values and categories to `rows`; a line
// that breaks the form throws store::ImportError naming the file and line.
void ReadDemo(const std::string& path, store::WordListBuilder& rows);

// Keeps out, as WordNet's offensive marks do, the words of a list of words
// offensive in every sense that no word-data package marks (SQUAW): one a
// line, "#" starting a comment.
void ReadBlocked(const std::string& path, store::WordListBuilder& rows);

}  // namespace sources
