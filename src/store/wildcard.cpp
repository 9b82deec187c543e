// The wildcard matcher, on UTF-8 bytes without decoding: the pattern lookup
// runs it on every word of a range, inside the engine.
#include "store/wildcard.h"

#include <cstddef>
#include <cstring>

#include "store/utf8.h"

namespace store {

namespace {

// One character of UTF-8 from p (never past end); returns its length.
size_t utf8Len(const unsigned char* p, const unsigned char* end) {
    return CharBytes(std::string_view(reinterpret_cast<const char*>(p), size_t(end - p)), 0);
}

bool matchFrom(const unsigned char* pat, const unsigned char* pend, const unsigned char* txt,
               const unsigned char* tend) {
    // Iterative wildcard match with one backtrack point for the last "*".
    const unsigned char* starPat = nullptr;
    const unsigned char* starTxt = nullptr;
    while (txt < tend) {
        if (pat < pend && *pat == '*') {
            while (pat < pend && *pat == '*') ++pat;
            if (pat == pend) return true;
            starPat = pat;
            starTxt = txt;
            continue;
        }
        if (pat < pend && *pat == '?') {
            ++pat;
            txt += utf8Len(txt, tend);
            continue;
        }
        if (pat < pend) {
            size_t n = utf8Len(pat, pend);
            size_t m = utf8Len(txt, tend);
            if (n == m && std::memcmp(pat, txt, n) == 0) {
                pat += n;
                txt += m;
                continue;
            }
        }
        if (!starPat) return false;
        starTxt += utf8Len(starTxt, tend);
        txt = starTxt;
        pat = starPat;
    }
    while (pat < pend && *pat == '*') ++pat;
    return pat == pend;
}

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view text) {
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    auto t = reinterpret_cast<const unsigned char*>(text.data());
    return matchFrom(p, p + pattern.size(), t, t + text.size());
}

}  // namespace store
