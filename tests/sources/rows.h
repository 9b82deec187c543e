// What the reader tests share: rows a reader collected, written into an
// in-memory word database and read back by query.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "store/wordlists.h"
#include "store/wordstore.h"

namespace sources_test {

using Rows = std::vector<std::vector<std::string>>;

// The collected rows as a word database would hold them.
class Written {
public:
    explicit Written(const store::WordListBuilder& b) : c_(":memory:", store::Connection::Mode::Create) {
        store::CreateSchema(c_);
        b.write(c_);
    }
    Rows operator()(const std::string& sql) {
        store::Stmt st = c_.prepare(sql);
        Rows out;
        while (st.step()) {
            std::vector<std::string> r;
            for (int i = 0; i < st.columns(); ++i) r.push_back(st.isNull(i) ? "<null>" : st.text(i));
            out.push_back(r);
        }
        return out;
    }

private:
    store::Connection c_;
};

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The message a reader throws, or "no error".
template <class F>
std::string fault(F read) {
    try {
        read();
    } catch (const store::ImportError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace sources_test
