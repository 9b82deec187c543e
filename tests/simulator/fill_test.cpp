// Fill grid through the simulator's widgets: the one fill that fits when
// the first candidates clash, the answers that cannot be filled (named in
// one message, framed, the rest consistent), a user's pick kept, an open
// answer filled from every stored word and its synonyms offered as clue
// words afterwards, undo of the whole fill, and Cancel.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWindow>

#include "shared/M.h"
#include "simulator/F_Egenskaper.h"
#include "simulator/F_Ruter.h"
#include "grid/fill.h"
#include "grid/ipuz.h"
#include "support.h"
#include "ui/progress.h"

using namespace testing_support;

namespace {

// Clue square 17 asks for 3 letters across (squares 18-20), clue squares 3
// and 5 for 3 letters down (18, 33, 48 and 20, 35, 50). Of the first
// candidates OAT, EAR and KIT, OAT clashes with both; only ELM, EAR and MAT
// agree in every shared square.
class Filling : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= M::kSquares; ++n) M::InitialiseSquare(n);
        M::AktivRute = 999;
        f().Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f()));
        for (const char* s : {"OAT", "ELM", "ASH"}) db.synonym("WORD", s);
        for (const char* s : {"EAR", "OWL"}) db.synonym("HEAR", s);
        db.synonym("CAT", "KIT");
        for (const char* s : {"HEN", "MAT"}) db.value("CAT", s);
        setSquare(17, "word", 3, "", 0);
        setSquare(3, "", 0, "hear", 3);
        setSquare(5, "", 0, "cat", 3);
    }
    void TearDown() override {
        ui::setProgressHandler(nullptr);
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
    void key(Qt::Key k) {
        if (QGuiApplication::focusWindow() != f().windowHandle()) {
            f().windowHandle()->requestActivate();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == f().windowHandle(); }));
        }
        QTest::keyClick(&f(), k, Qt::ControlModifier);
    }
    // Fill grid from the right-click menu of square n.
    void fillFromMenu(int n) {
        QAbstractButton* b = f().X(n).button();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &e);
        QMenu* m = f().M_Rutenett;
        ASSERT_TRUE(m->isVisible());
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(f().M_FyllRutenett).center());
        processEvents();
    }
    struct Face {
        QString caption;
        std::optional<QColor> back;
        bool bold, framed;
        QString ord1, ord2;
        int16_t len1, len2;
        bool operator==(const Face&) const = default;
    };
    std::vector<Face> faces() {
        std::vector<Face> v;
        for (int n = 1; n <= M::kSquares; ++n)
            v.push_back({at(n), f().X(n).BackColor(), f().X(n).Bold(), f().Framed(n), M::RuteOrd1[n], M::RuteOrd2[n],
                         M::RuteLengde1[n], M::RuteLengde2[n]});
        return v;
    }
    static int firstDifference(const std::vector<Face>& a, const std::vector<Face>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i])) return int(i) + 1;
        return 0;
    }
    std::vector<int> framed() {
        std::vector<int> v;
        for (int n = 1; n <= M::kSquares; ++n)
            if (f().Framed(n)) v.push_back(n);
        return v;
    }

    TempDb db;
    MsgBoxes boxes;
    ModalDriver modal;
};

}  // namespace

TEST_F(Filling, FindsTheOneChoiceThatFitsAndUndoTakesItAllBack) {
    f().fyll_velmora1("OAT", 3, 17, false);  // as Simulate would write it: free
    const auto before = faces();
    key(Qt::Key_F);
    EXPECT_EQ(run(18, 20), "ELM");
    EXPECT_EQ(run(18, 48, 15), "EAR");
    EXPECT_EQ(run(20, 50, 15), "MAT");
    EXPECT_EQ(run(17, 17) + run(3, 3) + run(5, 5), "XYY");  // clue marks stay
    EXPECT_TRUE(framed().empty());
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_FALSE(f().X(18).Bold());
    // The letters remember both answers: the fill's words fit, Simulate's list marks follow.
    const sim::Grid g = f().Snapshot();
    EXPECT_TRUE(sim::Fits(g, {17, true}, "ELM"));
    EXPECT_FALSE(sim::Fits(g, {17, true}, "OAT"));

    key(Qt::Key_Z);  // one step
    EXPECT_EQ(firstDifference(faces(), before), 0);
    EXPECT_EQ(run(18, 20), "OAT");
    key(Qt::Key_Y);
    EXPECT_EQ(run(18, 20), "ELM");
}

