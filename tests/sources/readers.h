// What the reader tests share beyond rows.h: a reader run on a builder of
// its own, the fault it names, and rows as one line of text to compare.
#pragma once

#include <string>

#include "rows.h"

namespace sources_test {

// The builder after `read` filled it.
template <class F>
store::WordListBuilder collected(F read) {
    store::WordListBuilder b;
    read(b);
    return b;
}

// The message `read` throws as it fills a builder, or "no error".
template <class F>
std::string refused(F read) {
    return fault([&] { collected(read); });
}

// Rows as "A B, C D": a row's columns joined by spaces, the rows by commas.
inline std::string joined(const Rows& rows) {
    std::string out;
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i) out += (i ? " " : out.empty() ? "" : ", ") + row[i];
    return out;
}

}  // namespace sources_test
