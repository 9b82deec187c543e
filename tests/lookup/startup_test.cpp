// The main window's start: its state and what it loads, the clock, the ways
// out, the simulator's two ways in, and word databases that stop the start.
#include <QAction>
#include <filesystem>
#include <fstream>

#include "fixture.h"
#include "simulator/F_Ruter.h"

namespace {

class StartUp : public MainWindowTest {
protected:
    void fill() override {
        for (auto k : {"WEATHER", "ANIMALS", "FOOD", "ANIMALS2"}) db.addCategory(k);
    }
};

}  // namespace

TEST_F(StartUp, MainWindowStartsEmptyWithTheCategoriesInTheStoresOrder) {
    Velmora& v = w();
    EXPECT_EQ(items(v.C_Kategori), QStringList({"WEATHER", "ANIMALS", "FOOD", "ANIMALS2"}));
    EXPECT_EQ(v.C_Kategori.Text(), "");  // nothing picked
    EXPECT_EQ(v.L_Synonymer.ListCount() + v.L_Verdier.ListCount() + v.L_Kategorier.ListCount(), 0);
    EXPECT_TRUE(v.C_SorterS.Value() && v.C_SorterV.Value());
    EXPECT_FALSE(v.C_Lookup.Value() || v.C_Empty.Value());
    EXPECT_TRUE(v.T_Ord.HasFocus());
    // The simulator is loaded, hidden.
    ASSERT_TRUE(M::Loaded(M::Win::F_Ruter));
    EXPECT_FALSE(M::F_Ruter().Visible());
}

TEST_F(StartUp, ClockShowsClockThenTheTime) {
    EXPECT_EQ(w().E_Klokke.Caption(), "Clock");
    EXPECT_TRUE(w().Klokke.Enabled());
    w().Klokke.Tick();
    EXPECT_TRUE(w().E_Klokke.Caption().contains(QString::number(QDate::currentDate().year() % 100)));
}

TEST_F(StartUp, ExitEndsTheProgram) {
    click(w().K_lukk);
    EXPECT_EQ(quit.lastStatus(), 0);
    w().M_Exit->trigger();
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_F4, Qt::ControlModifier);
    w().close();  // the title bar's close
    EXPECT_EQ(quit.calls(), 4);
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
    EXPECT_TRUE(M::F_Ruter().Visible());
    EXPECT_FALSE(M::F_Ruter().IsModal());
    EXPECT_EQ(modal.shown(), 1);
    EXPECT_EQ(w().T_Ord.Text(), "");  // the key went to the menu, not the field
}

namespace {

// Start-up that fails: the window is loaded by the test itself.
class BadStart : public WindowTest {
protected:
    testing_support::TempDb db;
    // Loads the main window; returns its one message.
    QString startFails() {
        M::ResetAll();
        boxes.clear();
        const int before = quit.calls();
        M::Velmora();
        EXPECT_EQ(quit.calls(), before + 1);
        EXPECT_EQ(quit.lastStatus(), 1);
        EXPECT_EQ(boxes.calls().size(), 1u);
        return boxes.lastPrompt();
    }
};

}  // namespace

// Each is said in words, naming the file, and left as it is.
TEST_F(BadStart, MissingForeignJetFolderOrEmptyFilesStopStartUpWithAMessage) {
    std::filesystem::remove("velmora.mdb");
    QString said = startFails();
    EXPECT_TRUE(said.contains("velmora.mdb (in " + QString::fromStdString(db.dir().string()))) << said.toStdString();
    EXPECT_FALSE(std::filesystem::exists("velmora.mdb"));  // never created

    const std::string notes = "these are my notes, not a word database\n";
    testing_support::writeFile("velmora.mdb", notes);
    EXPECT_TRUE(startFails().contains("velmora.mdb"));
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), notes.size());

    testing_support::writeFile("velmora.mdb", std::string("\0\1\0\0Standard Jet DB", 19) + std::string(2048, '\0'));
    said = startFails();
    EXPECT_TRUE(said.contains("Jet") && said.contains("velmora-mkdb")) << said.toStdString();

    testing_support::writeFile("velmora.mdb", "");
    EXPECT_TRUE(startFails().contains("the file is empty (0 bytes)"));
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), 0u);

    std::filesystem::remove("velmora.mdb");
    std::filesystem::create_directory("velmora.mdb");
    EXPECT_TRUE(startFails().contains("this is a folder, not a word database"));
}

TEST_F(BadStart, EmptyCategoryTableStartsNormally) {
    M::Velmora();
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(quit.calls(), 0);
    EXPECT_EQ(M::Velmora().C_Kategori.ListCount(), 0);
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
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb")) << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains("malformed")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), size);
}
