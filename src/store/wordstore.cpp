#include "store/wordstore.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "store/order.h"
#include "store/pg_words.h"
#include "store/wordindex.h"
#include "store/wordlists.h"

namespace store {

namespace {

// Takes the statement by reference: prepare(...).bind(...) yields a
// reference to a temporary that lives to the end of the call.
std::vector<std::string> column(Stmt& st, const char* name) {
    std::vector<std::string> out;
    int col = -1;
    while (st.step()) {
        if (col < 0) col = st.columnIndex(name);
        out.push_back(st.text(col));
    }
    return out;
}

std::vector<std::string> column(Stmt&& st, const char* name) { return column(st, name); }

RowId firstRow(Stmt& st) {
    if (st.step()) return st.integer(0);
    return std::nullopt;
}

// Deletes the first row of `table` whose two columns hold a and b (b unused
// when col2 is null), found and removed by one statement.
int deleteFirst(Connection& c, const char* table, const char* col1, const std::string& a, const char* col2 = nullptr,
                const std::string& b = {}) {
    std::string where = std::string(col1) + " = ?1";
    if (col2) where += std::string(" AND ") + col2 + " = ?2";
    Stmt st = c.prepare(std::string("DELETE FROM ") + table + " WHERE rowid = (SELECT rowid FROM " + table + " WHERE " +
                        where + " ORDER BY rowid LIMIT 1)");
    st.bind(1, a);
    if (col2) st.bind(2, b);
    st.run();
    return c.changes();
}

// Adds a word with Notat "X" unless it is there: a link save's side effect.
void ensureWord(Connection& c, const std::string& ord) {
    if (c.prepare("SELECT rowid FROM T_Ord WHERE Ord = ?1 LIMIT 1").bind(1, ord).step()) return;
    c.prepare("INSERT INTO T_Ord (Ord, Notat) VALUES (?1, 'X')").bind(1, ord).run();
}

// Literal text before the first wildcard: every match starts with it, so an
// index range narrows the rows the pattern is tried on.
std::string literalPrefix(const std::string& pattern) {
    size_t n = pattern.find_first_of("*?");
    return pattern.substr(0, n);
}

}  // namespace

// The word database in a SQLite file: the SQL that is SQLite's own.
class SqliteWords : public Engine {
public:
    explicit SqliteWords(const std::string& path) : c_(path, Connection::Mode::ReadWrite) {
        RegisterWordOrder(c_.handle());
    }

    std::vector<std::string> Categories() override;
    bool WordExists(const std::string& ord) override;
    std::vector<std::string> PatternLookup(const std::string& pattern) override;
    bool SaveWord(const std::string& ord) override;
    RowId FindWordRow(const std::string& ord) override;
    bool EraseWord(const std::string& ord) override;
    std::vector<std::string> Synonyms(const std::string& ord, bool byLength) override;
    std::vector<std::string> Values(const std::string& ord, bool byLength) override;
    std::vector<std::string> CategoriesOf(const std::string& ord) override;
    std::vector<std::string> WordsOfCategory(const std::string& kategori) override;
    bool SaveCategoryLink(const std::string& ord, const std::string& kategori) override;
    RowId FindCategoryLink(const std::string& ord, const std::string& kategori) override;
    bool EraseCategoryLink(const std::string& ord, const std::string& kategori) override;
    bool SaveSynonymPair(const std::string& ord, const std::string& synonym) override;
    RowId FindSynonymRow(const std::string& ord, const std::string& synonym) override;
    int EraseSynonymPair(const std::string& ord, const std::string& synonym) override;
    bool SaveValueLink(const std::string& ord, const std::string& verdi) override;
    RowId FindValueLink(const std::string& ord, const std::string& verdi) override;
    bool EraseValueLink(const std::string& ord, const std::string& verdi) override;
    std::vector<std::string> CandidateSynonyms(const std::string& ord, int length) override;
    std::vector<std::string> CandidateValues(const std::string& ord, int length) override;
    std::vector<std::pair<std::string, std::string>> ClueLinks() override;
    std::vector<std::pair<std::string, int>> Ranks() override { return ReadRanks(c_); }
    std::vector<std::string> WordsWithSynonyms() override { return ReadWordsWithSynonyms(c_); }
    std::vector<std::string> ClueWordsFor(const std::string& answer) override;

