// Outside text (a line of a word list, a field of a CSV file) quoted in a
// message: it may be binary or endless, so control and broken bytes are
// written as \xNN and a long text is cut, and the message stays readable
// on a terminal and in a message box.
#pragma once

#include <string>
#include <string_view>

namespace store {

// `text` with every control byte, DEL and byte outside valid UTF-8 shown as
// \xNN, cut after `maxChars` characters with "…" after it.
std::string Shown(std::string_view text, size_t maxChars = 40);

}  // namespace store
