// The simulator through its widgets: letters in the right squares, the
// conflict messages, the properties dialog and the simulation on a word
// database.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "support.h"

using namespace testing_support;

namespace {

const QColor kOrange = ui::rgb(255, 128, 0);

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= M::kSquares; ++n) M::InitialiseSquare(n);
        M::AktivRute = 999;
        f().X(1);  // loads the window
    }
    void TearDown() override {
        M::ResetAll();
        processEvents();
    }
    ::F_Ruter& f() { return M::F_Ruter(); }
    QString at(int n) { return f().X(n).Caption(); }
    // The captions of squares from..to, joined; "." for an empty square.
    QString run(int from, int to, int step = 1) {
        QString s;
        for (int n = from; n <= to; n += step) s += at(n).isEmpty() ? QString(".") : at(n);
        return s;
    }
    void clickSquare(int n) { QTest::mouseClick(f().X(n).button(), Qt::LeftButton); }
    void clickEntry(ui::ListBox& l, int i) {
        QRect r = l.view()->visualRect(l.view()->model()->index(i, 0));
        QTest::mouseClick(l.view()->viewport(), Qt::LeftButton, {}, r.center() + QPoint(20, 0));
    }
    // Gives square n its clue words and counts through the dialog.
    void setSquare(int n, const QString& across, int k1, const QString& down, int k2) {
        modal.then([&, across, down, k1, k2](ui::Form&) {
            ::F_Egenskaper& d = M::F_Egenskaper();
            d.T_Ord1.setText(across);
            d.T_Ord2.setText(down);
            pick(d.C_Ant1, k1);
            pick(d.C_Ant2, k2);
            QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
        });
        clickSquare(n);
    }
    static void pick(ui::ComboBox& c, int i) {
        c.combo()->setCurrentIndex(i);
        emit c.combo()->activated(i);
    }

    MsgBoxes boxes;
    ModalDriver modal;
};

}  // namespace

TEST_F(Simulator, SquaresSitInTheirRowsAndColumns) {
    EXPECT_EQ(f().X(1).widget()->geometry(), QRect(0, 0, 29, 29));
    EXPECT_EQ(f().X(15).widget()->geometry(), QRect(28 * 14, 0, 29, 29));
    EXPECT_EQ(f().X(16).widget()->geometry(), QRect(0, 28, 29, 29));
    EXPECT_EQ(f().X(211).widget()->geometry(), QRect(0, 28 * 14, 29, 29));
    EXPECT_EQ(f().X(225).widget()->geometry(), QRect(28 * 14, 28 * 14, 29, 29));
    EXPECT_EQ(f().Caption(), "Velmora Simulator 1.1 Beta");
    EXPECT_EQ(M::ValgtRute, 1);
    EXPECT_EQ(M::RowOf(15), 1);
    EXPECT_EQ(M::ColumnOf(16), 1);
}

TEST_F(Simulator, AcrossWordsStopAtTheRightEdge) {
    f().fyll_velmora1("HOUSE", 5, 3, false);
    EXPECT_EQ(run(1, 9), "...HOUSE.");
    EXPECT_FALSE(f().X(4).Bold());
    EXPECT_TRUE(boxes.calls().empty());
    // Letter 4 would land in the last column with more to follow.
    f().fyll_velmora1("GARDEN", 6, 11, false);
    EXPECT_EQ(run(11, 16), ".GAR..");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.calls()[0].prompt, "Conflict across!");
    EXPECT_EQ(boxes.calls()[0].title, "Mismatch?");
    EXPECT_EQ(boxes.calls()[0].buttons, ui::Buttons::OK);
    // The last letter may go into the last column.
    f().fyll_velmora1("TABLE", 5, 25, false);
    EXPECT_EQ(run(26, 31), "TABLE.");
    EXPECT_EQ(boxes.calls().size(), 1u);
    // From the last column there is no room at all: nothing wraps into the next row.
    f().fyll_velmora1("AB", 2, 45, false);
    EXPECT_EQ(run(46, 47), "..");
    f().fyll_velmora1("A", 1, 225, false);
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!", "Conflict across!", "Conflict across!"}));
}

TEST_F(Simulator, DownWordsStopAtTheBottom) {
    f().fyll_velmora2("NO", 2, 200, false);
    EXPECT_EQ(at(215), "N");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict vertically!"}));
    f().fyll_velmora2("AT", 2, 211, false);
    EXPECT_EQ(boxes.prompts().size(), 2);
    f().fyll_velmora2("DOWN", 4, 2, false);
    EXPECT_EQ(run(17, 62, 15), "DOWN");
    // Fourteen letters fit below square 1.
    f().fyll_velmora2("ABCDEFGHIJKLMN", 14, 1, true);
    EXPECT_EQ(run(16, 211, 15), "ABCDEFGHIJKLMN");
    EXPECT_EQ(boxes.prompts().size(), 2);
}

