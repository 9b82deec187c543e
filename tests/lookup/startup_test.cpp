#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

TEST_F(StartUp, MainWindowStartsInItsFixedState) {
    Velmora& v = w();
    EXPECT_EQ(v.Caption(), "Velmora 1.65  (05.2006)");
    EXPECT_EQ(v.client()->size(), QSize(613, 365));
    // The category box in the store's order, not sorted, nothing picked.
    ASSERT_EQ(v.C_Kategori.ListCount(), 4);
    EXPECT_EQ(v.C_Kategori.List(0), "WEATHER");
    EXPECT_EQ(v.C_Kategori.List(3), "ANIMALS2");
    EXPECT_EQ(v.C_Kategori.Text(), "");
    EXPECT_EQ(v.L_Synonymer.ListCount() + v.L_Verdier.ListCount() + v.L_Kategorier.ListCount(), 0);
    EXPECT_TRUE(v.C_SorterS.Value());
    EXPECT_TRUE(v.C_SorterV.Value());
    EXPECT_FALSE(v.C_Lookup.Value());
    EXPECT_FALSE(v.C_Empty.Value());
    EXPECT_EQ(M::SokModus, "");
    EXPECT_TRUE(v.T_Ord.HasFocus());
    EXPECT_EQ(v.E_info.Caption(), Velmora::kHint);
    // Menus with their entries and shortcuts.
    auto menus = v.menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), " &File ");
    EXPECT_EQ(menus[1]->text(), "&Window");
    EXPECT_EQ(menus[2]->text(), "&Help");
    EXPECT_EQ(v.M_Exit->text(), "&Exit Velmora");
    EXPECT_EQ(v.M_Exit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
    EXPECT_EQ(v.M_Simuler->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(v.M_Intro->text(), "&Intro Window");
    EXPECT_EQ(v.M_Om->text(), "&About Velmora...");
    EXPECT_EQ(v.M_Om->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
}

TEST_F(StartUp, GridStartsEmptyWithTheSimulatorLoadedHidden) {
    ASSERT_TRUE(M::Loaded(M::Win::F_Ruter));
    F_Ruter& r = M::F_Ruter();
    EXPECT_FALSE(r.Visible());
    const sim::Document& doc = M::Rutenett;
    EXPECT_EQ(doc.AktivRute, 999);
    EXPECT_EQ(doc.ValgtRute, 1);
    for (int n = 1; n <= 225; ++n) {
        ASSERT_EQ(r.X(n).Caption(), "") << n;
        ASSERT_EQ(r.X(n).FontName(), "MS Sans Serif") << n;
        ASSERT_DOUBLE_EQ(r.X(n).FontSize(), 10) << n;
        ASSERT_EQ(doc.RuteRetning1(n), 2);
        ASSERT_EQ(doc.RuteRetning2(n), 8);
        ASSERT_EQ(doc.RuteLengde1(n) + doc.RuteLengde2(n), 0);
        ASSERT_TRUE(doc.RuteOrd1(n).isEmpty() && doc.RuteOrd2(n).isEmpty());
    }
}

TEST_F(StartUp, ClockShowsClockThenTheTime) {
    EXPECT_EQ(w().E_Klokke.Caption(), "Clock");
    EXPECT_EQ(w().Klokke.Interval(), 980);
    EXPECT_TRUE(w().Klokke.Enabled());
    w().Klokke.setInterval(20);
    QTest::qWait(100);
    const QString shown = w().E_Klokke.Caption();
    EXPECT_NE(shown, "Clock");
    EXPECT_TRUE(shown.contains(QString::number(QDate::currentDate().year() % 100)));
}

TEST_F(StartUp, ExitEndsTheProgram) {
    click(w().K_lukk);
    EXPECT_EQ(quit.calls(), 1);
    EXPECT_EQ(quit.lastStatus(), 0);
    w().M_Exit->trigger();
    EXPECT_EQ(quit.calls(), 2);
    // Ctrl+F4 from the word field, and the title bar's close.
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(quit.calls(), 3);
    w().close();
    EXPECT_EQ(quit.calls(), 4);
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(StartUp, SimulatorOpensModalFromTheButtonAndModelessFromTheMenu) {
    bool wasModal = false;
    modal.then([&](ui::Form& f) {
        wasModal = f.IsModal() && f.Caption() == "Velmora Simulator 1.1 Beta";
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
class BadStart : public ::testing::Test {
protected:
    testing_support::TempDb db;
    testing_support::MsgBoxes boxes;
    testing_support::QuitCatcher quit;
    void TearDown() override {
        M::ResetAll();
        testing_support::processEvents();
    }
};

}  // namespace

TEST_F(BadStart, MissingUnreadableOrForeignFilesStopStartUpWithAMessage) {
    const std::string folder = std::filesystem::current_path().string();
    std::filesystem::remove("velmora.mdb");
    M::Velmora();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb"));
    EXPECT_TRUE(boxes.lastPrompt().contains(QString::fromStdString(folder)));
    EXPECT_EQ(quit.lastStatus(), 1);
    EXPECT_FALSE(std::filesystem::exists("velmora.mdb"));  // never created
    M::ResetAll();

    {
        std::ofstream junk("velmora.mdb", std::ios::binary);
        junk << "these are my notes, not a word database\n";
    }
    boxes.clear();
    M::Velmora();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb"));
    EXPECT_EQ(quit.calls(), 2);
    std::ifstream back("velmora.mdb");
    std::string first;
    std::getline(back, first);
    EXPECT_EQ(first, "these are my notes, not a word database");  // left as it was
    M::ResetAll();

    {
        std::ofstream jet("velmora.mdb", std::ios::binary | std::ios::trunc);
        jet << std::string("\x00\x01\x00\x00", 4) << "Standard Jet DB" << std::string(2048, '\0');
    }
    boxes.clear();
    M::Velmora();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("Jet")) << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora-mkdb"));
}

// A folder or an empty file where the word database should be: said in
// words, not as the engine's "unable to open" or "no such table".
TEST_F(BadStart, AFolderOrAnEmptyFileIsNamedForWhatItIs) {
    std::filesystem::remove("velmora.mdb");
    std::filesystem::create_directory("velmora.mdb");
    M::Velmora();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb (in ")) << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains("this is a folder, not a word database"));
    EXPECT_EQ(quit.lastStatus(), 1);
    M::ResetAll();

    std::filesystem::remove("velmora.mdb");
    std::ofstream("velmora.mdb").close();
    boxes.clear();
    M::Velmora();
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("the file is empty (0 bytes)")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), 0u);  // left as it was
    EXPECT_EQ(quit.calls(), 2);
}

TEST_F(BadStart, EmptyCategoryTableStartsNormally) {
    Velmora& v = M::Velmora();
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(quit.calls(), 0);
    EXPECT_EQ(v.C_Kategori.ListCount(), 0);
}

// A word database cut short (a copy broken off half-way): start-up or the
// first lookup that reaches the missing part says so, naming the file, and
// the file is left as it is.
TEST_F(BadStart, ATruncatedFileIsReportedAndLeftAsItIs) {
    db.exec(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 4999) "
        "INSERT INTO T_Ord(Ord) SELECT 'WORD' || i || ? FROM n",
        {std::string(40, 'X')});
    db.addCategory("ANIMAL");
    const auto size = std::filesystem::file_size("velmora.mdb") / 3;
    std::filesystem::resize_file("velmora.mdb", size);
    Velmora& v = M::Velmora();
    if (quit.calls() == 0) {
        v.T_Ord.setText("WORD4999" + QString(40, 'X'));
        v.T_Ord.setText("");
        M::SokModus = "?";
        testing_support::ModalDriver modal;
        v.T_Ord.setText("?");
    }
    ASSERT_EQ(quit.calls(), 1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb")) << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains("malformed")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(std::filesystem::file_size("velmora.mdb"), size);
}
