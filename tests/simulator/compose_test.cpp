// The simulator as a composing aid, through its widgets: which candidates
// fit the letters already in the grid, undo and redo of every grid change,
// the grid's right-click menu and the pointer in clear mode.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "support.h"

using namespace testing_support;

namespace {

const QColor kOrange = ui::rgb(255, 128, 0);

class Composing : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= M::kSquares; ++n) M::InitialiseSquare(n);
        M::AktivRute = 999;
        f().Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f()));
    }
    void TearDown() override {
        M::ResetAll();
        processEvents();
    }
    ::F_Ruter& f() { return M::F_Ruter(); }
    QString at(int n) { return f().X(n).Caption(); }
    QString run(int from, int to, int step = 1) {
        QString s;
        for (int n = from; n <= to; n += step) s += at(n).isEmpty() ? QString(".") : at(n);
        return s;
    }
    // "+" for an entry that fits, "-" for a dimmed one.
    QString marks(ui::ListBox& l) {
        QString s;
        for (int i = 0; i < l.ListCount(); ++i) s += f().Fits(l, i) ? '+' : '-';
        return s;
    }
    // Pixels of the lists' yellow text in entry i as drawn.
    static int yellowIn(ui::ListBox& l, int i) {
        const QImage img = l.view()->viewport()->grab().toImage();
        const QRect r = l.view()->visualRect(l.view()->model()->index(i, 0));
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += img.pixelColor(x, y) == QColor(255, 255, 0);
        return n;
    }
    void clickEntry(ui::ListBox& l, int i) {
        QRect r = l.view()->visualRect(l.view()->model()->index(i, 0));
        QTest::mouseClick(l.view()->viewport(), Qt::LeftButton, {}, r.center() + QPoint(20, 0));
    }
    void setSquare(int n, const QString& across, int k1, const QString& down, int k2) {
        modal.then([&, across, down, k1, k2](ui::Form&) {
            ::F_Egenskaper& d = M::F_Egenskaper();
            d.T_Ord1.setText(across);
            d.T_Ord2.setText(down);
            d.C_Ant1.combo()->setCurrentIndex(k1);
            emit d.C_Ant1.combo()->activated(k1);
            d.C_Ant2.combo()->setCurrentIndex(k2);
            emit d.C_Ant2.combo()->activated(k2);
            QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
        });
        QTest::mouseClick(f().X(n).button(), Qt::LeftButton);
    }
    // Keys go to the simulator window, made the focus window again as the
    // desktop does when a dialog or menu closes.
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        if (QGuiApplication::focusWindow() != f().windowHandle()) {
            f().windowHandle()->requestActivate();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == f().windowHandle(); }));
        }
        QTest::keyClick(&f(), k, m);
    }
    // Right click on square n, then the menu entry with this caption.
    void menu(int n, const QString& entry) {
        QAbstractButton* b = f().X(n).button();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &e);
        QMenu* m = f().M_Rutenett;
        ASSERT_TRUE(m->isVisible());
        QStringList captions;
        for (QAction* a : m->actions()) captions << a->text();
        ASSERT_EQ(captions, QStringList({"Clear grid", "Clear square", "Fill grid", "", "Save grid as\u2026",
                                         "Open grid\u2026", "Export as PDF\u2026", "Print\u2026"}));
        for (QAction* a : m->actions())
            if (a->text() == entry) QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
        processEvents();
        EXPECT_FALSE(m->isVisible());
    }

    // What a user can see of every square, and its clue data.
    struct Face {
        QString caption;
        std::optional<QColor> back;
        bool bold;
        QString ord1, ord2;
        int16_t len1, len2;
        bool operator==(const Face&) const = default;
    };
    std::vector<Face> faces() {
        std::vector<Face> v;
        for (int n = 1; n <= M::kSquares; ++n)
            v.push_back({at(n), f().X(n).BackColor(), f().X(n).Bold(), M::RuteOrd1[n], M::RuteOrd2[n],
                         M::RuteLengde1[n], M::RuteLengde2[n]});
        return v;
    }
    // The first square where two grids differ, 0 when none does.
    static int firstDifference(const std::vector<Face>& a, const std::vector<Face>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i])) return int(i) + 1;
        return 0;
    }

    MsgBoxes boxes;
    ModalDriver modal;
};

// Clue square 17 asks for a 5-letter HOUSE across and a 3-letter TREE down;
// a T from the down word of square 5 crosses the across answer in square
// 20, and an A from the across word of square 46 crosses the down answer in
// square 47.
class Crossings : public Composing {
protected:
    void SetUp() override {
        Composing::SetUp();
        for (const char* s : {"BOLIG", "HOTEL", "UP TO", "HYTTE"}) db.synonym("HOUSE", s);
        for (const char* s : {"VILLA", "MOTEL"}) db.value("HOUSE", s);
        for (const char* s : {"OAK", "ELM"}) db.synonym("TREE", s);
        for (const char* s : {"FIR", "MAY"}) db.value("TREE", s);
        f().fyll_velmora2("TEA", 3, 5, false);
        f().fyll_velmora1("AXE", 3, 46, false);
        setSquare(17, "house", 5, "tree", 3);
        f().K_Simuler.button()->click();
    }
    TempDb db;
};

}  // namespace