TEST_F(Filling, AnswersThatCannotBeFilledAreNamedFramedAndLeftEmpty) {
    // Square 47's XAZ would need other letters in both down answers; square
    // 100's clue word has no candidates at all.
    db.synonym("SEA", "XAZ");
    setSquare(47, "sea", 3, "", 0);
    setSquare(100, "nothing", 4, "", 0);
    f().fyll_velmora1("QQQQ", 4, 100, false);  // stale letters of a free answer
    fillFromMenu(60);
    EXPECT_EQ(boxes.prompts(), QStringList({"2 answers could not be filled: SEA (across), NOTHING (across). "
                                            "Their clue squares are framed in red."}));
    EXPECT_EQ(framed(), std::vector<int>({47, 100}));
    // Everything else filled and consistent; the empty answers show only
    // what their crossings wrote.
    EXPECT_EQ(run(18, 20) + run(18, 48, 15) + run(20, 50, 15), "ELMEARMAT");
    EXPECT_EQ(run(48, 50), "R.T");
    EXPECT_EQ(run(101, 104), "....");
    // A fill that leaves nothing empty takes the frames away.
    M::RuteLengde1[100] = 0;
    db.synonym("SEA", "RAT");
    boxes.clear();
    key(Qt::Key_F);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_TRUE(framed().empty());
    EXPECT_EQ(run(48, 50), "RAT");
}

TEST_F(Filling, KeepsTheAnswerTheUserPicked) {
    QTest::mouseClick(f().X(17).button(), Qt::LeftButton);  // Done! at once: only selects
    f().K_Simuler.button()->click();
    ASSERT_EQ(f().L_Synonymer1.List(0), "OAT");
    f().L_Synonymer1.setListIndex(0);  // the user picks OAT
    key(Qt::Key_F);
    // OAT stays; HEAR gives OWL for its O; no word of CAT begins with T.
    EXPECT_EQ(run(18, 20), "OAT");
    EXPECT_EQ(run(18, 48, 15), "OWL");
    EXPECT_EQ(run(20, 50, 15), "T..");
    EXPECT_EQ(boxes.prompts(),
              QStringList({"1 answer could not be filled: CAT (down). Its clue square is framed in red."}));
    EXPECT_EQ(framed(), std::vector<int>({5}));
}

