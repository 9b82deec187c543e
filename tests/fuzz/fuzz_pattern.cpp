// The wildcard matcher: any pattern against any text, and the rule that a
// pattern without wildcards matches itself (and anything it starts).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/utf8.h"
#include "store/wildcard.h"

namespace {
// Texts in the word database are UTF-8 (the windows and the importers make
// them so); the prefix rule below holds for those.
bool validUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size(); i += store::CharBytes(s, i))
        if (!store::WellFormed(s, i)) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const size_t cut = in.find('\n');
    const std::string pattern = in.substr(0, cut);
    const std::string text = cut == std::string::npos ? std::string() : in.substr(cut + 1);
    (void)store::wildcardMatch(pattern, text);
    (void)store::CharLength(in);
    if (pattern.find_first_of("*?") == std::string::npos) {
        if (!store::wildcardMatch(pattern, pattern)) std::abort();
        if (validUtf8(pattern) && validUtf8(text) && !store::wildcardMatch(pattern + "*", pattern + text)) std::abort();
    }
    if (!store::wildcardMatch("*", text)) std::abort();
    return 0;
}
