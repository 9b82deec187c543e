// The first start from the applications menu: the user's word database is
// built in their data folder by velmora-mkdb (here small stand-in scripts
// that log their arguments), once, and a failed build is reported and leaves
// nothing to open.
#include <QDir>
#include <QFileInfo>
#include <fstream>

#include "gui.h"
#include "userdata.h"

namespace {

namespace fs = std::filesystem;
using testing_support::MsgBoxes;
using testing_support::TempDb;

class UserData : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((tmp.dir() / "data").string()));
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", old_); }

    // A stand-in velmora-mkdb running `body` after logging its arguments.
    QString fakeMkdb(const std::string& body) {
        const fs::path p = tmp.dir() / "mkdb.sh";
        std::ofstream(p) << "#!/bin/sh\necho \"$*\" >> " << log() << "\n" << body << "\n";
        fs::permissions(p, fs::perms::owner_all);
        return QString::fromStdString(p.string());
    }
    std::string log() const { return (tmp.dir() / "calls.log").string(); }
    std::vector<std::string> calls() const {
        std::vector<std::string> out;
        std::ifstream in(log());
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }
    std::string database() const { return (tmp.dir() / "data/velmora/velmora.mdb").string(); }

    TempDb tmp;
    MsgBoxes boxes;
    QByteArray old_;
};

TEST_F(UserData, FirstStartBuildsTheDatabaseInTheDataFolderAndWorksThere) {
    const QString folder = QString::fromStdString((tmp.dir() / "data/velmora").string());
    ASSERT_EQ(app::userDataFolder(), folder);
    ASSERT_TRUE(app::openUserData(fakeMkdb("echo built > \"$1\"")));
    EXPECT_EQ(calls(), std::vector<std::string>{database() + " --installed"});
    EXPECT_TRUE(fs::exists(database()));
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(folder).canonicalFilePath());
    EXPECT_TRUE(boxes.calls().empty());

    // Later starts open it as it is.
    ASSERT_TRUE(app::openUserData(fakeMkdb("exit 1")));
    EXPECT_EQ(calls().size(), 1u);
}

// Each failure: a message naming the data folder and the cause, no word
// database, and false so that the program ends.
TEST_F(UserData, AFailedBuildIsReportedAndLeavesNoDatabase) {
    struct Case {
        const char* script;  // empty: no program at all
        const char* cause;
    };
    for (const Case& c : {Case{"echo 'velmora-mkdb: No space left on device' >&2; exit 1", "No space left"},
                          Case{"kill -9 $$", "ended with status"}, Case{"exit 0", ""},  // success claimed, yet no file
                          Case{"", "could not be started"}}) {
        SCOPED_TRACE(c.script);
        boxes.clear();
        const QString mkdb = *c.script ? fakeMkdb(c.script) : QString::fromStdString((tmp.dir() / "none").string());
        EXPECT_FALSE(app::openUserData(mkdb));
        EXPECT_FALSE(fs::exists(database()));
        ASSERT_EQ(boxes.calls().size(), 1u);
        EXPECT_TRUE(boxes.lastPrompt().contains("could not be made in " + app::userDataFolder()))
            << qPrintable(boxes.lastPrompt());
        EXPECT_TRUE(boxes.lastPrompt().contains(c.cause)) << qPrintable(boxes.lastPrompt());
    }
}

TEST_F(UserData, ADataFolderThatCannotBeMadeIsReported) {
    std::ofstream(tmp.dir() / "data") << "a file where the folder should be";
    EXPECT_FALSE(app::openUserData(fakeMkdb("echo built > \"$1\"")));
    EXPECT_TRUE(calls().empty());
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains(app::userDataFolder()));
    EXPECT_TRUE(boxes.lastPrompt().contains("data is a file, not a folder")) << qPrintable(boxes.lastPrompt());
}

}  // namespace