TEST_F(Crossings, ACrossingLetterDimsExactlyTheCandidatesThatClash) {
    // Simulate still writes the first synonym and stops at the clash.
    EXPECT_EQ(f().L_Synonymer1.List(0), "BOLIG");
    EXPECT_EQ(run(18, 22), "BOT..");
    EXPECT_EQ(boxes.prompts(), QStringList({"Conflict across!"}));
    EXPECT_EQ(run(32, 62, 15), "OAK");
    // BOLIG clashes with the T; HOTEL and HYTTE pass over its own B and O;
    // "UP TO" would put a blank into a square.
    EXPECT_EQ(marks(f().L_Synonymer1), "-+-+");
    EXPECT_EQ(marks(f().L_Verdier1), "-+");
    EXPECT_EQ(marks(f().L_Synonymer2), "+-");
    EXPECT_EQ(marks(f().L_Verdier2), "-+");
    EXPECT_EQ(f().L_Synonymer1.view()->toolTip(), "??T??: 2 of 4 fit");
    // Drawn: a fitting entry in the lists' yellow, a dimmed one without it.
    EXPECT_EQ(yellowIn(f().L_Synonymer1, 0), 0);
    EXPECT_GT(yellowIn(f().L_Synonymer1, 1), 0);
    EXPECT_EQ(f().L_Verdier1.view()->toolTip(), "??T??: 1 of 2 fit");
    // The pointer resting on an entry shows the list's tooltip.
    QWidget* vp = f().L_Verdier1.view()->viewport();
    QHelpEvent help(QEvent::ToolTip, QPoint(30, 5), vp->mapToGlobal(QPoint(30, 5)));
    QApplication::sendEvent(vp, &help);
    EXPECT_EQ(QToolTip::text(), "??T??: 1 of 2 fit");
    QToolTip::hideText();
    EXPECT_EQ(f().L_Synonymer2.view()->toolTip(), "?A?: 1 of 2 fit");
    // The order stays as the database gives it, and dimmed entries still write.
    clickEntry(f().L_Synonymer1, 0);
    EXPECT_EQ(run(18, 22), "BOLIG");
    EXPECT_EQ(run(20, 50, 15), "LEA");  // written over the crossing, as before
    EXPECT_EQ(marks(f().L_Synonymer1), "++-+");
}

TEST_F(Crossings, MarksFollowCandidateWritesClearedSquaresAndNewSimulations) {
    // "UP TO" writes a blank over the crossing T: nothing binds square 20 now.
    clickEntry(f().L_Synonymer1, 2);
    EXPECT_EQ(run(18, 22), "UP TO");
    EXPECT_EQ(marks(f().L_Synonymer1), "++-+");
    EXPECT_EQ(f().L_Synonymer1.view()->toolTip(), "?????: 3 of 4 fit");
    // A crossing letter cleared from the right-click menu frees the down list.
    EXPECT_EQ(marks(f().L_Synonymer2), "+-");
    menu(47, "Clear square");
    EXPECT_EQ(at(47), "");
    EXPECT_EQ(f().L_Synonymer2.ListCount(), 2);  // the lists stay
    EXPECT_EQ(marks(f().L_Synonymer2), "++");
    EXPECT_EQ(marks(f().L_Verdier2), "++");
    // A crossing written anew binds again.
    f().fyll_velmora1("LX", 2, 46, true);
    EXPECT_EQ(marks(f().L_Synonymer2), "-+");
    EXPECT_EQ(marks(f().L_Verdier2), "--");
    EXPECT_EQ(f().L_Verdier2.view()->toolTip(), "?L?: 0 of 2 fit");
}

TEST(GridModel, FitsOnlyWhereTheEdgesAndTheSquaresAllow) {
    sim::Grid g;
    const sim::Answer across{11, true}, down{200, false}, other{3, false};
    EXPECT_TRUE(sim::Fits(g, {10, true}, "ABCDE"));  // the last letter may take the last column
    EXPECT_FALSE(sim::Fits(g, across, "ABCDEF"));    // letter 4 in the last column, more follow
    EXPECT_FALSE(sim::Fits(g, {15, true}, "AB"));    // no across answer from the last column
    EXPECT_FALSE(sim::Fits(g, down, "AB"));          // off the bottom
    EXPECT_TRUE(sim::Fits(g, down, "A"));
    EXPECT_FALSE(sim::Fits(g, across, ""));
    EXPECT_FALSE(sim::Fits(g, across, "A-B"));
    EXPECT_TRUE(sim::Fits(g, across, QString::fromUtf8("ØL9")));
    g[13].caption = "X";
    g[13].bold = true;  // a clue mark
    EXPECT_FALSE(sim::Fits(g, across, "AXB"));
    EXPECT_EQ(sim::Pattern(g, across, 6), "?#?");
    g[13] = {};
    g[13].caption = "Q";
    g[13].writers = {across, other};  // a crossing shares it: binding
    EXPECT_FALSE(sim::Fits(g, across, "ABC"));
    EXPECT_TRUE(sim::Fits(g, across, "AQC"));
    EXPECT_FALSE(sim::Fits(g, across, "AqC"));  // case counts, as when placing
    g[13].writers = {across};
    EXPECT_TRUE(sim::Fits(g, across, "ABC"));
    EXPECT_FALSE(sim::Fits(g, {12, true}, "BC"));  // another answer's letter binds
    EXPECT_TRUE(sim::Fits(g, {12, true}, "QC"));
}

