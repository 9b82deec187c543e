// The main window's start: what it loads, the clock, the ways out, the
// simulator's two ways in, and word databases that stop the start. (An empty
// category table is the editing tests' start.)
#include <QAction>
#include <filesystem>

#include "fixture.h"
#include "simulator/F_Ruter.h"

using StartUp = MainWindowTest;

// (The categories loaded in the store's order are the category search test's.)
TEST_F(StartUp, MainWindowStartsWithTheSimulatorLoadedAndItsClockRunning) {
    // The word field focused, the simulator loaded and hidden, the clock on.
    EXPECT_TRUE(w().T_Ord.HasFocus() && M::Loaded(M::Win::F_Ruter) && !M::F_Ruter().Visible() && w().Klokke.Enabled());
    w().Klokke.Tick();
    EXPECT_TRUE(w().E_Klokke.Caption().contains(QString::number(QDate::currentDate().year() % 100)));
}

TEST_F(StartUp, ExitEndsTheProgram) {
    click(w().K_lukk);
    w().M_Exit->trigger();
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_F4, Qt::ControlModifier);
    w().close();  // the title bar's close
    EXPECT_EQ(quit.calls(), 4);
    EXPECT_EQ(quit.lastStatus(), 0);
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(StartUp, SimulatorOpensModalFromTheButtonAndModelessFromTheMenu) {
    bool wasModal = false;
    modal.then([&](ui::Form& f) {
        wasModal = f.IsModal() && &f == &M::F_Ruter();
        f.Hide();
    });
    click(w().K_Simuler);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(M::F_Ruter().Visible());
    // Ctrl+S from the word field.
    w().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(M::F_Ruter().Visible() && !M::F_Ruter().IsModal());
    EXPECT_EQ(modal.shown(), 1);
    EXPECT_EQ(w().T_Ord.Text(), "");  // the key went to the menu, not the field
}

namespace {

// Start-up that fails: the window is loaded by the test itself.
class BadStart : public WindowTest {
protected:
    testing_support::TempDb db;
    // Loads the main window, which must end the program (status 1) with one
    // message that says `says`.
    void startFails(const QString& says) {
        M::ResetAll();
        boxes.clear();
        const int before = quit.calls();
        M::Velmora();
        EXPECT_EQ((std::vector<int>{quit.calls() - before, quit.lastStatus(), int(boxes.calls().size())}),
                  std::vector<int>({1, 1, 1}));
        EXPECT_TRUE(boxes.lastPrompt().contains(says)) << boxes.lastPrompt().toStdString();
    }
};

}  // namespace

// Each is said in words, naming the file, and left as it is (a missing
// file is never created).
TEST_F(BadStart, MissingForeignJetFolderOrEmptyFilesStopStartUpWithAMessage) {
    namespace fs = std::filesystem;
    const std::pair<std::string, QString> cases[] = {
        {"-", "velmora.mdb (in " + QString::fromStdString(db.dir().string())},
        {"these are my notes, not a word database\n", "velmora.mdb"},
        {std::string("\0\1\0\0Standard Jet DB", 19) + std::string(2048, '\0'), "Jet"},
        {"", "the file is empty (0 bytes)"}};
    for (const auto& [bytes, says] : cases) {
        fs::remove("velmora.mdb");
        if (bytes != "-") testing_support::writeFile("velmora.mdb", bytes);
        startFails(says);
        EXPECT_EQ(fs::exists("velmora.mdb") ? fs::file_size("velmora.mdb") : 1u, bytes == "-" ? 1u : bytes.size());
    }
    fs::remove("velmora.mdb");
    fs::create_directory("velmora.mdb");
    startFails("this is a folder, not a word database");
}

// A word database cut short (a copy broken off half-way): start-up or the
// first lookup that reaches the missing part says so, naming the file, and
// the file is left as it is.
TEST_F(BadStart, ATruncatedFileIsReportedAndLeftAsItIs) {
    db.addWords("WORD", 0, 5000, std::string(40, 'X'));
    db.addCategory("ANIMAL");
    const auto size = std::filesystem::file_size("velmora.mdb") / 3;
    std::filesystem::resize_file("velmora.mdb", size);
    Velmora& v = M::Velmora();
    if (quit.calls() == 0) {
        v.T_Ord.setText("WORD4999" + QString(40, 'X'));
        v.T_Ord.setText("");
        M::SokModus = "?";
        v.T_Ord.setText("?");
    }
    ASSERT_EQ(quit.calls(), 1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb") && boxes.lastPrompt().contains("malformed"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), size);
}
