// The SQLite wrapper: statements on an in-memory database (reads without a
// row, unknown columns, moves, reuse), and the busy paths between BEGIN and
// COMMIT on a file that a second connection reads or writes.
#include <sqlite3.h>

#include "store/sqlite.h"
#include "store/wordstore.h"
#include "support.h"

using store::Connection;
using store::DbError;
using testing_support::TempDb;

namespace {

Connection memory() {
    Connection c(":memory:", Connection::Mode::Create);
    c.exec("CREATE TABLE t (a TEXT, b INTEGER)");
    return c;
}

DbError::Kind kindOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const DbError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no DbError";
    return DbError::Kind::Engine;
}

// Holds a read lock on the file for its life, as another program reading
// a long list would.
class Reader {
public:
    explicit Reader(const std::string& file) : c_(file) {
        c_.exec("BEGIN");
        st_.emplace(c_.prepare("SELECT Ord FROM T_Ord"));
        st_->step();
    }

private:
    Connection c_;
    std::optional<store::Stmt> st_;
};

class Busy : public ::testing::Test {
protected:
    void SetUp() override { store::setBusyTimeout(50); }
    void TearDown() override { store::setBusyTimeout(5000); }
    TempDb db;
};

}  // namespace

TEST(Sqlite, ColumnsAreReadOnlyOnARowAndByExistingIndexOrName) {
    Connection c = memory();
    c.exec("INSERT INTO t VALUES ('x', 7), (NULL, 8)");
    store::Stmt st = c.prepare("SELECT a, b FROM t ORDER BY b");
    EXPECT_THROW(st.text(0), DbError);  // before the first step
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text("a"), "x");
    EXPECT_EQ(st.integer(st.columnIndex("b")), 7);
    for (int bad : {-1, 2}) {
        EXPECT_THROW(st.text(bad), DbError) << bad;
        EXPECT_THROW(st.integer(bad), DbError) << bad;
        EXPECT_THROW(st.isNull(bad), DbError) << bad;
    }
    EXPECT_THROW(st.text("c"), DbError);
    ASSERT_TRUE(st.step());
    EXPECT_TRUE(st.isNull(0));
    EXPECT_EQ(st.text("a"), "");
    EXPECT_FALSE(st.step());
    EXPECT_THROW(st.text(0), DbError);  // past the last row
}

TEST(Sqlite, StatementsSurviveMovesOfThemselvesAndOfTheirConnection) {
    Connection c = memory();
    store::Stmt ins = c.prepare("INSERT INTO t VALUES (?1, ?2)");
    ins.bind(1, "one").bind(2, int64_t(1)).run();
    ins.reset();
    ins.bind(1, "two").bind(2, int64_t(2)).run();
    Connection moved = std::move(c);
    store::Stmt sel = moved.prepare("SELECT a FROM t WHERE b = ?1");
    sel = moved.prepare("SELECT a FROM t ORDER BY b");  // move assignment finalizes the first
    ins.reset();
    ins.bind(1, "three").bind(2, int64_t(3)).run();  // still on the moved connection's file
    std::vector<std::string> got;
    while (sel.step()) got.push_back(sel.text(0));
    EXPECT_EQ(got, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_THROW(moved.prepare("SELECT nothing FROM t"), DbError);
}

TEST_F(Busy, ACommitUnderAReadLockIsRefusedAndWritesNothing) {
    auto d = store::Database(db.file());
    {
        Reader reader(db.file());
        EXPECT_EQ(kindOf([&] { d.SaveWord("LOST"); }), DbError::Kind::Busy);
        EXPECT_EQ(kindOf([&] { d.SaveSynonymPair("A", "B"); }), DbError::Kind::Busy);
        Connection c(db.file());
        store::Transaction t(c);  // BEGIN goes through beside a reader
        c.exec("INSERT INTO T_Ord (Ord) VALUES ('HALF')");
        EXPECT_EQ(kindOf([&] { t.commit(); }), DbError::Kind::Busy);
    }
    EXPECT_EQ(db.count("T_Ord"), 0);
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    // Once the reader is gone the same save goes through.
    EXPECT_TRUE(d.SaveWord("LOST"));
    EXPECT_EQ(db.count("T_Ord"), 1);
}

TEST_F(Busy, AWriterInTheMiddleOfACommitMakesReadsAndWritesBusy) {
    db.addWord("KEPT");
    auto d = store::Database(db.file());
    Connection other(db.file());
    other.exec("BEGIN EXCLUSIVE");
    // A busy read is no empty answer.
    EXPECT_EQ(kindOf([&] { d.WordExists("KEPT"); }), DbError::Kind::Busy);
    EXPECT_EQ(kindOf([&] { d.PatternLookup("K"); }), DbError::Kind::Busy);
    EXPECT_EQ(kindOf([&] { d.SaveWord("NEW"); }), DbError::Kind::Busy);
    other.exec("ROLLBACK");
    EXPECT_TRUE(d.WordExists("KEPT"));
    EXPECT_FALSE(d.WordExists("NEW"));
}

// A text over the engine's length limit is refused in the words the server
// uses for the same refusal.
TEST(Sqlite, ATextOverTheLengthLimitIsTooLongToStore) {
    TempDb db;
    store::Connection c(db.file());
    sqlite3_limit(c.handle(), SQLITE_LIMIT_LENGTH, 100);
    try {
        c.prepare("INSERT INTO T_Ord (Ord) VALUES (?1)").bind(1, std::string(101, 'A'));
        FAIL() << "a text over the limit was taken";
    } catch (const store::DbError& e) {
        EXPECT_EQ(e.kind(), store::DbError::Kind::TooLong);
        EXPECT_EQ(e.detail(), "the word is too long to store: this file keeps a text of at most 100 bytes");
    }
}