TEST_F(Simulator, CrossingLettersClueMarksAndOverwriting) {
    f().fyll_velmora1("CAT", 3, 1, false);  // squares 2..4
    f().fyll_velmora2("ARM", 3, 2, false);  // 17, 32, 47
    EXPECT_EQ(run(2, 4) + run(17, 47, 15), "CATARM");
    // Same letter passes; another letter or another case stops.
    f().fyll_velmora1("CAR", 3, 16, false);  // C against the A in square 17
    EXPECT_EQ(run(17, 19), "A..");
    EXPECT_EQ(boxes.calls().size(), 1u);  // C against A at square 17
    boxes.clear();
    f().fyll_velmora1("ARE", 3, 16, false);
    EXPECT_EQ(run(17, 19), "ARE");
    EXPECT_TRUE(boxes.calls().empty());
    f().fyll_velmora1("are", 3, 16, false);
    EXPECT_EQ(run(17, 19), "ARE");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!"}));
    // A clue mark stops a word, except the same letter X on "X".
    boxes.clear();
    f().X(50).setCaption("X");
    f().X(50).setBackColor(kOrange);
    f().X(50).setBold(true);
    f().fyll_velmora1("OXEN", 4, 48, false);
    EXPECT_EQ(run(49, 52), "OXEN");
    EXPECT_FALSE(f().X(50).Bold());
    EXPECT_EQ(f().X(50).BackColor(), kOrange);
    f().X(52).setCaption("XY");
    f().fyll_velmora1("OXEX", 4, 48, false);
    EXPECT_EQ(at(52), "XY");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!"}));
    // Overwriting replaces everything in the path.
    f().fyll_velmora1("WXYZ", 4, 48, true);
    EXPECT_EQ(run(49, 52), "WXYZ");
    // A count beyond the word writes empty letters: empty stays empty,
    // a letter is a conflict without overwriting and emptied with it.
    boxes.clear();
    f().fyll_velmora1("AB", 4, 55, false);
    EXPECT_EQ(run(56, 59), "AB..");
    EXPECT_TRUE(boxes.calls().empty());
    f().fyll_velmora1("AB", 3, 48, false);
    EXPECT_EQ(run(49, 51), "WXY");
    EXPECT_EQ(boxes.prompts().size(), 1);
    f().fyll_velmora1("AB", 3, 48, true);
    EXPECT_EQ(run(49, 51), "AB.");
    // A count of 0 writes nothing and says nothing.
    boxes.clear();
    f().fyll_velmora1("ZZZ", 0, 100, false);
    EXPECT_EQ(run(101, 103), "...");
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Simulator, PropertiesDialogStoresWordsCountsAndMarksTheSquare) {
    int shownFor = 0;
    modal.then([&](ui::Form& dlg) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        shownFor = M::AktivRute;
        EXPECT_EQ(&dlg, static_cast<ui::Form*>(&d));
        EXPECT_EQ(dlg.Caption(), "Properties of this square");
        EXPECT_EQ(d.C_Ant1.ListCount(), 11);
        EXPECT_EQ(d.C_Ant1.List(0), " 0 - letter(s)");
        EXPECT_EQ(d.C_Ant2.List(10), " 10 - letter(s)");
        EXPECT_EQ(d.C_Ant1.Text(), "0 - letter(s)");
        EXPECT_EQ(d.T_Ord1.Text(), "");
        QTest::keyClicks(d.T_Ord1.edit(), "hus");
        EXPECT_EQ(M::RuteOrd1[37], "HUS");  // stored at every keystroke
        EXPECT_EQ(d.T_Ord1.Text(), "hus");  // the field keeps the case typed
        pick(d.C_Ant1, 7);
        d.C_Ant2.setText("5 - letter(s)");  // typed, not picked: not stored
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(37);
    EXPECT_EQ(shownFor, 37);
    EXPECT_EQ(M::ValgtRute, 37);
    EXPECT_EQ(M::RuteLengde1[37], 7);
    EXPECT_EQ(M::RuteLengde2[37], 0);
    EXPECT_EQ(f().L_Vannrett.Text(), "HUS");
    EXPECT_EQ(at(37), "X");
    EXPECT_EQ(f().X(37).BackColor(), kOrange);
    EXPECT_TRUE(f().X(37).Bold());
    EXPECT_FALSE(M::F_Egenskaper().Visible());

    // The next opening shows what is stored, and the lists stay at 11.
    modal.then([&](ui::Form&) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        EXPECT_EQ(d.C_Ant1.Text(), "7 - letter(s)");
        EXPECT_EQ(d.C_Ant2.Text(), "0 - letter(s)");
        EXPECT_EQ(d.C_Ant1.ListCount(), 11);
        EXPECT_EQ(d.T_Ord1.Text(), "HUS");
        d.T_Ord2.setText("øst");
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(37);
    EXPECT_EQ(at(37), "XY");
    EXPECT_EQ(M::RuteOrd2[37], QString::fromUtf8("ØST"));
    EXPECT_EQ(f().L_Loddrett.Text(), QString::fromUtf8("ØST"));

    // Emptying both words makes it a plain square again; counts stay.
    setSquare(37, "", 7, "", 0);
    EXPECT_EQ(at(37), "");
    EXPECT_TRUE(f().X(37).IsButtonFace());
    EXPECT_FALSE(f().X(37).Bold());
    EXPECT_EQ(M::RuteLengde1[37], 7);
    // A down word alone gives "Y"; closing from the title bar confirms too.
    modal.then([&](ui::Form& dlg) {
        M::F_Egenskaper().T_Ord2.setText("ned");
        dlg.close();
    });
    clickSquare(38);
    EXPECT_EQ(at(38), "Y");
    EXPECT_FALSE(M::F_Egenskaper().Visible());
    EXPECT_EQ(F_Egenskaper::CountOf(" 10 - letter(s)"), 10);
    EXPECT_EQ(F_Egenskaper::CountOf("abc"), 0);
}

TEST_F(Simulator, ATypedLetterCountIsNeverStored) {
    // Typed text that is an entry's own, left by Enter or by the focus
    // moving on, whether that entry is the current one or not.
    modal.then([&](ui::Form& dlg) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        QApplication::setActiveWindow(&dlg);
        auto typeInto = [&](ui::ComboBox& c, const QString& text, bool enter) {
            c.SetFocus();
            c.combo()->lineEdit()->selectAll();
            QTest::keyClicks(c.combo(), text);
            if (enter) QTest::keyClick(c.combo(), Qt::Key_Return);
            d.T_Ord1.SetFocus();
        };
        typeInto(d.C_Ant1, " 3 - letter(s)", false);
        typeInto(d.C_Ant2, " 4 - letter(s)", true);
        EXPECT_EQ(M::RuteLengde1[20], 0);
        EXPECT_EQ(M::RuteLengde2[20], 0);
        // A pick from the open list is stored; typing after it is not.
        d.C_Ant1.combo()->showPopup();
        QAbstractItemView* popup = d.C_Ant1.combo()->view();
        popup->setCurrentIndex(popup->model()->index(6, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        EXPECT_EQ(M::RuteLengde1[20], 6);
        typeInto(d.C_Ant1, " 6 - letter(s)", false);
        typeInto(d.C_Ant1, " 9 - letter(s)", true);
        typeInto(d.C_Ant1, " 2 - letter(s)", false);
        EXPECT_EQ(M::RuteLengde1[20], 6);
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(20);
    EXPECT_EQ(M::RuteLengde1[20], 6);
    EXPECT_EQ(M::RuteLengde2[20], 0);
    modal.then([&](ui::Form&) {
        EXPECT_EQ(M::F_Egenskaper().C_Ant1.Text(), "6 - letter(s)");
        EXPECT_EQ(M::F_Egenskaper().C_Ant2.Text(), "0 - letter(s)");
    });
    clickSquare(20);
}

TEST_F(Simulator, ClueSquaresShowTheirColourFlatAndReadable) {
    setSquare(37, "hus", 3, "", 0);
    setSquare(52, "", 0, "ned", 0);
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (int n : {37, 52, 38}) {
        const QColor want = n == 38 ? face : kOrange;
        const QImage shot = f().X(n).button()->grab().toImage();
        ASSERT_EQ(shot.size(), QSize(29, 29));
        // The face inside the one-pixel edge, away from the caption.
        for (QPoint at : {QPoint(2, 2), QPoint(14, 3), QPoint(26, 2), QPoint(3, 14), QPoint(25, 14), QPoint(2, 26),
                          QPoint(14, 25), QPoint(26, 26)})
            EXPECT_EQ(shot.pixelColor(at), want) << "square " << n << " at " << at.x() << "," << at.y();
        // The caption stands out from the face in the middle.
        int ink = 0;
        for (int y = 8; y < 21; ++y)
            for (int x = 8; x < 21; ++x) ink += qGray(shot.pixel(x, y)) < 100;
        EXPECT_EQ(ink > 5, n != 38) << "square " << n;
    }
}

TEST_F(Simulator, ClearSquareEmptiesWithoutTheDialog) {
    setSquare(5, "SUN", 3, "", 0);
    f().fyll_velmora2("ABC", 3, 5, false);
    f().c_clear.setValue(true);
    const int before = modal.shown();
    clickSquare(5);
    EXPECT_EQ(modal.shown(), before);
    EXPECT_EQ(at(5), "");
    EXPECT_TRUE(f().X(5).IsButtonFace());
    EXPECT_TRUE(f().X(5).Bold());  // the bold flag is left as it was
    EXPECT_EQ(M::RuteOrd1[5], "");
    EXPECT_EQ(M::RuteLengde1[5], 0);
    EXPECT_EQ(M::RuteRetning1[5], 2);
    EXPECT_EQ(M::RuteRetning2[5], 8);
    EXPECT_EQ(f().L_Vannrett.Text(), "SUN");
    // A placed letter is cleared the same way.
    clickSquare(20);
    EXPECT_EQ(at(20), "");
    EXPECT_EQ(at(35), "B");
}

TEST_F(Simulator, SimulationFillsTheListsAndPlacesTheFirstCandidates) {
    TempDb db;
    for (const char* s : {"LARGE", "HUGE", "VAST", "GREAT"}) db.synonym("BIG", s);
    db.value("BIG", "XXXL");
    db.value("RIVER", "NILE");
    db.value("RIVER", "PO");
    setSquare(1, "big", 4, "river", 0);
    f().K_Simuler.button()->click();
    EXPECT_EQ(f().L_Synonymer1.ListCount(), 2);
    EXPECT_EQ(f().L_Synonymer1.List(0), "HUGE");
    EXPECT_EQ(f().L_Verdier1.List(0), "XXXL");
    EXPECT_EQ(f().L_Verdier2.ListCount(), 2);  // count 0: every length
    EXPECT_EQ(f().L_Synonymer2.ListCount(), 0);
    EXPECT_EQ(run(2, 6), "HUGE.");
    EXPECT_EQ(run(16, 31, 15), "..");  // down count 0 writes nothing
    EXPECT_TRUE(boxes.calls().empty());
    // Twice on the same square: the same letters, no conflict.
    f().K_Simuler.button()->click();
    EXPECT_TRUE(boxes.calls().empty());
    // A candidate click writes over what is there.
    clickEntry(f().L_Synonymer1, 1);
    EXPECT_EQ(run(2, 6), "VAST.");
    clickEntry(f().L_Verdier2, 1);
    EXPECT_EQ(run(16, 46, 15), "PO.");
    clickEntry(f().L_Verdier1, 0);
    EXPECT_EQ(run(2, 6), "XXXL.");
    // A click on an entry's check box writes it as a click on its text does.
    QTest::mouseClick(f().L_Synonymer1.view()->viewport(), Qt::LeftButton, {},
                      checkBoxRect(f().L_Synonymer1, 0).center());
    EXPECT_EQ(run(2, 6), "HUGE.");
    EXPECT_EQ(f().L_Synonymer1.ListIndex(), 0);
    EXPECT_TRUE(f().L_Synonymer1.Checked(0));

    // Values when no synonym fits; the down word is placed after an across conflict.
    setSquare(61, "big", 4, "big", 4);
    f().X(64).setCaption("Q");
    db.exec("DELETE FROM T_OrdSynonym");
    f().K_Simuler.button()->click();
    EXPECT_EQ(run(62, 64), "XXQ");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!"}));
    EXPECT_EQ(run(76, 121, 15), "XXXL");
    // A square click empties the lists.
    setSquare(100, "", 0, "", 0);
    EXPECT_EQ(f().L_Verdier1.ListCount() + f().L_Verdier2.ListCount(), 0);
    // A quote in the clue word is just a character.
    db.synonym("O'CLOCK", "HOUR");
    setSquare(150, "o'clock", 0, "", 0);
    f().K_Simuler.button()->click();
    EXPECT_EQ(f().L_Synonymer1.List(0), "HOUR");
}

TEST_F(Simulator, SimulationWithoutADatabaseFindsNothing) {
    TempDb db;
    std::filesystem::remove(db.file());
    setSquare(1, "big", 3, "", 0);
    f().K_Simuler.button()->click();
    EXPECT_EQ(f().L_Synonymer1.ListCount(), 0);
    EXPECT_EQ(run(2, 4), "...");
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Simulator, ClosingKeepsTheGrid) {
    f().Show();
    f().fyll_velmora1("KEEP", 4, 1, false);
    QTest::mouseClick(f().K_LukkVindu.button(), Qt::LeftButton);
    EXPECT_FALSE(f().Visible());
    f().close();  // the title bar hides too
    f().Show();
    EXPECT_EQ(run(2, 5), "KEEP");
}
