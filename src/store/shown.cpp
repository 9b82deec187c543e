#include "store/shown.h"

#include "store/utf8.h"

namespace store {

std::string Shown(std::string_view text, size_t maxChars) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < text.size();) {
        if (chars == maxChars) return out + "…";
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = CharBytes(text, i);
        if (c < 0x20 || c == 0x7F || !WellFormed(text, i)) {
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
