// velmora-mkdb killed at random moments while it imports a thesaurus: the
// target is either absent or whole, and the next run cleans up after it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "store/sqlite.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

pid_t startMkdb(const std::string& target, const std::string& thesaurus) {
    const std::string tool = testing_support::binaryPath("velmora-mkdb");
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(tool.c_str(), tool.c_str(), target.c_str(), "--thesaurus", thesaurus.c_str(), nullptr);
        ::_exit(127);
    }
    return pid;
}

int count(store::Connection& c, const std::string& table) {
    auto st = c.prepare("SELECT count(*) FROM " + table);
    st.step();
    return int(st.integer(0));
}

}  // namespace

TEST(KilledImport, TargetIsAbsentOrWholeAndPartsAreCleanedUp) {
    testing_support::TempDb tmp;  // a folder of our own
    const std::string th = (tmp.dir() / "th.dat").string();
    {
        std::ofstream out(th);
        out << "UTF-8\n";
        for (int i = 0; i < 30000; ++i)
            out << "entry" << i << "|1\n(noun)|syn" << i << "a|syn" << i << "b|syn" << (i + 1) << "a\n";
    }
    const std::string target = (tmp.dir() / "new.mdb").string();

    // A whole run first, for the figures a finished file has.
    const pid_t whole = startMkdb(target, th);
    int st = 0;
    ::waitpid(whole, &st, 0);
    ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    int words, pairs;
    {
        store::Connection c(target);
        words = count(c, "T_Ord");
        pairs = count(c, "T_OrdSynonym");
    }
    ASSERT_GT(words, 90000);
    fs::remove(target);

    std::mt19937 rng(7);
    int absent = 0, finished = 0;
    constexpr int kRuns = 15;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = startMkdb(target, th);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 900));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &st, 0);
        if (!fs::exists(target)) {
            ++absent;
            continue;
        }
        ++finished;
        store::Connection c(target);
        auto check = c.prepare("PRAGMA integrity_check");
        ASSERT_TRUE(check.step());
        EXPECT_EQ(check.text(0), "ok") << "run " << run;
        EXPECT_EQ(count(c, "T_Ord"), words) << "run " << run;
        EXPECT_EQ(count(c, "T_OrdSynonym"), pairs) << "run " << run;
        fs::remove(target);
    }
    EXPECT_EQ(absent + finished, kRuns);
    EXPECT_GT(absent, 0) << "no run was killed half-way";

    // Killed runs leave ".part-PID" files; the next build removes them.
    const pid_t last = startMkdb(target, th);
    ::waitpid(last, &st, 0);
    ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    for (const auto& e : fs::directory_iterator(tmp.dir()))
        EXPECT_EQ(e.path().filename().string().find("new.mdb.part-"), std::string::npos) << e.path();
}
