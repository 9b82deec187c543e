#include "store/order.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstddef>

namespace store {

namespace {

// Each text is read as a run of units: one of the six letters (two bytes in
// UTF-8), or else one byte. A unit's weight orders it: every byte weighs
// eight times its value, and the six letters fill the gap just below the
// other letters that start with the byte 0xC3 (À, É, Ü ...), so they follow
// Z, z and every other ASCII character as they did before, only in the
// Norwegian order among themselves. No two different units weigh the same,
// so the order is total.
constexpr int kLetters = 0xC3 * 8 - 6;

int weightAt(std::string_view s, size_t i, size_t& len) {
    len = 1;
    if (i >= s.size()) return -1;  // the shorter text comes first
    const auto b = static_cast<unsigned char>(s[i]);
    if (b == 0xC3 && i + 1 < s.size()) {
        len = 2;
        switch (static_cast<unsigned char>(s[i + 1])) {
            case 0x86:
                return kLetters;  // Æ
            case 0x98:
                return kLetters + 1;  // Ø
            case 0x85:
                return kLetters + 2;  // Å
            case 0xA6:
                return kLetters + 3;  // æ
            case 0xB8:
                return kLetters + 4;  // ø
            case 0xA5:
                return kLetters + 5;  // å
            default:
                len = 1;
        }
    }
    return b * 8;
}

int collate(void*, int n1, const void* s1, int n2, const void* s2) {
    return CompareWords(std::string_view(static_cast<const char*>(s1), size_t(n1)),
                        std::string_view(static_cast<const char*>(s2), size_t(n2)));
}

}  // namespace

int CompareWords(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    size_t i = size_t(std::mismatch(a.begin(), a.begin() + std::ptrdiff_t(n), b.begin()).first - a.begin());
    if (i == a.size() && i == b.size()) return 0;
    // The difference may lie in the second byte of one of the letters; 0xC3
    // is never a second byte, so a unit always starts at it.
    if (i > 0 && static_cast<unsigned char>(a[i - 1]) == 0xC3) --i;
    for (;;) {
        size_t la = 1, lb = 1;
        const int wa = weightAt(a, i, la);
        const int wb = weightAt(b, i, lb);
        if (wa != wb) return wa < wb ? -1 : 1;
        if (wa < 0) return 0;
        i += la;  // the same plain byte (only right after stepping back)
    }
}

void RegisterWordOrder(sqlite3* db) { sqlite3_create_collation(db, kWordOrder, SQLITE_UTF8, nullptr, collate); }

}  // namespace store
