// The simulator window over the grid being composed: the squares show the
// document, the conflict messages, the square dialog, the simulation on a
// word database, the fit marks of the candidate lists, and clearing and
// undo from the keys and the right-click menu. (The rules themselves, on
// the document: tests/grid.)
#include <QKeySequence>
#include <QLineEdit>
#include <QToolTip>

#include "simulator.h"

namespace {

TEST_F(Sim, PropertiesDialogStoresWordsCountsAndMarksTheSquare) {
    modal.then([&](ui::Form&) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        EXPECT_EQ(doc().AktivRute, 37);
        QTest::keyClicks(d.T_Ord1.edit(), "hus");
        EXPECT_EQ(doc().RuteOrd1(37) + d.T_Ord1.Text(), "HUShus");  // stored at every keystroke, shown as typed
        pickCount(d.C_Ant1, 7);
        d.C_Ant2.setText("5 - letter(s)");  // typed, not picked: not stored
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(37);
    // Selected, the counts across and down, the field and the square's mark.
    EXPECT_EQ(QString("%1 %2 %3 ").arg(doc().ValgtRute).arg(doc().RuteLengde1(37)).arg(doc().RuteLengde2(37)) +
                  f().L_Vannrett.Text() + at(37),
              "37 7 0 HUSX");
    // A clue square shows flat in its colour, its caption readable.
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (int n : {37, 38}) {
        const QImage shot = f().X(n).button()->grab().toImage();
        // The face inside the one-pixel edge, away from the caption, and the
        // caption standing out from it in the middle.
        for (QPoint p : {QPoint(2, 2), QPoint(26, 2), QPoint(3, 14), QPoint(25, 14), QPoint(2, 26), QPoint(26, 26)})
            EXPECT_EQ(shot.pixelColor(p), n == 38 ? face : sim::kClueColour) << n << " at " << p.x() << "," << p.y();
        int ink = 0;
        for (int y = 8; y < 21; ++y)
            for (int x = 8; x < 21; ++x) ink += qGray(shot.pixel(x, y)) < 100;
        EXPECT_EQ(ink > 5, n == 37) << n;
    }

    // The next opening shows what is stored; the down field is the second word.
    modal.then([&](ui::Form&) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        EXPECT_EQ(d.C_Ant1.Text() + d.T_Ord1.Text(), "7 - letter(s)HUS");
        d.T_Ord2.setText("øst");
        pickCount(d.C_Ant2, 4);
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(37);
    EXPECT_EQ(at(37) + doc().RuteOrd2(37) + f().L_Loddrett.Text() + QString::number(doc().RuteLengde2(37)),
              QString::fromUtf8("XYØSTØST4"));
    // A down word alone gives "Y"; closing from the title bar confirms too.
    modal.then([&](ui::Form& dlg) {
        M::F_Egenskaper().T_Ord2.setText("ned");
        dlg.close();
    });
    clickSquare(38);
    EXPECT_EQ(at(38), "Y");
    EXPECT_EQ(F_Egenskaper::CountOf(" 10 - letter(s)") * 100 + F_Egenskaper::CountOf("abc"), 1000);
}

// The squares sit in rows and columns, the first selected; clear mode
// empties a square without the dialog, shows another pointer and is undone
// a click at a time; closing hides the window and keeps the grid.
TEST_F(Sim, SquaresAndClearModeAndClosingKeepsTheGrid) {
    EXPECT_EQ(f().X(16).widget()->geometry(), QRect(0, 28, 29, 29));  // row 2, column 1
    EXPECT_EQ(doc().ValgtRute, 1);
    setSquare(5, "sun", 3, "", 0);
    f().fyll_velmora2("ABC", 3, 5, false);
    f().c_clear.setValue(true);
    EXPECT_EQ(f().X(225).button()->cursor().shape(), Qt::BitmapCursor);
    clickSquare(20);
    clickSquare(5);
    EXPECT_EQ(QString::number(modal.shown()) + run(5, 5) + run(20, 50, 15), "1..BC");  // setSquare's dialog only
    key(Qt::Key_Z);                                                                    // each click one step
    EXPECT_EQ(doc().RuteOrd1(5), "SUN");
    key(Qt::Key_Z);
    EXPECT_EQ(run(20, 50, 15), "ABC");
    f().c_clear.setValue(false);
    EXPECT_EQ(f().X(5).button()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(f().K_LukkVindu.button(), Qt::LeftButton);
    EXPECT_FALSE(f().Visible());
    f().close();  // the title bar hides too
    f().Show();
    EXPECT_EQ(run(20, 50, 15), "ABC");
}

TEST_F(Sim, SimulationFillsTheListsAndPlacesTheFirstCandidates) {
    for (const char* s : {"LARGE", "HUGE", "VAST", "GREAT"}) db.synonym("BIG", s);
    db.value("BIG", "XXXL");
    for (const char* s : {"NILE", "PO"}) db.value("RIVER", s);
    setSquare(1, "big", 4, "river", 0);
    f().K_Simuler.button()->click();
    // Down count 0: every length, and nothing written down.
    EXPECT_EQ(lists() + " " + run(2, 6) + run(16, 31, 15), "HUGE,VAST|XXXL||NILE,PO HUGE...");
    // A candidate click writes over what is there, and is the user's pick.
    clickEntry(f().L_Synonymer1, 1);
    clickEntry(f().L_Verdier2, 1);
    EXPECT_EQ(run(2, 6) + run(16, 46, 15), "VAST.PO.");
    EXPECT_TRUE(doc().at(1).picked1 && doc().at(1).picked2);
    clickEntry(f().L_Verdier1, 0);
    EXPECT_EQ(run(2, 6), "XXXL.");
    // What Simulate writes is no longer the user's pick.
    clickEntry(f().L_Synonymer1, 0);
    f().K_Simuler.button()->click();
    EXPECT_FALSE(doc().at(1).picked1);

    // Values when no synonym fits, down as well as across; each conflict
    // said by its direction, the down word placed after an across one.
    setSquare(61, "big", 4, "big", 4);
    doc().setCaption(64, "Q");
    doc().setCaption(91, "Q");
    db.exec("DELETE FROM T_OrdSynonym");
    f().K_Simuler.button()->click();
    EXPECT_EQ(run(62, 64) + run(76, 121, 15), "XXQXQ..");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!", "Conflict vertically!"}));
    key(Qt::Key_Z);  // the whole simulation, across and down
    EXPECT_EQ(run(62, 64) + run(76, 121, 15), "..Q.Q..");
    // A square click empties the lists; without a database nothing is found.
    clickSquare(1);
    const QString emptied = lists();
    std::filesystem::remove(db.file());
    f().K_Simuler.button()->click();
    EXPECT_EQ(emptied + lists(), "||||||");
    EXPECT_EQ(boxes.calls().size(), 2u);
}

// Clue square 17 asks for a 5-letter HOUSE across and a 3-letter TREE down;
// a T from the down word of square 5 crosses the across answer in square
// 20, and an A from the across word of square 46 crosses the down answer in
// square 47.
TEST_F(Sim, ACrossingLetterDimsExactlyTheCandidatesThatClashUntilCleared) {
    for (const char* s : {"BOLIG", "HOTEL", "UP TO", "HYTTE"}) db.synonym("HOUSE", s);
    for (const char* s : {"VILLA", "MOTEL"}) db.value("HOUSE", s);
    for (const char* s : {"OAK", "ELM"}) db.synonym("TREE", s);
    for (const char* s : {"FIR", "MAY"}) db.value("TREE", s);
    f().fyll_velmora2("TEA", 3, 5, false);
    f().fyll_velmora1("AXE", 3, 46, false);
    setSquare(17, "house", 5, "tree", 3);
    f().K_Simuler.button()->click();
    // Simulate still writes the first synonym and stops at the clash.
    EXPECT_EQ(run(18, 22) + run(32, 62, 15), "BOT..OAK");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!"}));
    // BOLIG clashes with the T; HOTEL and HYTTE pass over its own B and O;
    // "UP TO" would put a blank into a square.
    EXPECT_EQ(marks(f().L_Synonymer1) + marks(f().L_Verdier1) + " " + marks(f().L_Synonymer2) + marks(f().L_Verdier2),
              "-+-+-+ +--+");
    EXPECT_EQ(f().L_Synonymer1.view()->toolTip() + " " + f().L_Synonymer2.view()->toolTip(),
              "??T??: 2 of 4 fit ?A?: 1 of 2 fit");
    // Drawn: a fitting entry in the lists' yellow, a dimmed one without it.
    processEvents();
    const QImage drawn = f().L_Synonymer1.view()->viewport()->grab().toImage();
    const auto yellowIn = [&drawn](int i) {
        const QRect r = f().L_Synonymer1.view()->visualRect(f().L_Synonymer1.view()->model()->index(i, 0));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += drawn.pixelColor(x, y) == QColor(255, 255, 0);
        return n;
    };
    EXPECT_TRUE(yellowIn(0) == 0 && yellowIn(1) > 0) << yellowIn(0) << " " << yellowIn(1);
    // The pointer resting on an entry shows the list's tooltip.
    QWidget* vp = f().L_Verdier1.view()->viewport();
    QHelpEvent help(QEvent::ToolTip, QPoint(30, 5), vp->mapToGlobal(QPoint(30, 5)));
    QApplication::sendEvent(vp, &help);
    EXPECT_EQ(QToolTip::text(), "??T??: 1 of 2 fit");
    QToolTip::hideText();
    // The order stays as the database gives it, and dimmed entries still write.
    clickEntry(f().L_Synonymer1, 0);
    EXPECT_EQ(run(18, 22) + run(20, 50, 15), "BOLIGLEA");
    EXPECT_EQ(marks(f().L_Synonymer1), "++-+");
    // A crossing letter cleared from the right-click menu frees the down
    // list; undone, it dims it again.
    menu(47, "Clear square");
    EXPECT_EQ(marks(f().L_Synonymer2) + marks(f().L_Verdier2), "++++");  // the lists stay
    key(Qt::Key_Z);
    EXPECT_EQ(marks(f().L_Synonymer2) + marks(f().L_Verdier2), "+--+");
}

// Undo and redo themselves are the document's; here the keys and the menu
// reach them, also from a clue-word field with nothing of its own to undo
// (the focus is there after a save or the square dialog), and the squares
// follow.
TEST_F(Sim, UndoAndRedoKeysReachTheGridAlsoFromAField) {
    setSquare(1, "big", 4, "", 0);
    f().fyll_velmora1("HUGE", 4, 1, false);
    remember();
    menu(100, "Clear grid");  // one step
    EXPECT_TRUE(doc().squares() == sim::Grid{});
    key(Qt::Key_Z);
    EXPECT_TRUE(unchanged() && firstMisshown() == 0);
    // Undo, redo, undo, redo from the field; typed text is the field's to undo first.
    QLineEdit* field = f().L_Vannrett.edit();
    field->setFocus();
    QString shown;
    for (const char* keys : {"Ctrl+Z", "Ctrl+Y", "Ctrl+Z", "Ctrl+Shift+Z", "S", "Ctrl+Z", "Ctrl+Z"}) {
        const QKeyCombination k = QKeySequence(keys)[0];
        key(k.key(), k.keyboardModifiers(), field);
        shown += field->text() + run(2, 5) + " ";
    }
    EXPECT_EQ(shown.toStdString(), "BIG.... BIGHUGE BIG.... BIGHUGE BIGsHUGE BIGHUGE BIG.... ");
    EXPECT_TRUE(boxes.calls().empty());
}

}  // namespace
