#include "store/shown.h"

namespace store {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
size_t validSequence(std::string_view s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n;
    unsigned min;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2, min = 0x80;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3, min = 0x800;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4, min = 0x10000;
    else
        return 0;
    if (i + n > s.size()) return 0;
    unsigned cp = c & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::string Shown(std::string_view text, size_t maxChars) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size();) {
        if (chars == maxChars) return out + "…";
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = c >= 0x80 ? validSequence(text, i) : 1;
        if (c < 0x20 || c == 0x7F || n == 0) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            n = 1;
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
        ++chars;
    }
    return out;
}

}  // namespace store
