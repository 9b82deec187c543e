// The pattern translation: any pattern against any text, and the rule that
// a pattern without wildcards matches itself (and anything it starts).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/wordstore.h"

namespace {
// Texts in the word database are UTF-8 (the windows and the importers make
// them so); the prefix rule below holds for those.
bool validUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (!n || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const size_t cut = in.find('\n');
    const std::string pattern = in.substr(0, cut);
    const std::string text = cut == std::string::npos ? std::string() : in.substr(cut + 1);
    (void)store::PatternMatches(pattern, text);
    (void)store::CharLength(in);
    if (pattern.find_first_of("*?") == std::string::npos) {
        if (!store::PatternMatches(pattern, pattern)) std::abort();
        if (validUtf8(pattern) && validUtf8(text) && !store::PatternMatches(pattern + "*", pattern + text))
            std::abort();
    }
    if (!store::PatternMatches("*", text)) std::abort();
    return 0;
}
