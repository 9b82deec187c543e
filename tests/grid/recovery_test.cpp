// The recovery file: a grid kept comes back whole in the next process, an
// empty one brings nothing back, a file that cannot be read is set aside
// (never lost) and the grid starts empty, two Velmoras at once keep a file
// each, and a writer killed at any moment leaves a file that reads.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "evening.h"
#include "grid/ipuz.h"
#include "grid/recovery.h"

namespace {

using sim::recovery::Slot;

// The evening's grid with a pick, a frame, and a block carrying another
// program's cell data.
sim::Grid rich() {
    sim::Document d;
    evening::Compose(d);
    d.setPicked(34, true, true);
    sim::Square s = d.at(20);
    s.flagged = true;
    d.setSquare(20, s);
    s = {};
    s.back = sim::kBlockColour;
    s.block = true;
    s.theirs = {{"style", QJsonObject{{"shapebg", "circle"}}}};
    d.setSquare(200, s);
    return d.squares();
}

// What a later process finds in the folder.
Slot::Found next(const QString& folder, QString* path = nullptr) {
    Slot s(folder);
    Slot::Found f = s.Take();
    if (path) *path = s.path();
    return f;
}

TEST(Recovery, AKeptGridComesBackWholeAndAnEmptyOneBringsNothing) {
    for (const sim::Grid& g : {rich(), sim::Grid{}}) {
        QTemporaryDir dir;
        {
            Slot s(dir.path());
            ASSERT_TRUE(s.Take().unkept.isEmpty());
            ASSERT_TRUE(s.Write(g, nullptr));
        }
        // What a holder killed while writing leaves behind goes.
        ASSERT_TRUE(QFile(dir.filePath("recovery.ipuz.Ab12Cd")).open(QIODevice::WriteOnly));
        const Slot::Found f = next(dir.path());
        EXPECT_FALSE(QFile::exists(dir.filePath("recovery.ipuz.Ab12Cd")));
        EXPECT_TRUE(f.grid == (g == sim::Grid{} ? std::nullopt : std::optional(g)));
    }
}

TEST(Recovery, AnUnreadableFileIsSetAsideAndTheGridStartsEmpty) {
    QTemporaryDir dir;
    const QString file = dir.filePath("recovery.ipuz");
    const QByteArray contents[] = {"", sim::ipuz::Write(rich()).left(500), "[]"};
    for (const QByteArray& bad : contents) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bad) == bad.size());
        f.close();
        QString path;
        const Slot::Found found = next(dir.path(), &path);
        EXPECT_FALSE(found.grid);
        EXPECT_EQ(path, file);
        EXPECT_TRUE(found.setAside.contains("could not be read") && found.setAside.contains("set aside as"))
            << found.setAside.toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
    // Each one kept beside the others, as it was.
    const QStringList aside = QDir(dir.path()).entryList({"recovery.ipuz.unreadable-*"}, QDir::Files, QDir::Name);
    ASSERT_EQ(aside.size(), 3);
    QByteArrayList kept;
    for (const QString& a : aside) {
        QFile f(dir.filePath(a));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        kept << f.readAll();
    }
    EXPECT_EQ(kept, QByteArrayList(std::begin(contents), std::end(contents)));
}

TEST(Recovery, TwoVelmorasAtOnceKeepAFileEachAndAFolderThatCannotBeMadeKeepsNone) {
    QTemporaryDir dir;
    sim::Grid second = rich();
    second[5].caption = "Q";
    QString firstPath, secondPath;
    {
        Slot a(dir.path()), b(dir.path());
        a.Take();
        b.Take();
        ASSERT_NE(a.path(), b.path());
        ASSERT_TRUE(a.Write(rich(), nullptr) && b.Write(second, nullptr));
        firstPath = a.path();
        secondPath = b.path();
    }
    QString path;
    EXPECT_TRUE(next(dir.path(), &path).grid == rich());
    EXPECT_EQ(path, firstPath);
    EXPECT_TRUE(sim::ipuz::ReadFile(secondPath).grid == second);

    ASSERT_TRUE(QFile(dir.filePath("a file")).open(QIODevice::WriteOnly));
    Slot none(dir.filePath("a file/velmora"));
    EXPECT_TRUE(none.Take().unkept.contains("cannot be made"));
    EXPECT_FALSE(none.held() || none.Write(rich(), nullptr));
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
            sim::Grid g = rich();
            g[3].ord2 = QString::number(round);
            for (int i = 1;; ++i) {
                g[3].ord1 = QString::number(i);
                if (!s.Write(g, nullptr) || ::write(pipe[1], &i, sizeof i) != ssize_t(sizeof i)) ::_exit(1);
            }
        }
        ::close(pipe[1]);
        int done = 0, i = 0;
        ASSERT_EQ(::read(pipe[0], &done, sizeof done), ssize_t(sizeof done));
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        while (::read(pipe[0], &i, sizeof i) == ssize_t(sizeof i)) done = i;
        ::close(pipe[0]);
        const Slot::Found f = next(dir.path());
        ASSERT_TRUE(f.grid) << "round " << round << ": " << f.setAside.toStdString();
        EXPECT_EQ((*f.grid)[3].ord2.toInt(), round);
        EXPECT_GE((*f.grid)[3].ord1.toInt(), done);
    }
}

}  // namespace