    std::string path() const override { return c_.path(); }
    void CheckWritable() override {
        // The engine opens a file it may not write read-only, and says so.
        if (sqlite3_db_readonly(c_.handle(), "main") == 1)
            throw DbError(DbError::Kind::ReadOnly, c_.path(),
                          "you have no permission to change this file, so it was opened for reading only");
    }

private:
    std::vector<std::string> patternRows(const std::string& pattern);
    Connection c_;
};

Database::Database(const std::string& path) : e_(std::make_unique<SqliteWords>(path)) {}

std::vector<std::string> SqliteWords::Categories() {
    return column(c_.prepare("SELECT Kategori FROM T_Kategori ORDER BY rowid"), "Kategori");
}

bool SqliteWords::WordExists(const std::string& ord) { return FindWordRow(ord).has_value(); }

std::vector<std::string> SqliteWords::PatternLookup(const std::string& pattern) {
    // The index yields the bytes' order, which is alphabetical but where Æ,
    // Ø or Å meet: put those few in their places.
    std::vector<std::string> words = patternRows(pattern);
    if (!std::is_sorted(words.begin(), words.end(), WordLess)) std::stable_sort(words.begin(), words.end(), WordLess);
    return words;
}

std::vector<std::string> SqliteWords::patternRows(const std::string& pattern) {
    const std::string full = pattern + "*";
    const std::string prefix = literalPrefix(full);
    if (prefix.empty())
        return column(c_.prepare("SELECT Ord FROM T_Ord WHERE velmora_match(?1, Ord) ORDER BY Ord").bind(1, full),
                      "Ord");
    // No UTF-8 text holds the byte FF, so prefix + FF bounds every text
    // that starts with the prefix.
    return column(c_.prepare("SELECT Ord FROM T_Ord WHERE Ord >= ?2 AND Ord < ?3 AND velmora_match(?1, Ord) "
                             "ORDER BY Ord")
                      .bind(1, full)
                      .bind(2, prefix)
                      .bind(3, prefix + "\xFF"),
                  "Ord");
}

bool SqliteWords::SaveWord(const std::string& ord) {
    Transaction t(c_);
    if (FindWordRow(ord)) return false;
    c_.prepare("INSERT INTO T_Ord (Ord, Notat, Star) VALUES (?1, NULL, NULL)").bind(1, ord).run();
    t.commit();
    return true;
}

RowId SqliteWords::FindWordRow(const std::string& ord) {
    return firstRow(c_.prepare("SELECT rowid FROM T_Ord WHERE Ord = ?1 ORDER BY rowid LIMIT 1").bind(1, ord));
}

bool SqliteWords::EraseWord(const std::string& ord) {
    Transaction t(c_);
    const int n = deleteFirst(c_, "T_Ord", "Ord", ord);
    t.commit();
    return n > 0;
}

std::vector<std::string> SqliteWords::Synonyms(const std::string& ord, bool byLength) {
    return column(c_.prepare(byLength ? "SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?1 "
                                        "ORDER BY length(Synonym), Synonym COLLATE VELMORA_ORDER, rowid"
                                      : "SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?1 "
                                        "ORDER BY Synonym COLLATE VELMORA_ORDER, rowid")
                      .bind(1, ord),
                  "Synonym");
}

std::vector<std::string> SqliteWords::Values(const std::string& ord, bool byLength) {
    return column(c_.prepare(byLength ? "SELECT Verdi FROM T_OrdVerdi WHERE Ord = ?1 "
                                        "ORDER BY length(Verdi), Verdi COLLATE VELMORA_ORDER, rowid"
                                      : "SELECT Verdi FROM T_OrdVerdi WHERE Ord = ?1 "
                                        "ORDER BY Verdi COLLATE VELMORA_ORDER, rowid")
                      .bind(1, ord),
                  "Verdi");
}

std::vector<std::string> SqliteWords::CategoriesOf(const std::string& ord) {
    return column(
        c_.prepare("SELECT Kategori FROM T_OrdKategori WHERE Ord = ?1 ORDER BY Kategori COLLATE VELMORA_ORDER, rowid")
            .bind(1, ord),
        "Kategori");
}

std::vector<std::string> SqliteWords::WordsOfCategory(const std::string& kategori) {
    return column(
        c_.prepare("SELECT Ord FROM T_OrdKategori WHERE Kategori = ?1 ORDER BY Ord COLLATE VELMORA_ORDER, rowid")
            .bind(1, kategori),
        "Ord");
}

bool SqliteWords::SaveCategoryLink(const std::string& ord, const std::string& kategori) {
    Transaction t(c_);
    ensureWord(c_, ord);
    bool added = false;
    if (!FindCategoryLink(ord, kategori)) {
        c_.prepare("INSERT INTO T_OrdKategori (Ord, Kategori, Notat) VALUES (?1, ?2, 'X')")
            .bind(1, ord)
            .bind(2, kategori)
            .run();
        added = true;
    }
    t.commit();  // the word row stays even when the link was there before
    return added;
}

RowId SqliteWords::FindCategoryLink(const std::string& ord, const std::string& kategori) {
    return firstRow(
        c_.prepare("SELECT rowid FROM T_OrdKategori WHERE Ord = ?1 AND Kategori = ?2 ORDER BY rowid LIMIT 1")
            .bind(1, ord)
            .bind(2, kategori));
}

bool SqliteWords::EraseCategoryLink(const std::string& ord, const std::string& kategori) {
    Transaction t(c_);
    const int n = deleteFirst(c_, "T_OrdKategori", "Ord", ord, "Kategori", kategori);
    t.commit();
    return n > 0;
}

bool SqliteWords::SaveSynonymPair(const std::string& ord, const std::string& synonym) {
    Transaction t(c_);
    ensureWord(c_, ord);
    ensureWord(c_, synonym);
    bool added = false;
    if (!FindSynonymRow(ord, synonym)) {
        Stmt ins = c_.prepare("INSERT INTO T_OrdSynonym (Ord, Synonym, Notat) VALUES (?1, ?2, 'X')");
        ins.bind(1, synonym).bind(2, ord).run();
        ins.reset();
        ins.bind(1, ord).bind(2, synonym).run();
        added = true;
    }
    t.commit();
    return added;
}

RowId SqliteWords::FindSynonymRow(const std::string& ord, const std::string& synonym) {
    return firstRow(c_.prepare("SELECT rowid FROM T_OrdSynonym WHERE Ord = ?1 AND Synonym = ?2 ORDER BY rowid LIMIT 1")
                        .bind(1, ord)
                        .bind(2, synonym));
}

int SqliteWords::EraseSynonymPair(const std::string& ord, const std::string& synonym) {
    Transaction t(c_);
    int n = deleteFirst(c_, "T_OrdSynonym", "Ord", ord, "Synonym", synonym);
    n += deleteFirst(c_, "T_OrdSynonym", "Ord", synonym, "Synonym", ord);
    t.commit();
    return n;
}

bool SqliteWords::SaveValueLink(const std::string& ord, const std::string& verdi) {
    Transaction t(c_);
    ensureWord(c_, ord);
    if (!c_.prepare("SELECT rowid FROM T_Verdi WHERE Verdi = ?1 LIMIT 1").bind(1, verdi).step())
        c_.prepare("INSERT INTO T_Verdi (Verdi, Notat) VALUES (?1, 'X')").bind(1, verdi).run();
    bool added = false;
    if (!FindValueLink(ord, verdi)) {
        c_.prepare("INSERT INTO T_OrdVerdi (Ord, Verdi, Notat) VALUES (?1, ?2, 'X')").bind(1, ord).bind(2, verdi).run();
        added = true;
    }
    t.commit();
    return added;
}

RowId SqliteWords::FindValueLink(const std::string& ord, const std::string& verdi) {
    return firstRow(c_.prepare("SELECT rowid FROM T_OrdVerdi WHERE Ord = ?1 AND Verdi = ?2 ORDER BY rowid LIMIT 1")
                        .bind(1, ord)
                        .bind(2, verdi));
}

bool SqliteWords::EraseValueLink(const std::string& ord, const std::string& verdi) {
    Transaction t(c_);
    const int n = deleteFirst(c_, "T_OrdVerdi", "Ord", ord, "Verdi", verdi);
    t.commit();
    return n > 0;
}

std::vector<std::string> SqliteWords::CandidateSynonyms(const std::string& ord, int length) {
    if (length == 0)
        return column(c_.prepare("SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?1 ORDER BY rowid").bind(1, ord),
                      "Synonym");
    return column(c_.prepare("SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?1 AND length(Synonym) = ?2 ORDER BY rowid")
                      .bind(1, ord)
                      .bind(2, int64_t(length)),
                  "Synonym");
}

std::vector<std::string> SqliteWords::CandidateValues(const std::string& ord, int length) {
    if (length == 0)
        return column(c_.prepare("SELECT Verdi FROM T_OrdVerdi WHERE Ord = ?1 ORDER BY rowid").bind(1, ord), "Verdi");
    return column(c_.prepare("SELECT Verdi FROM T_OrdVerdi WHERE Ord = ?1 AND length(Verdi) = ?2 ORDER BY rowid")
                      .bind(1, ord)
                      .bind(2, int64_t(length)),
                  "Verdi");
}

std::vector<std::pair<std::string, std::string>> SqliteWords::ClueLinks() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const char* sql :
         {"SELECT Ord, Synonym FROM T_OrdSynonym ORDER BY rowid", "SELECT Ord, Verdi FROM T_OrdVerdi ORDER BY rowid"}) {
        Stmt st = c_.prepare(sql);
        while (st.step()) out.emplace_back(st.text(0), st.text(1));
    }
    return out;
}

