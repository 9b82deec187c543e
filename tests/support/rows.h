// What the reader tests share: rows a reader collected, written into an
// in-memory word database and read back by query.
#pragma once

#include <string>

#include "store/wordlists.h"
#include "store/wordstore.h"
#include "support.h"

namespace sources_test {

using testing_support::Rows;
using testing_support::writeFile;

// The collected rows as a word database would hold them.
class Written {
public:
    explicit Written(const store::WordListBuilder& b) : c_(":memory:", store::Connection::Mode::Create) {
        store::CreateSchema(c_);
        b.write(c_);
    }
    Rows operator()(const std::string& sql) { return testing_support::queryRows(c_, sql); }

private:
    store::Connection c_;
};

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
