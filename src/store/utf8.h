// UTF-8 text walked byte-wise, without decoding it: the one place that knows
// how long a character is, whether its bytes are well formed, how many
// characters a text has, and how ASCII letters become capitals. The word
// database, the readers of outside data and the matcher all walk text so.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace store {

// The bytes of the character that starts at s[i] (i < s.size()): as many as
// its first byte announces, cut at the first byte that does not continue it,
// so that a broken sequence never swallows a "*" or a letter after it.
inline size_t CharBytes(std::string_view s, size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t k = 1;
    while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) ++k;
    return k;
}

// True when the character at s[i] is well-formed UTF-8: ASCII, or a sequence
// in its shortest form of a code point up to U+10FFFF that is no surrogate.
inline bool WellFormed(std::string_view s, size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) return true;
    if (lead < 0xC2 || lead > 0xF4) return false;
    const size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (CharBytes(s, i) != n) return false;
    unsigned cp = lead & (0x7Fu >> n);
    for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    const unsigned least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    return cp >= least && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

// Number of characters of a UTF-8 text, as Len() counts them: every byte
// that does not continue a character.
inline int CharLength(std::string_view utf8) {
    int n = 0;
    for (const char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return n;
}

// a-z as A-Z; every other byte as it is.
constexpr char UpperAscii(char ch) { return ch >= 'a' && ch <= 'z' ? char(ch - 'a' + 'A') : ch; }
inline std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& ch : out) ch = UpperAscii(ch);
    return out;
}

}  // namespace store
