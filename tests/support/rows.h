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
    // A word's values, or synonyms, or a category's members, in alphabetical
    // order: "A, B, C".
    std::string values(const std::string& ord) { return list("SELECT Verdi FROM T_OrdVerdi WHERE Ord = ?", ord); }
    std::string synonyms(const std::string& ord) { return list("SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?", ord); }
    std::string members(const std::string& k) { return list("SELECT Ord FROM T_OrdKategori WHERE Kategori = ?", k); }

private:
    std::string list(const std::string& sql, const std::string& key) {
        std::string out;
        for (const auto& r : testing_support::queryRows(c_, sql + " ORDER BY 1", {key}))
            out += (out.empty() ? "" : ", ") + r[0];
        return out;
    }
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
