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

}  // namespace

std::string PgAdmin() {
    if (const char* env = std::getenv("VELMORA_TEST_PG"); env && *env) return env;
    std::ifstream in(std::string(VELMORA_BINARY_DIR) + "/pg-test/conninfo");
    std::string line;
    std::getline(in, line);
    return line;
}

PgTestDb::PgTestDb(bool tables, const std::string& admin) : admin_(admin) {
    static int counter = 0;
    name_ = "velmora_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    store::pg::Connection server(admin_);
    server.exec("DROP DATABASE IF EXISTS " + name_);
    server.exec("CREATE DATABASE " + name_);
    // Later keywords of a connection string win over earlier ones.
    conninfo_ = admin_ + " dbname=" + name_;
    if (tables) {
        store::pg::Connection c(conninfo_);
        store::pg::Transaction t(c);
        store::CreatePgTables(c);
        store::CreatePgIndexes(c);
        t.commit();
    }
    engine_ = std::make_unique<store::DBEngine>(conninfo_);
}

PgTestDb::~PgTestDb() {
    engine_.reset();
    try {
        store::pg::Connection(admin_).exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const std::exception&) {
        // A server stopped by the test is removed with its cluster.
    }
}

Rows PgTestDb::rows(const std::string& sql, const std::vector<std::string>& values) {
    store::pg::Connection c(conninfo_);
    store::pg::Result r = c.exec(forServer(sql), store::pg::Params(values.begin(), values.end()));
    Rows out(size_t(r.rows()));
    for (int i = 0; i < r.rows(); ++i)
        for (int j = 0; j < r.columns(); ++j) out[size_t(i)].push_back(r.isNull(i, j) ? "<null>" : r.text(i, j));
    return out;
}

void PgTestDb::admin(const std::string& sql) {
    store::pg::Connection c(conninfo_);
    c.script(sql);
}

namespace {

// `sql` with every "P_" the roles' prefix and "DB" the database's name.
std::string named(std::string sql, const std::string& prefix, const std::string& db) {
    for (size_t at; (at = sql.find("P_")) != std::string::npos;) sql.replace(at, 2, prefix + "_");
    for (size_t at; (at = sql.find(" DB ")) != std::string::npos;) sql.replace(at + 1, 2, db);
    return sql;
}

const char* const kTables = "T_Ord, T_Kategori, T_OrdKategori, T_OrdSynonym, T_Verdi, T_OrdVerdi";

}  // namespace

TestRoles::TestRoles(PgTestDb& db) : db_(db), prefix_(db.name()) {
    db.admin(named(std::string("CREATE ROLE P_editor NOLOGIN; CREATE ROLE P_reader NOLOGIN;"
                               "GRANT CONNECT ON DATABASE DB TO P_editor, P_reader;"
                               "GRANT USAGE ON SCHEMA public TO P_editor, P_reader;"
                               "GRANT SELECT ON ") +
                       kTables +
                       " TO P_editor, P_reader;"
                       "GRANT INSERT, DELETE ON T_Ord, T_OrdKategori, T_OrdSynonym, T_Verdi, T_OrdVerdi TO P_editor;"
                       "CREATE ROLE P_anna LOGIN IN ROLE P_editor; CREATE ROLE P_guest LOGIN IN ROLE P_reader;",
                   prefix_, db.name()));
}

TestRoles::~TestRoles() {
    try {
        // The grants go with the database; the roles have to be dropped.
        db_.admin(named(std::string("REVOKE ALL ON ") + kTables +
                            " FROM P_editor, P_reader; REVOKE ALL ON SCHEMA public FROM P_editor, P_reader;"
                            "REVOKE ALL ON DATABASE DB FROM P_editor, P_reader;",
                        prefix_, db_.name()));
        store::pg::Connection admin(PgAdmin());
        for (const char* r : {"_anna", "_guest", "_editor", "_reader"})
            admin.exec("DROP ROLE IF EXISTS " + prefix_ + r);
    } catch (const std::exception&) {}
}

void OnEngines::SetUp() {
    if (GetParam() == Engine::Sqlite) {
        db = std::make_unique<TempDb>();
    } else {
        NEEDS_SERVER();
        db = std::make_unique<PgTestDb>();
    }
}

}  // namespace testing_support
