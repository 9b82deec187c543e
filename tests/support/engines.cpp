#include "engines.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "store/pg.h"
#include "store/pg_words.h"

namespace testing_support {

namespace {

// "?" placeholders become $1, $2, ...; rowid becomes the id column.
std::string forServer(const std::string& sql) {
    std::string out;
    int n = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] == '?') {
            out.append("$").append(std::to_string(++n));
        } else if (sql.compare(i, 5, "rowid") == 0) {
            out += "id";
            i += 4;
        } else {
            out += sql[i];
        }
    }
    return out;
}

store::pg::Params params(const std::vector<std::string>& values) {
    return store::pg::Params(values.begin(), values.end());
}

class SqliteStore : public TestStore {
public:
    store::Database open() override { return store::Database(store::kDatabaseFile); }
    void exec(const std::string& sql, const std::vector<std::string>& values) override { db_.exec(sql, values); }
    std::vector<std::vector<std::string>> rows(const std::string& sql,
                                               const std::vector<std::string>& values) override {
        return db_.rows(sql, values);
    }
    std::string where() const override { return db_.file(); }
    std::unique_ptr<store::DBEngine> newEngine() override { return std::make_unique<store::DBEngine>(); }

private:
    TempDb db_;
};

}  // namespace

std::string PgAdmin() {
    if (const char* env = std::getenv("VELMORA_TEST_PG"); env && *env) return env;
    std::ifstream in(std::string(VELMORA_BINARY_DIR) + "/pg-test/conninfo");
    std::string line;
    std::getline(in, line);
    return line;
}

int TestStore::count(const std::string& table) { return std::stoi(rows("SELECT COUNT(*) FROM " + table)[0][0]); }

void TestStore::addWord(const std::string& ord, const char* notat) {
    if (notat)
        exec("INSERT INTO T_Ord(Ord, Notat) VALUES(?, ?)", {ord, notat});
    else
        exec("INSERT INTO T_Ord(Ord) VALUES(?)", {ord});
}
void TestStore::addCategory(const std::string& k) { exec("INSERT INTO T_Kategori(Kategori) VALUES(?)", {k}); }
void TestStore::link(const std::string& o, const std::string& k) {
    exec("INSERT INTO T_OrdKategori(Ord, Kategori, Notat) VALUES(?, ?, 'X')", {o, k});
}
void TestStore::synonym(const std::string& o, const std::string& s) {
    exec("INSERT INTO T_OrdSynonym(Ord, Synonym, Notat) VALUES(?, ?, 'X')", {o, s});
}
void TestStore::value(const std::string& o, const std::string& v) {
    exec("INSERT INTO T_OrdVerdi(Ord, Verdi, Notat) VALUES(?, ?, 'X')", {o, v});
}

PgTestDb::PgTestDb() {
    static int counter = 0;
    name_ = "velmora_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    store::pg::Connection admin(PgAdmin());
    admin.exec("DROP DATABASE IF EXISTS " + name_);
    admin.exec("CREATE DATABASE " + name_);
    // Later keywords of a connection string win over earlier ones.
    conninfo_ = PgAdmin() + " dbname=" + name_;
    store::pg::Connection c(conninfo_);
    store::pg::Transaction t(c);
    store::CreatePgTables(c);
    store::CreatePgIndexes(c);
    t.commit();
    engine_ = std::make_unique<store::DBEngine>(conninfo_);
}

PgTestDb::~PgTestDb() {
    engine_.reset();
    try {
        store::pg::Connection admin(PgAdmin());
        admin.exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // A server stopped by the test is removed with its cluster.
    }
}

void PgTestDb::exec(const std::string& sql, const std::vector<std::string>& values) {
    store::pg::Connection c(conninfo_);
    c.exec(forServer(sql), params(values));
}

std::vector<std::vector<std::string>> PgTestDb::rows(const std::string& sql, const std::vector<std::string>& values) {
    store::pg::Connection c(conninfo_);
    store::pg::Result r = c.exec(forServer(sql), params(values));
    std::vector<std::vector<std::string>> out;
    for (int i = 0; i < r.rows(); ++i) {
        std::vector<std::string> row;
        for (int j = 0; j < r.columns(); ++j) row.push_back(r.isNull(i, j) ? "<null>" : r.text(i, j));
        out.push_back(row);
    }
    return out;
}

void PgTestDb::admin(const std::string& sql) {
    store::pg::Connection c(conninfo_);
    c.script(sql);
}

TestRoles::TestRoles(PgTestDb& db) : db_(db), prefix_(db.name()) {
    const std::string& p = prefix_;
    db.admin("CREATE ROLE " + p +
             "_editor NOLOGIN;"
             "CREATE ROLE " +
             p +
             "_reader NOLOGIN;"
             "GRANT CONNECT ON DATABASE " +
             db.name() + " TO " + p + "_editor, " + p +
             "_reader;"
             "GRANT USAGE ON SCHEMA public TO " +
             p + "_editor, " + p +
             "_reader;"
             "GRANT SELECT ON T_Ord, T_Kategori, T_OrdKategori, T_OrdSynonym, T_Verdi, T_OrdVerdi TO " +
             p + "_editor, " + p +
             "_reader;"
             "GRANT INSERT, DELETE ON T_Ord, T_OrdKategori, T_OrdSynonym, T_Verdi, T_OrdVerdi TO " +
             p +
             "_editor;"
             "CREATE ROLE " +
             p + "_anna LOGIN IN ROLE " + p +
             "_editor;"
             "CREATE ROLE " +
             p + "_guest LOGIN IN ROLE " + p + "_reader;");
}

TestRoles::~TestRoles() {
    try {
        // The grants go with the database; the roles have to be dropped.
        db_.admin("REVOKE ALL ON T_Ord, T_Kategori, T_OrdKategori, T_OrdSynonym, T_Verdi, T_OrdVerdi FROM " + prefix_ +
                  "_editor, " + prefix_ +
                  "_reader;"
                  "REVOKE ALL ON SCHEMA public FROM " +
                  prefix_ + "_editor, " + prefix_ +
                  "_reader;"
                  "REVOKE ALL ON DATABASE " +
                  db_.name() + " FROM " + prefix_ + "_editor, " + prefix_ + "_reader;");
        store::pg::Connection admin(PgAdmin());
        for (const char* r : {"_anna", "_guest", "_editor", "_reader"})
            admin.exec("DROP ROLE IF EXISTS " + prefix_ + r);
    } catch (const std::exception&) {}
}

std::unique_ptr<TestStore> MakeStore(Engine e) {
    if (e == Engine::Postgres) return std::make_unique<PgTestDb>();
    return std::make_unique<SqliteStore>();
}

void OnEngines::SetUp() {
    if (GetParam() == Engine::Postgres && PgAdmin().empty()) GTEST_SKIP() << "no PostgreSQL server for the tests";
    db = MakeStore(GetParam());
}

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

}  // namespace testing_support
