// The wildcard matcher of the pattern lookup: "*" stands for any run of
// letters, "?" for one letter (one UTF-8 code point); everything else
// stands for itself, case and all.
#pragma once

#include <string_view>

namespace store {

// True when the whole of `text` matches `pattern`.
bool wildcardMatch(std::string_view pattern, std::string_view text);

}  // namespace store
