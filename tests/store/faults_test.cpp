// Faults the word store must survive with nothing lost: processes killed in
// the middle of a save, a full disk, a file or folder that refuses writes.
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "store/wordstore.h"
#include "support.h"

using testing_support::numbered;
using testing_support::TempDb;

namespace {

// The file's soundness, its half-written pairs and its rows, as one text.
std::string health(TempDb& db, const std::string& rows) {
    return db.rows("PRAGMA integrity_check")[0][0] + ", " +
           std::to_string(db.rows(testing_support::kHalfPairs).size()) + " half pairs, " +
           db.rows("SELECT count(*) FROM " + rows)[0][0] + " rows";
}

}  // namespace

// A process killed at a random moment while it saves and erases synonym
// pairs: the file is sound afterwards, every pair is whole or absent, and
// every row that was there before is still there.
TEST(Faults, KilledInTheMiddleOfSavesLeavesWholeSavesOnly) {
    TempDb db;
    db.addWords("OLD", 0, 50);
    db.open().SaveSynonymPair("OLD1", "OLD2");
    std::mt19937 rng(20261207);
    for (int run = 0; run < 40; ++run) {
        const pid_t child = testing_support::spawn([&db, run] {
            const std::string r = numbered("R", run);
            for (int k = 0;; ++k) {
                db.open().SaveSynonymPair(r + numbered("K", k), numbered("HUB", k % 7));
                if (k % 5 == 4) db.open().EraseSynonymPair(r + numbered("K", k - 2), numbered("HUB", (k - 2) % 7));
            }
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 40000));
        ::kill(child, SIGKILL);
        ASSERT_EQ(testing_support::waitFor(child), 100 + SIGKILL) << "run " << run;
        ASSERT_EQ(health(db, "T_Ord WHERE Ord LIKE 'OLD%'"), "ok, 0 half pairs, 50 rows") << "run " << run;
        ASSERT_TRUE(db.open().FindSynonymRow("OLD1", "OLD2").has_value());
    }
    EXPECT_GT(db.count("T_OrdSynonym"), 2);  // the children did get saves in
}

// A disk that fills up (acted out by a page limit): the save is refused with
// a Full error, and every row is as it was.
TEST(Faults, AFullDiskRefusesTheSaveAndKeepsEveryRow) {
    TempDb db;
    db.addWords("WORD", 0, 200);
    const auto before = db.rows("SELECT rowid, * FROM T_Ord ORDER BY rowid");
    store::setPageLimit(std::stoi(db.rows("PRAGMA page_count")[0][0]));
    const auto e = testing_support::thrown([&] { db.open().SaveSynonymPair("WORD1", std::string(200000, 'Z')); });
    store::setPageLimit(0);
    EXPECT_EQ(e.kind, store::DbError::Kind::Full) << e.what;
    EXPECT_NE(e.what.find("velmora.mdb"), std::string::npos);
    EXPECT_EQ(db.rows("SELECT rowid, * FROM T_Ord ORDER BY rowid"), before);
    EXPECT_EQ(health(db, "T_OrdSynonym"), "ok, 0 half pairs, 0 rows");
    EXPECT_TRUE(db.open().SaveSynonymPair("WORD1", "ROOM"));  // room again: it works
}

// A file, or a folder, that refuses writes. Root writes anyway, so the check
// runs in a child that has given up root.
TEST(Faults, ReadOnlyFileOrFolderRefusesWritesAndKeepsRows) {
    TempDb db;
    db.open().SaveSynonymPair("KEEP", "HOLD");
    auto refusesWrites = [&](bool knownFirst) {
        return testing_support::waitFor(testing_support::spawn([&db, knownFirst] {
            if (::geteuid() == 0) {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) return 20;
            }
            auto d = db.open();
            if (!d.WordExists("KEEP")) return 21;  // reading still works
            // A file opened for reading only says so before any question.
            if (knownFirst && testing_support::thrown([&] { d.CheckWritable(); }).what == "no error") return 25;
            if (testing_support::thrown([&] { d.SaveWord("NEW"); }).what.find("velmora.mdb") == std::string::npos)
                return 22;
            if (testing_support::thrown([&] { d.EraseSynonymPair("KEEP", "HOLD"); }).what == "no error") return 24;
            return 0;
        }));
    };
    ::chmod(db.dir().c_str(), 0755);
    ::chmod(db.file().c_str(), 0444);
    EXPECT_EQ(refusesWrites(true), 0) << "read-only file";
    ::chmod(db.file().c_str(), 0666);
    ::chmod(db.dir().c_str(), 0555);  // the journal cannot be made
    EXPECT_EQ(refusesWrites(false), 0) << "read-only folder";
    ::chmod(db.dir().c_str(), 0755);
    ::chmod(db.file().c_str(), 0644);
    EXPECT_EQ(db.count("T_Ord") + db.count("T_OrdSynonym"), 4);
}
