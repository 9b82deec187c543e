// "Words that fit" from the grid's right-click menu: the stored words that
// fit an answer's squares, common first; the filter; a click as the user's
// pick, one undo step; the list following the grid and the answer clicked
// last; and the clue words offered for the picked open answer.
#include "simulator/fitwords.h"
#include "simulator.h"

namespace {

// Square 16 asks for an open answer of 5 letters across (17-21), square 3
// for one of 3 letters down (18, 33, 48), which shows CAT.
TEST_F(Sim, WordsThatFitListsThemAndAClickIsThePickOneUndoStepAway) {
    for (const char* w : {"ACORN", "OCEAN", "SCALE", "SCOPE", "SC ARF", "AC.DC", "ICE", "CAT", "COT"}) db.addWord(w);
    db.exec("CREATE TABLE T_Rang (Ord TEXT, Rang INTEGER)");
    db.exec("INSERT INTO T_Rang VALUES ('SCOPE', 1), ('FISH', 1)");
    setSquare(16, "", 5, "", 0);
    setSquare(3, "", 0, "", 3);
    f().fyll_velmora2("CAT", 3, 3, false);
    F_Passer& p = M::F_Passer();
    const auto listed = [&p] { return p.Caption() + ": " + entries(p.L_Passer); };
    menu(19, "Words that fit…");
    ASSERT_TRUE(p.Visible() && !p.IsModal());
    EXPECT_EQ(listed(), "Words that fit ?C??? - 5 word(s): SCOPE,ACORN,OCEAN,SC ARF,SCALE");  // letters only
    p.T_Filter.setText("AR");
    EXPECT_EQ(entries(p.L_Passer), "ACORN,SC ARF");
    clickEntry(p.L_Passer, 1);
    EXPECT_EQ(run(17, 21) + run(18, 48, 15) + (doc().at(16).picked1 ? " picked" : ""), "SCARFCAT picked");
    key(Qt::Key_Z);
    EXPECT_EQ(run(17, 21) + run(18, 48, 15), ".C...CAT");
    p.T_Filter.setText("");

    // The list follows the grid: an E in the last square.
    f().fyll_velmora2("E", 1, 6, false);
    EXPECT_EQ(listed(), "Words that fit ?C??E - 2 word(s): SCOPE,SCALE");

    // And the answer clicked last: the down one through square 33, whose
    // C the across pick now shares.
    clickEntry(p.L_Passer, 1);
    menu(33, "Words that fit…");
    EXPECT_EQ(listed(), "Words that fit C?? - 2 word(s): CAT,COT");
    clickEntry(p.L_Passer, 1);
    EXPECT_EQ(run(18, 48, 15) + run(17, 21), "COTSCALE");
    // A square of both answers offers the choice.
    f().X_MouseUp(18, QPoint(0, 0));
    EXPECT_EQ(f().M_Passer->menu(), f().M_PasserRetning);
    f().M_PasserVannrett->trigger();
    f().M_Rutenett->hide();
    EXPECT_TRUE(p.pattern() == "?C??E" && boxes.calls().empty());

    // The picked open answer's clue words: those that list SCALE, common first.
    db.synonym("BALANCE", "SCALE");
    db.addWord("FISH");
    db.value("FISH", "SCALE");
    modal.then([&](ui::Form&) { EXPECT_EQ(entries(M::F_Egenskaper().M_Ledetekst1), "FISH,BALANCE"); });
    clickSquare(16);
}

}  // namespace
