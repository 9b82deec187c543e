// The pattern translation: any pattern against any text, and the rule that
// a pattern without wildcards matches itself (and anything it starts).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/wordstore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const size_t cut = in.find('\n');
    const std::string pattern = in.substr(0, cut);
    const std::string text = cut == std::string::npos ? std::string() : in.substr(cut + 1);
    (void)store::PatternMatches(pattern, text);
    (void)store::CharLength(in);
    if (pattern.find_first_of("*?") == std::string::npos) {
        if (!store::PatternMatches(pattern, pattern)) std::abort();
        if (!store::PatternMatches(pattern + "*", pattern + text)) std::abort();
    }
    if (!store::PatternMatches("*", text)) std::abort();
    return 0;
}
