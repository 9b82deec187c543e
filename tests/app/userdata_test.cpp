// The first start from the applications menu: the user's word database is
// built in their data folder by velmora-mkdb (here small stand-in scripts
// that log their arguments), once, and a failed build is reported and leaves
// nothing to open.
#include <QDir>
#include <QFile>
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
    // The stand-ins' calls, a line each.
    QString calls() const {
        QFile f(QString::fromStdString(log()));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
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
    EXPECT_EQ(calls(), QString::fromStdString(database() + " --installed\n"));
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(folder).canonicalFilePath());
    EXPECT_TRUE(boxes.calls().empty());

    // Later starts open it as it is.
    ASSERT_TRUE(app::openUserData(fakeMkdb("exit 1")));
    EXPECT_EQ(calls().count('\n'), 1);
}

// Each failure: a message naming the data folder and the cause, no word
// database, and false so that the program ends.
TEST_F(UserData, AFailedBuildOrAFolderThatCannotBeMadeIsReportedAndLeavesNoDatabase) {
    std::ofstream(tmp.dir() / "data") << "a file where the folder should be";
    EXPECT_FALSE(app::openUserData(fakeMkdb("echo built > \"$1\"")));
    EXPECT_EQ(calls(), "");
    EXPECT_EQ(boxes.prompts().size(), 1);
    EXPECT_TRUE(boxes.lastPrompt().contains(app::userDataFolder()) &&
                boxes.lastPrompt().contains("data is a file, not a folder"))
        << qPrintable(boxes.lastPrompt());
    fs::remove(tmp.dir() / "data");
    const std::pair<const char*, const char*> cases[] = {
        // The stand-in's script ("": no program at all), and the cause said.
        {"echo 'velmora-mkdb: No space left on device' >&2; exit 1", "No space left"},
        {"kill -9 $$", "ended with status"},
        {"exit 0", ""},  // success claimed, yet no file
        {"", "could not be started"}};
    for (const auto& [script, cause] : cases) {
        SCOPED_TRACE(script);
        boxes.clear();
        EXPECT_FALSE(
            app::openUserData(*script ? fakeMkdb(script) : QString::fromStdString((tmp.dir() / "none").string())));
        EXPECT_FALSE(fs::exists(database()));
        EXPECT_EQ(boxes.prompts().size(), 1);
        EXPECT_TRUE(boxes.lastPrompt().contains("could not be made in " + app::userDataFolder()) &&
                    boxes.lastPrompt().contains(cause))
            << qPrintable(boxes.lastPrompt());
    }
}

}  // namespace
