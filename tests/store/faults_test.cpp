// Faults the word store must survive with nothing lost: processes killed in
// the middle of a save, a full disk, a file or folder that refuses writes.
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "store/wordstore.h"
#include "support.h"

using testing_support::TempDb;

namespace {

store::Database open() { return store::Database(store::kDatabaseFile); }

// Runs `body` in a child process; its return value is the exit status.
// The child never returns into the test program.
pid_t spawn(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 3;
        try {
            status = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child %d: %s\n", int(::getpid()), e.what());  // says why in the test's log
            status = 4;
        } catch (...) {
            status = 4;
        }
        ::_exit(status);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int st = 0;
    ::waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 100 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
}

std::string integrity(TempDb& db) { return db.rows("PRAGMA integrity_check")[0][0]; }

}  // namespace

// A process killed at a random moment while it saves synonym pairs: the file
// is sound afterwards, every pair is whole or absent, and every row that was
// there before is still there.
TEST(Faults, KilledInTheMiddleOfSavesLeavesWholeSavesOnly) {
    TempDb db;
    for (int i = 0; i < 50; ++i) db.addWord("OLD" + std::to_string(i));
    db.synonym("OLD1", "OLD2");
    db.synonym("OLD2", "OLD1");
    std::mt19937 rng(20261207);
    constexpr int kRuns = 40;
    int killedMidWay = 0;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t child = spawn([run] {
            for (int k = 0;; ++k) {
                const std::string w = "R" + std::to_string(run) + "K" + std::to_string(k);
                open().SaveSynonymPair(w, "HUB" + std::to_string(k % 7));
                if (k % 5 == 4) {
                    auto d = open();
                    const std::string e = "R" + std::to_string(run) + "K" + std::to_string(k - 2);
                    const std::string hub = "HUB" + std::to_string((k - 2) % 7);
                    d.EraseSynonymPair(e, hub);
                }
            }
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 40000));
        ::kill(child, SIGKILL);
        if (waitFor(child) == 100 + SIGKILL) ++killedMidWay;

        ASSERT_EQ(integrity(db), "ok") << "run " << run;
        // Every pair is there both ways or not at all.
        const auto halves = db.rows(
            "SELECT a.Ord, a.Synonym FROM T_OrdSynonym a WHERE NOT EXISTS "
            "(SELECT 1 FROM T_OrdSynonym b WHERE b.Ord = a.Synonym AND b.Synonym = a.Ord)");
        ASSERT_TRUE(halves.empty()) << "run " << run << ": half a pair, " << halves[0][0] << "/" << halves[0][1];
        for (int i = 0; i < 50; ++i) ASSERT_TRUE(open().WordExists("OLD" + std::to_string(i))) << "run " << run;
        ASSERT_TRUE(open().FindSynonymRow("OLD1", "OLD2").has_value());
    }
    EXPECT_EQ(killedMidWay, kRuns);
    EXPECT_GT(db.count("T_OrdSynonym"), 2);  // the children did get saves in
}

// A disk that fills up (acted out by a page limit): the save is refused with
// a Full error, and every row is as it was.
TEST(Faults, AFullDiskRefusesTheSaveAndKeepsEveryRow) {
    TempDb db;
    for (int i = 0; i < 200; ++i) db.addWord("WORD" + std::to_string(i));
    const int pages = std::stoi(db.rows("PRAGMA page_count")[0][0]);
    const auto before = db.rows("SELECT rowid, * FROM T_Ord ORDER BY rowid");
    store::setPageLimit(pages);
    try {
        open().SaveSynonymPair("WORD1", std::string(200000, 'Z'));
        ADD_FAILURE() << "a save grew a full file";
    } catch (const store::DbError& e) {
        EXPECT_EQ(e.kind(), store::DbError::Kind::Full) << e.what();
        EXPECT_NE(std::string(e.what()).find("velmora.mdb"), std::string::npos);
    }
    store::setPageLimit(0);
    EXPECT_EQ(db.rows("SELECT rowid, * FROM T_Ord ORDER BY rowid"), before);
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    EXPECT_EQ(integrity(db), "ok");
    EXPECT_TRUE(open().SaveSynonymPair("WORD1", "ROOM"));  // room again: it works
}

// A file, or a folder, that refuses writes. Root writes anyway, so the check
// runs in a child that has given up root.
TEST(Faults, ReadOnlyFileOrFolderRefusesWritesAndKeepsRows) {
    TempDb db;
    db.addWord("KEEP");
    db.synonym("KEEP", "HOLD");
    db.synonym("HOLD", "KEEP");
    auto refusesWrites = [&](bool knownFirst) {
        const pid_t child = spawn([knownFirst] {
            if (::geteuid() == 0) {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) return 20;
            }
            auto d = open();
            if (!d.WordExists("KEEP")) return 21;  // reading still works
            try {
                d.CheckWritable();  // a file opened for reading only says so before any question
                if (knownFirst) return 25;
            } catch (const store::DbError&) {}
            try {
                d.SaveWord("NEW");
                return 22;
            } catch (const store::DbError& e) {
                if (std::string(e.what()).find("velmora.mdb") == std::string::npos) return 23;
            }
            try {
                d.EraseSynonymPair("KEEP", "HOLD");
                return 24;
            } catch (const store::DbError&) {}
            return 0;
        });
        return waitFor(child);
    };
    ::chmod(db.dir().c_str(), 0755);
    ::chmod(db.file().c_str(), 0444);
    EXPECT_EQ(refusesWrites(true), 0) << "read-only file";
    ::chmod(db.file().c_str(), 0666);
    ::chmod(db.dir().c_str(), 0555);  // the journal cannot be made
    EXPECT_EQ(refusesWrites(false), 0) << "read-only folder";
    ::chmod(db.dir().c_str(), 0755);
    ::chmod(db.file().c_str(), 0644);
    EXPECT_EQ(db.count("T_Ord"), 1);
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
}