TEST_F(Filling, AnOpenAnswerTakesAStoredWordAndOffersItsSynonymsAsClues) {
    // Square 47 has a count and no clue word: any stored word of 3 letters
    // that begins with the R of EAR and ends with the T of MAT.
    for (const char* w : {"EAR", "RUT", "SUN", "ROAD"}) db.addWord(w);
    for (const char* w : {"GROOVE", "ODD"}) db.synonym("RUT", w);
    setSquare(47, "", 3, "", 0);
    EXPECT_EQ(at(47), "");  // the dialog leaves it a plain square
    key(Qt::Key_F);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(run(48, 50), "RUT");
    EXPECT_EQ(run(18, 48, 15) + run(20, 50, 15), "EARMAT");

    // The dialog of square 47 offers RUT's synonyms; a pick is its clue word.
    modal.then([&](ui::Form&) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        EXPECT_TRUE(d.M_Velg1->isVisible());
        EXPECT_FALSE(d.M_Velg2->isVisible());
        EXPECT_EQ(d.T_Ord1.edit()->placeholderText(), "clue for RUT");
        d.M_Velg1->trigger();
        ASSERT_TRUE(d.M_Ledetekst1->isVisible());
        QStringList offered;
        for (QAction* a : d.M_Ledetekst1->actions()) offered << a->text();
        EXPECT_EQ(offered, QStringList({"ODD", "GROOVE"}));
        QAction* odd = d.M_Ledetekst1->actions().front();
        QTest::mouseClick(d.M_Ledetekst1, Qt::LeftButton, {}, d.M_Ledetekst1->actionGeometry(odd).center());
        EXPECT_EQ(d.T_Ord1.Text(), "ODD");
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    QTest::mouseClick(f().X(47).button(), Qt::LeftButton);
    EXPECT_EQ(M::RuteOrd1[47], "ODD");
    EXPECT_EQ(at(47), "X");
    // A square whose answers have clue words offers nothing.
    modal.then([&](ui::Form&) { EXPECT_FALSE(M::F_Egenskaper().M_Velg1->isVisible()); });
    QTest::mouseClick(f().X(17).button(), Qt::LeftButton);
    // Nothing was written to the word database.
    EXPECT_EQ(db.count("T_Ord"), 4);
    EXPECT_EQ(db.count("T_OrdSynonym"), 8);
}

TEST_F(Filling, CancelKeepsTheGridAsItWas) {
    f().fyll_velmora1("OAT", 3, 17, false);
    const auto before = faces();
    const size_t steps = f().History().undoable();
    QString caption;
    ui::setProgressHandler([&](const ui::ProgressCall& c) {
        caption = c.caption;
        c.task.cancel();
    });
    key(Qt::Key_F);
    EXPECT_EQ(caption, "Filling the grid…");
    EXPECT_EQ(firstDifference(faces(), before), 0);
    EXPECT_EQ(f().History().undoable(), steps);
    EXPECT_TRUE(boxes.calls().empty());
}

TEST(FillSearch, FillsAWordSquareWhereTheFirstWordsLeadAstray) {
    // Three across and three down answers over one 3 by 3 block (squares
    // 17-19, 32-34, 47-49): every letter is shared.
    sim::Grid g;
    for (int n : {16, 31, 46}) g[size_t(n)].lengde1 = 3, g[size_t(n)].ord1 = "A";
    for (int n : {2, 3, 4}) g[size_t(n)].lengde2 = 3, g[size_t(n)].ord2 = "D";
    const auto answers = sim::Slots(g);
    ASSERT_EQ(answers.size(), 6u);
    sim::FillWords words;
    // Many words lead to dead ends; the only fill is BAT/ARE/TEN both ways.
    words.byClue[{"A", 3}] = {"RAN", "CAB", "OAR", "ETA", "ORE", "ART", "ERA", "BAT", "ARE", "TEN"};
    words.byClue[{"D", 3}] = words.byClue[{"A", 3}];
    const sim::FillResult r = sim::Fill(g, answers, words);
    EXPECT_EQ(r.unfilled(), 0);
    const sim::Grid out = sim::Filled(g, answers, r);
    QString rows;
    for (int n : {17, 18, 19, 32, 33, 34, 47, 48, 49}) rows += out[size_t(n)].caption;
    EXPECT_EQ(rows, "BATARETEN");
}

TEST(FillSearch, ASavedGridKeepsTheUsersPicksAndTheFrames) {
    sim::Grid g;
    g[17].ord1 = "WORD";
    g[17].lengde1 = 3;
    g[17].caption = "X";
    g[17].bold = true;
    g[17].picked1 = true;
    g[5].ord2 = "CAT";
    g[5].lengde2 = 3;
    g[5].caption = "Y";
    g[5].bold = true;
    g[5].flagged = true;
    for (int n : {18, 19, 20}) {
        g[size_t(n)].caption = QString("OAT")[n - 18];
        g[size_t(n)].writers = {{17, true}};
    }
    const sim::ipuz::Loaded back = sim::ipuz::Read(sim::ipuz::Write(g));
    ASSERT_TRUE(back.grid.has_value()) << back.error.toStdString();
    EXPECT_TRUE(*back.grid == g);
    EXPECT_TRUE(sim::Slots(*back.grid).back().kept);  // answers by clue square: 5 down, then 17 across
}

TEST(FillSearch, AnOpenAnswerPrefersAWordItsDialogCanOfferCluesFor) {
    // Open answer 16 across (17-19) crosses clued answer 3 down in square
    // 18; only its middle letter is bound.
    sim::Grid g;
    g[16].lengde1 = 3;
    g[3].ord2 = "D";
    g[3].lengde2 = 1;
    const auto answers = sim::Slots(g);
    sim::FillWords words;
    words.byClue[{"D", 1}] = {"U"};
    words.byLength[3] = {"BUG", "HUT", "CAT", "RUT", "NUT"};
    sim::FillResult r = sim::Fill(g, answers, words);
    ASSERT_EQ(r.words, std::vector<QString>({"U", "BUG"}));
    const auto clueable = [](const QString& w) { return w == "RUT" || w == "CAT"; };
    sim::PreferForOpenAnswers(answers, words, r, clueable);
    EXPECT_EQ(r.words, std::vector<QString>({"U", "RUT"}));  // CAT would change the shared U
    // Only the first words asked count.
    r.words[1] = "BUG";
    sim::PreferForOpenAnswers(answers, words, r, clueable, 1);  // HUT only
    EXPECT_EQ(r.words[1], "BUG");
}