TEST_F(Composing, UndoAndRedoWalkTheGridBackAndForth) {
    TempDb db;
    for (const char* s : {"HUGE", "VAST"}) db.synonym("BIG", s);
    db.value("RIVER", "NILE");
    const auto start = faces();
    setSquare(1, "big", 4, "river", 4);
    const auto marked = faces();
    EXPECT_EQ(at(1), "XY");
    f().K_Simuler.button()->click();
    const auto simulated = faces();
    EXPECT_EQ(run(2, 5) + run(16, 61, 15), "HUGENILE");

    key(Qt::Key_Z);  // the whole simulation, across and down
    EXPECT_EQ(firstDifference(faces(), marked), 0);
    key(Qt::Key_Z);  // Done! with the clue data the dialog wrote
    EXPECT_EQ(firstDifference(faces(), start), 0);
    EXPECT_EQ(M::RuteOrd1[1], "");
    EXPECT_EQ(M::RuteLengde2[1], 0);
    EXPECT_TRUE(f().X(1).IsButtonFace());
    key(Qt::Key_Z);  // nothing left: no change
    EXPECT_EQ(firstDifference(faces(), start), 0);

    key(Qt::Key_Y);
    EXPECT_EQ(firstDifference(faces(), marked), 0);
    EXPECT_EQ(f().X(1).BackColor(), kOrange);
    EXPECT_TRUE(f().X(1).Bold());
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(firstDifference(faces(), simulated), 0);

    // A candidate written is one step; after an undo, a new change drops the redo.
    clickEntry(f().L_Synonymer1, 1);
    EXPECT_EQ(run(2, 5), "VAST");
    key(Qt::Key_Z);
    EXPECT_EQ(run(2, 5), "HUGE");
    f().fyll_velmora1("HUGS", 4, 1, true);
    key(Qt::Key_Y);
    EXPECT_EQ(run(2, 5), "HUGS");
    EXPECT_EQ(f().History().redoable(), 0u);
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Composing, ClearModeIsUndoableAndShowsAnotherPointer) {
    setSquare(5, "sun", 3, "", 0);
    f().fyll_velmora2("ABC", 3, 5, false);
    EXPECT_EQ(f().X(5).button()->cursor().shape(), Qt::ArrowCursor);
    f().c_clear.setValue(true);
    EXPECT_EQ(f().X(5).button()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(f().X(225).button()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(f().X(20).button(), Qt::LeftButton);
    QTest::mouseClick(f().X(5).button(), Qt::LeftButton);
    EXPECT_EQ(run(5, 5) + run(20, 50, 15), "..BC");
    EXPECT_EQ(M::RuteOrd1[5], "");
    key(Qt::Key_Z);
    EXPECT_EQ(at(5), "X");
    EXPECT_EQ(M::RuteOrd1[5], "SUN");
    EXPECT_EQ(M::RuteLengde1[5], 3);
    key(Qt::Key_Z);
    EXPECT_EQ(run(20, 50, 15), "ABC");
    f().c_clear.setValue(false);
    EXPECT_EQ(f().X(5).button()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Composing, ClearGridEmptiesEverySquareAndIsUndone) {
    setSquare(1, "big", 4, "", 0);
    setSquare(225, "", 0, "end", 2);
    f().fyll_velmora1("ABCDEFGHIJKLMN", 14, 1, true);
    for (int n = 16; n <= 210; n += 15) f().fyll_velmora1("ABCDEFGHIJKLMN", 14, int16_t(n), true);
    const auto full = faces();
    menu(100, "Clear grid");
    for (int n = 1; n <= M::kSquares; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(at(n), "");
        EXPECT_TRUE(f().X(n).IsButtonFace());
        EXPECT_FALSE(f().X(n).Bold());
        EXPECT_EQ(M::RuteOrd1[n] + M::RuteOrd2[n], "");
        EXPECT_EQ(M::RuteLengde1[n] + M::RuteLengde2[n], 0);
        EXPECT_EQ(M::RuteRetning1[n] * 10 + M::RuteRetning2[n], 28);
    }
    key(Qt::Key_Z);
    EXPECT_EQ(firstDifference(faces(), full), 0);
    EXPECT_EQ(M::RuteOrd2[225], "END");
    key(Qt::Key_Y);
    EXPECT_EQ(run(1, 15), "...............");
}
