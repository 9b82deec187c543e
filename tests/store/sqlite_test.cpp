// The word database on SQLite: the statement wrapper's reads and moves, the
// busy paths between BEGIN and COMMIT on a file that a second connection
// reads or writes, and a save stopped half-way. (Files that are no word
// database are the start-up's tests.)
#include <sqlite3.h>

#include "store/wordstore.h"
#include "support.h"

using store::Connection;
using store::DbError;
using testing_support::TempDb;

namespace {

DbError::Kind kindOf(const std::function<void()>& f) { return testing_support::thrown(f).kind; }

class Busy : public ::testing::Test {
protected:
    void SetUp() override { store::setBusyTimeout(50); }
    void TearDown() override { store::setBusyTimeout(5000); }
    TempDb db;
};

}  // namespace

TEST(Sqlite, ColumnsAreReadOnlyOnARowByExistingIndexOrNameAndStatementsSurviveMoves) {
    Connection c(":memory:", Connection::Mode::Create);
    c.exec("CREATE TABLE t (a TEXT, b INTEGER)");
    store::Stmt ins = c.prepare("INSERT INTO t VALUES (?1, ?2)");
    ins.bind(1, "x").bind(2, int64_t(1)).run();
    ins.reset();
    ins.bindNull(1).bind(2, int64_t(2)).run();
    Connection moved = std::move(c);
    store::Stmt st = moved.prepare("SELECT b FROM t");
    st = moved.prepare("SELECT a, b FROM t ORDER BY b");  // move assignment finalizes the first
    EXPECT_THROW(st.text(0), DbError);                    // before the first step
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text("a"), "x");
    EXPECT_EQ(st.integer(st.columnIndex("b")), 1);
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
    EXPECT_THROW(moved.prepare("SELECT nothing FROM t"), DbError);
}

// A reader's lock refuses a commit; a writer's makes reads busy too, and a
// busy read is no empty answer. Nothing is written either way.
TEST_F(Busy, ReadersAndWritersOfAnotherConnectionMakeOperationsBusyAndWriteNothing) {
    db.addWord("KEPT");
    auto d = store::Database(db.file());
    {
        Connection reader(db.file());
        reader.exec("BEGIN");
        store::Stmt reading = reader.prepare("SELECT Ord FROM T_Ord");
        reading.step();
        EXPECT_EQ(kindOf([&] { d.SaveWord("LOST"); }), DbError::Kind::Busy);
        EXPECT_EQ(kindOf([&] { d.SaveSynonymPair("A", "B"); }), DbError::Kind::Busy);
        Connection c(db.file());
        store::Transaction t(c);  // BEGIN goes through beside a reader
        c.exec("INSERT INTO T_Ord (Ord) VALUES ('HALF')");
        EXPECT_EQ(kindOf([&] { t.commit(); }), DbError::Kind::Busy);
    }
    Connection other(db.file());
    other.exec("BEGIN EXCLUSIVE");
    EXPECT_EQ(kindOf([&] { d.WordExists("KEPT"); }), DbError::Kind::Busy);
    EXPECT_EQ(kindOf([&] { d.PatternLookup("K"); }), DbError::Kind::Busy);
    const auto e = testing_support::thrown([&] { d.SaveWord("NEW"); });
    EXPECT_EQ(e.kind, DbError::Kind::Busy);
    EXPECT_NE(e.what.find("velmora.mdb"), std::string::npos) << e.what;
    EXPECT_NE(e.what.find("locked"), std::string::npos) << e.what;
    other.exec("ROLLBACK");
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord"), testing_support::Rows({{"KEPT"}}));
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    // Once the others are gone the same save goes through.
    EXPECT_TRUE(d.SaveWord("LOST"));
}

// A save stopped half-way leaves nothing of it, and the connection free.
TEST(Sqlite, ASaveStoppedHalfWayLeavesNothingOfIt) {
    TempDb db;
    db.exec("CREATE TRIGGER no_pairs BEFORE INSERT ON T_OrdSynonym BEGIN SELECT RAISE(ABORT, 'refused'); END");
    auto d = store::Database(db.file());
    EXPECT_THROW(d.SaveSynonymPair("NEW", "PAIR"), DbError);
    EXPECT_EQ(db.count("T_Ord"), 0);  // not even the words the save wrote first
    EXPECT_TRUE(d.SaveWord("NEXT"));
}

// A text over the engine's length limit is refused in the words the server
// uses for the same refusal.
TEST(Sqlite, ATextOverTheLengthLimitIsTooLongToStore) {
    TempDb db;
    store::Connection c(db.file());
    sqlite3_limit(c.handle(), SQLITE_LIMIT_LENGTH, 100);
    const auto e = testing_support::thrown(
        [&] { c.prepare("INSERT INTO T_Ord (Ord) VALUES (?1)").bind(1, std::string(101, 'A')); });
    EXPECT_EQ(e.kind, DbError::Kind::TooLong);
    EXPECT_NE(e.what.find(": the word is too long to store: this file keeps a text of at most 100 bytes"),
              std::string::npos)
        << e.what;
}
