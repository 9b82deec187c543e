// Fill grid from the simulator window: the words read from the word
// database, the answers that cannot be filled named in one message and
// framed, a user's pick kept, the words that list an open answer's word
// offered as clue words afterwards, the whole fill one undoable step, and
// Cancel. (What the fill finds and its report: tests/grid.)
#include <QLineEdit>

#include "simulator.h"

namespace {

// Clue square 17 asks for 3 letters across (squares 18-20), clue squares 3
// and 5 for 3 letters down (18, 33, 48 and 20, 35, 50). Of the first
// candidates OAT, EAR and KIT, OAT clashes with both; only ELM, EAR and MAT
// agree in every shared square.
class Filling : public Sim {
protected:
    void SetUp() override {
        Sim::SetUp();
        for (const char* s : {"OAT", "ELM", "ASH"}) db.synonym("WORD", s);
        for (const char* s : {"EAR", "OWL"}) db.synonym("HEAR", s);
        db.synonym("CAT", "KIT");
        for (const char* s : {"HEN", "MAT"}) db.value("CAT", s);
        setSquare(17, "word", 3, "", 0);
        setSquare(3, "", 0, "hear", 3);
        setSquare(5, "", 0, "cat", 3);
    }
};

// The words as the database gives them: a class member before a word of
// another sense (TREE's value OAK, not its synonym TAG); SEA GOD fills six
// squares by its letters; an open answer takes a stored word, but not one
// with a digit or a dot.
TEST_F(Filling, FindsTheWordsThatFitAndUndoAndCancelLeaveTheGridAsItWas) {
    db.synonym("TREE", "TAG");
    db.value("TREE", "OAK");
    db.synonym("OCEAN", "SEA GOD");
    for (const char* w : {"10000", "N.Y.C", "OCEAN"}) db.addWord(w);
    setSquare(211, "tree", 3, "", 0);
    setSquare(151, "ocean", 6, "", 0);
    setSquare(196, "", 5, "", 0);
    f().fyll_velmora1("OAT", 3, 17, false);  // as Simulate would write it: free
    remember();
    key(Qt::Key_F);
    // The three answers, the clue marks, which stay, and the words above.
    EXPECT_EQ(run(18, 20) + run(18, 48, 15) + run(20, 50, 15) + run(17, 17) + run(3, 5, 2) + " " + run(212, 214) +
                  run(152, 157) + run(197, 201),
              "ELMEARMATXYY OAKSEAGODOCEAN");
    EXPECT_TRUE(framed().empty() && boxes.calls().empty() && firstMisshown() == 0);
    key(Qt::Key_Z);  // one step
    EXPECT_TRUE(unchanged());
    ui::setProgressHandler([](const ui::ProgressCall& c) { c.task.cancel(); });  // Cancel
    key(Qt::Key_F);
    EXPECT_TRUE(unchanged() && boxes.calls().empty());
}

TEST_F(Filling, AnswersThatCannotBeFilledAreNamedFramedAndLeftEmpty) {
    // Square 47's XAZ would need other letters in both down answers; square
    // 100's clue word has no candidates at all.
    db.synonym("SEA", "XAZ");
    setSquare(47, "sea", 3, "", 0);
    setSquare(100, "nothing", 4, "", 0);
    f().fyll_velmora1("QQQQ", 4, 100, false);  // stale letters of a free answer
    menu(60, "Fill grid");
    EXPECT_EQ(boxes.prompts(), QStringList({"2 answers could not be filled:\n"
                                            "SEA, across from row 4, column 2: the crossing at row 4, column 3\n"
                                            "NOTHING, across from row 7, column 10: no word of that length\n"
                                            "Their clue squares are framed in red."}));
    EXPECT_EQ(framed(), std::vector<int>({47, 100}));
    // Everything else filled and consistent; the empty answers show only
    // what their crossings wrote.
    EXPECT_EQ(run(18, 20) + run(18, 48, 15) + run(20, 50, 15) + run(48, 50) + run(101, 104), "ELMEARMATR.T....");
    // A fill that leaves nothing empty takes the frames away.
    doc().setRuteLengde(100, true, 0);
    db.synonym("SEA", "RAT");
    boxes.clear();
    key(Qt::Key_F);
    EXPECT_TRUE(boxes.calls().empty() && framed().empty() && run(48, 50) == "RAT");
}

TEST_F(Filling, KeepsTheAnswerTheUserPicked) {
    clickSquare(17);  // Done! at once: only selects
    f().K_Simuler.button()->click();
    ASSERT_EQ(f().L_Synonymer1.List(0), "OAT");
    f().L_Synonymer1.setListIndex(0);  // the user picks OAT
    key(Qt::Key_F);
    // OAT stays; HEAR gives OWL for its O; no word of CAT begins with T.
    EXPECT_EQ(run(18, 20) + run(18, 48, 15) + run(20, 50, 15), "OATOWLT..");
    EXPECT_TRUE(boxes.calls().size() == 1u && framed() == std::vector<int>({5}));
}

TEST_F(Filling, AnOpenAnswerTakesAStoredWordAndOffersTheWordsListingItAsClues) {
    // Square 47 has a count and no clue word: any stored word of 3 letters
    // that begins with the R of EAR and ends with the T of MAT.
    for (const char* w : {"EAR", "RUT", "SUN", "ROAD"}) db.addWord(w);
    for (const char* w : {"GROOVE", "ODD"}) db.synonym(w, "RUT");
    setSquare(47, "", 3, "", 0);
    key(Qt::Key_F);
    EXPECT_EQ(run(48, 50) + QString::number(boxes.calls().size()), "RUT0");

    // The dialog of square 47 offers the words that list RUT; a pick is its clue word.
    modal.then([&](ui::Form&) {
        ::F_Egenskaper& d = M::F_Egenskaper();
        EXPECT_TRUE(d.M_Velg1->isVisible() && !d.M_Velg2->isVisible());
        EXPECT_EQ(d.T_Ord1.edit()->placeholderText(), "clue for RUT");
        d.M_Velg1->trigger();
        ASSERT_TRUE(d.M_Ledetekst1->isVisible());
        EXPECT_EQ(entries(d.M_Ledetekst1), "GROOVE,ODD");
        QAction* odd = d.M_Ledetekst1->actions().back();
        QTest::mouseClick(d.M_Ledetekst1, Qt::LeftButton, {}, d.M_Ledetekst1->actionGeometry(odd).center());
        QTest::mouseClick(d.K_LukkVindu.button(), Qt::LeftButton);
    });
    clickSquare(47);
    EXPECT_EQ(doc().RuteOrd1(47) + at(47), "ODDX");
    // A square whose answers have clue words offers nothing.
    modal.then([&](ui::Form&) { EXPECT_FALSE(M::F_Egenskaper().M_Velg1->isVisible()); });
    clickSquare(17);
}

}  // namespace