std::vector<std::string> SqliteWords::ClueWordsFor(const std::string& answer) {
    return column(c_.prepare("SELECT Ord FROM T_OrdVerdi WHERE Verdi = ?1 UNION "
                             "SELECT Ord FROM T_OrdSynonym WHERE Synonym = ?1 ORDER BY Ord COLLATE VELMORA_ORDER")
                      .bind(1, answer),
                  "Ord");
}

DBEngine::DBEngine() = default;

DBEngine::DBEngine(const std::string& conninfo) {
    if (!conninfo.empty()) pool_ = std::make_shared<PgPool>(conninfo);
}

DBEngine::~DBEngine() = default;

Database DBEngine::OpenDatabase(const std::string& name) {
    ++opens_;
    if (pool_) return Database(OpenOnServer(pool_));
    return Database(name);
}

void CreateTables(Connection& c) {
    c.exec(
        "CREATE TABLE T_Ord (Ord TEXT, Notat TEXT, Star TEXT);"
        "CREATE TABLE T_Kategori (Kategori TEXT);"
        "CREATE TABLE T_OrdKategori (Ord TEXT, Kategori TEXT, Notat TEXT);"
        "CREATE TABLE T_OrdSynonym (Ord TEXT, Synonym TEXT, Notat TEXT);"
        "CREATE TABLE T_Verdi (Verdi TEXT, Notat TEXT);"
        "CREATE TABLE T_OrdVerdi (Ord TEXT, Verdi TEXT, Notat TEXT);");
}

void CreateIndexes(Connection& c) {
    c.exec(
        // Plain indexes only: the reverse synonym row may repeat a pair.
        "CREATE INDEX I_Ord ON T_Ord (Ord);"
        "CREATE INDEX I_OrdKategori_Ord ON T_OrdKategori (Ord, Kategori);"
        "CREATE INDEX I_OrdKategori_Kategori ON T_OrdKategori (Kategori, Ord);"
        "CREATE INDEX I_OrdSynonym ON T_OrdSynonym (Ord, Synonym);"
        "CREATE INDEX I_Verdi ON T_Verdi (Verdi);"
        "CREATE INDEX I_OrdVerdi ON T_OrdVerdi (Ord, Verdi);");
}

void CreateSchema(Connection& c) {
    Transaction t(c);
    CreateTables(c);
    CreateIndexes(c);
    t.commit();
}

void CreateDatabase(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec))
        throw DbError(DbError::Kind::Engine, path, "the file exists already; it was left as it is");
    Connection c(path, Connection::Mode::Create);
    CreateSchema(c);
}

}  // namespace store
