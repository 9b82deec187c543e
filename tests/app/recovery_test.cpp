// The grid kept through the real simulator window: a change reaches the
// recovery file while the program runs, with no exit to wait for, and the
// next start shows it again with a line that says so and nothing to undo;
// a damaged file is reported and the grid starts empty; a grid that cannot
// be kept is said once in the simulator, never with a box per change.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "grid/ipuz.h"
#include "gui.h"
#include "recovery.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"

namespace {

using testing_support::MsgBoxes;

class Recovery : public ::testing::Test {
protected:
    void TearDown() override { start(false); }
    // A new process: windows and grid as at start, then the keeping.
    void start(bool keep = true) {
        keeper.reset();
        M::ResetAll();
        testing_support::processEvents();
        if (keep) keeper = app::keepGrid(folder);
    }
    static QString line() { return M::F_Ruter().StatusLine(); }
    QString file() const { return folder + "/recovery.ipuz"; }

    QTemporaryDir dir;
    QString folder = dir.filePath("state/velmora");
    MsgBoxes boxes;
    std::unique_ptr<sim::recovery::Keeper> keeper;
};

TEST_F(Recovery, AChangeIsKeptWhileVelmoraRunsAndTheNextStartShowsItAndSaysSo) {
    start();
    M::F_Ruter().fyll_velmora1("LARGE", 5, 1, false);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto kept = sim::ipuz::ReadFile(file()).grid;
        return kept && (*kept)[6].caption == "E";
    }));

    start();
    EXPECT_EQ(M::F_Ruter().X(2).Caption() + M::F_Ruter().X(6).Caption(), "LE");
    EXPECT_TRUE(line().contains("The grid is back")) << line().toStdString();
    EXPECT_FALSE(M::Rutenett.Undo());
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Recovery, ADamagedFileIsReportedAndAGridThatCannotBeKeptIsSaidOnce) {
    QDir().mkpath(folder);
    testing_support::writeFile(file().toStdString(), "{\"version\":");
    start();
    EXPECT_TRUE(boxes.calls().size() == 1 && boxes.lastPrompt().contains("set aside as"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(M::Rutenett.squares(), sim::Grid{});

    int said = 0;
    keeper->say = [&, show = keeper->say](const QString& l) { ++said, show(l); };
    // The recovery file's place is taken by a folder, so no write can replace it.
    QDir().mkpath(file());
    for (const char* word : {"LARGE", "SMALL"}) {
        M::F_Ruter().fyll_velmora1(word, 5, 1, true);
        keeper->Keep();
    }
    EXPECT_TRUE(line().startsWith("This grid will not come back after a crash")) << line().toStdString();
    EXPECT_EQ(said, 1);
    EXPECT_EQ(boxes.calls().size(), 1u);
}

}  // namespace
