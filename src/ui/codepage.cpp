// Windows-1252 code-page helpers: the key filters of the windows see the
// codes the classic controls gave them, and capitals follow the code page.
#include "ui/toolkit.h"

namespace ui {

namespace {

// Windows-1252 codes 128..159; 0 where the code page has no character.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

int toCp1252(QChar c) {
    char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u != 0) return 0x80 + i;
    return -1;
}

QChar fromCp1252(int code) {
    if (code <= 0 || code > 0xFF) return QChar();
    if (code >= 0x80 && code < 0xA0) return QChar(kCp1252High[code - 0x80]);
    return QChar(char16_t(code));
}

QString upperCase(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (char32_t c : s.toUcs4()) {
        char32_t up = QChar::toUpper(c);
        // Within the code page, a letter keeps its form when its capital
        // lies outside it (the micro sign would turn Greek otherwise).
        if (c <= 0xFFFF && toCp1252(QChar(char16_t(c))) >= 0 && (up > 0xFFFF || toCp1252(QChar(char16_t(up))) < 0))
            up = c;
        out += QString::fromUcs4(&up, 1);
    }
    return out;
}

int charLength(const QString& s) { return int(s.toUcs4().size()); }

}  // namespace ui
