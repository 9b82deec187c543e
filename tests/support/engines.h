// The word store's tests run on both engines: a temporary velmora.mdb, and a
// database of its own on the throwaway PostgreSQL server of the test run
// (scripts/pg-cluster.sh; VELMORA_TEST_PG names another). Without a server
// the PostgreSQL cases skip.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "store/wordstore.h"
#include "support.h"

namespace testing_support {

enum class Engine { Sqlite, Postgres };
inline void PrintTo(Engine e, std::ostream* os) { *os << (e == Engine::Sqlite ? "SQLite" : "PostgreSQL"); }

// The connection string of the test server's superuser; "" when none.
std::string PgAdmin();

// A database named velmora_test_<pid>_<n> on the test server (or the one
// whose superuser `admin` names), with the word tables or (tables false)
// none; dropped after.
class PgTestDb : public RowStore {
public:
    explicit PgTestDb(bool tables = true, const std::string& admin = PgAdmin());
    ~PgTestDb() override;
    PgTestDb(const PgTestDb&) = delete;
    PgTestDb& operator=(const PgTestDb&) = delete;
    store::Database open() override { return engine_->OpenDatabase(); }
    void exec(const std::string& sql, const std::vector<std::string>& values = {}) override { rows(sql, values); }
    Rows rows(const std::string& sql, const std::vector<std::string>& values = {}) override;
    std::string where() const override { return conninfo_; }
    std::unique_ptr<store::DBEngine> newEngine() override { return std::make_unique<store::DBEngine>(conninfo_); }
    // A connection string for another role of the same server and database.
    std::string as(const std::string& role) const { return conninfo_ + " user=" + role; }
    const std::string& name() const { return name_; }
    // Runs SQL as the superuser in this database (roles, grants).
    void admin(const std::string& sql);

private:
    std::string admin_;
    std::string name_;
    std::string conninfo_;
    std::unique_ptr<store::DBEngine> engine_;
};

// The editor and reader roles as docs/postgresql.md sets them up, named after
// `prefix` (roles belong to the whole server): PREFIX_editor and
// PREFIX_reader, with the logins PREFIX_anna (an editor) and PREFIX_guest
// (a reader). Dropped when the object goes, after the test's database.
class TestRoles {
public:
    explicit TestRoles(PgTestDb& db);
    ~TestRoles();
    TestRoles(const TestRoles&) = delete;
    TestRoles& operator=(const TestRoles&) = delete;
    std::string editor() const { return db_.as(prefix_ + "_anna"); }
    std::string reader() const { return db_.as(prefix_ + "_guest"); }

private:
    PgTestDb& db_;
    std::string prefix_;
};

// Fixture for tests that run once on each engine.
class OnEngines : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    std::unique_ptr<RowStore> db;
};

}  // namespace testing_support

#define NEEDS_SERVER() \
    if (testing_support::PgAdmin().empty()) GTEST_SKIP() << "no PostgreSQL server for the tests"

#define VELMORA_ON_ENGINES(Suite)                                                                                   \
    INSTANTIATE_TEST_SUITE_P(, Suite,                                                                               \
                             ::testing::Values(testing_support::Engine::Sqlite, testing_support::Engine::Postgres), \
                             ::testing::PrintToStringParamName())
