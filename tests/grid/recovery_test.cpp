// The recovery file: each Velmora keeps its own, which gives its grid back
// whole at the next start (an empty grid brings nothing back); a file that
// cannot be read is set aside as it was and the grid starts empty; a writer
// killed at any moment leaves a file that reads.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <random>

#include "evening.h"
#include "grid/ipuz.h"
#include "grid/recovery.h"

namespace {

using sim::recovery::Slot;

// What a later process finds in the folder.
Slot::Found next(const QString& folder) { return Slot(folder).Take(); }

TEST(Recovery, EachVelmoraKeepsItsOwnGridWholeForTheNextStart) {
    QTemporaryDir dir;
    QString first, path;
    {
        Slot a(dir.path()), b(dir.path());
        a.Take();
        b.Take();
        ASSERT_NE(a.path(), b.path());
        ASSERT_TRUE(a.Write(evening::Kept(), nullptr) && b.Write(sim::Grid{}, nullptr));
        first = a.path();
    }
    // What a holder killed while writing leaves behind goes.
    ASSERT_TRUE(QFile(first + ".Ab12Cd").open(QIODevice::WriteOnly));
    Slot a(dir.path());
    EXPECT_TRUE(a.Take().grid == evening::Kept() && a.path() == first && !QFile::exists(first + ".Ab12Cd"));
    // The other one kept an empty grid: nothing to bring back.
    EXPECT_FALSE(next(dir.path()).grid);

    ASSERT_TRUE(QFile(dir.filePath("a file")).open(QIODevice::WriteOnly));
    Slot none(dir.filePath("a file/velmora"));
    EXPECT_TRUE(none.Take().unkept.contains("cannot be made") && !none.held() && !none.Write(evening::Kept(), nullptr));
}

TEST(Recovery, AnUnreadableFileIsSetAsideAsItWasAndTheGridStartsEmpty) {
    QTemporaryDir dir;
    const QString file = dir.filePath("recovery.ipuz");
    const QByteArrayList contents{"", sim::ipuz::Write(evening::Kept()).left(500), "[]"};
    for (const QByteArray& bad : contents) {
        std::ofstream(file.toStdString()) << bad.toStdString();
        Slot s(dir.path());
        const Slot::Found found = s.Take();
        EXPECT_TRUE(!found.grid && s.path() == file && !QFile::exists(file));
        EXPECT_TRUE(found.setAside.contains("could not be read: ") && found.setAside.contains("set aside as"))
            << found.setAside.toStdString();
    }
    QByteArrayList kept;
    for (const QString& a : QDir(dir.path()).entryList({"recovery.ipuz.unreadable-*"}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(a));
        kept << (f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
    }
    EXPECT_EQ(kept, contents);
}

// A writer killed at random moments, over and over: what it wrote last
// reads back, never less than the last write it finished.
TEST(Recovery, AWriterKilledAtAnyMomentLeavesTheLastGridItFinishedOrALaterOne) {
    QTemporaryDir dir;
    std::mt19937 random(31);
    for (int round = 1; round <= 25; ++round) {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Slot s(dir.path());
            s.Take();
            sim::Grid g = evening::Kept();
            g[3].ord2 = QString::number(round);
            for (int i = 1;; ++i) {
                g[3].ord1 = QString::number(i);
                if (!s.Write(g, nullptr) || ::write(pipe[1], &i, sizeof i) != ssize_t(sizeof i)) ::_exit(1);
            }
        }
        ::close(pipe[1]);
        int done = 0, i = 0;
        // Killed once it has finished a write, a few milliseconds into the next ones.
        if (::read(pipe[0], &done, sizeof done) == ssize_t(sizeof done))
            ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        while (::read(pipe[0], &i, sizeof i) == ssize_t(sizeof i)) done = i;
        ::close(pipe[0]);
        ASSERT_GT(done, 0) << "the writer finished no write";
        const Slot::Found f = next(dir.path());
        ASSERT_TRUE(f.grid) << "round " << round << ": " << f.setAside.toStdString();
        EXPECT_TRUE((*f.grid)[3].ord2.toInt() == round && (*f.grid)[3].ord1.toInt() >= done)
            << round << ": " << (*f.grid)[3].ord1.toStdString() << " after " << done;
    }
}

}  // namespace
