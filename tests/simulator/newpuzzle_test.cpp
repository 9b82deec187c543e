// "New puzzle…" from the simulator window: the question before a grid that
// holds anything is replaced (with its tick box), Cancel and a word
// database too small leaving the grid as it was, and a made puzzle shown
// as one undoable step that keeps every rule of the form.
#include "grid/generate.h"
#include "simulator.h"

namespace {

class NewPuzzle : public Sim {
protected:
    // Every word of up to seven letters over A-D, each listed by a clue
    // word in W-Z.
    void addWords() {
        db.exec(
            "WITH RECURSIVE l(c) AS (VALUES ('A'), ('B'), ('C'), ('D')), "
            "w(s) AS (SELECT c FROM l UNION ALL SELECT s || c FROM w, l WHERE length(s) < 7) "
            "INSERT INTO T_OrdSynonym (Ord, Synonym) SELECT replace(replace(replace(replace(s, 'A', 'W'), 'B', "
            "'X'), 'C', 'Y'), 'D', 'Z') || 'Q', s FROM w WHERE length(s) > 1");
    }
    // The question's tick, as the test leaves it.
    bool keep = false;
    void answer(ui::Answer a) {
        boxes.answer(a);
        boxes.during = [this](const ui::MsgBoxCall& c) {
            if (c.checked) *c.checked = keep;
        };
    }
};

TEST_F(NewPuzzle, AGridThatHoldsAnythingIsReplacedOnlyWhenTheUserSaysSo) {
    // An empty grid: no question; a word database too small is named.
    db.synonym("SEA", "OCEANS");
    menu(60, "New puzzle\u2026");
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The word database has no words of 2, 3, 4 or 5 letters with") &&
                doc().squares() == sim::Grid{});
    boxes.clear();
    setSquare(17, "word", 3, "", 0);
    remember();
    answer(ui::Answer::No);
    menu(60, "New puzzle\u2026");
    EXPECT_TRUE(boxes.lastPrompt().startsWith("Replace the grid with a new puzzle?") && unchanged());
    // Yes, then Cancel in the progress window: the grid as it was.
    addWords();
    answer(ui::Answer::Yes);
    ui::setProgressHandler([](const ui::ProgressCall& c) { c.task.cancel(); });  // Cancel
    menu(60, "New puzzle\u2026");
    EXPECT_TRUE(unchanged() && boxes.calls().size() == 2u);
}

TEST_F(NewPuzzle, APuzzleMadeKeepsWhatWasMadeAndIsOneUndoableStep) {
    addWords();
    f().fyll_velmora1("ABCA", 4, 61, false);
    doc().setPicked(61, true, true);
    setSquare(61, "xyzwq", 4, "", 0);
    remember();
    keep = true;
    answer(ui::Answer::Yes);
    menu(60, "New puzzle\u2026");
    EXPECT_EQ(boxes.calls().size(), 1u) << boxes.prompts().join(" ").toStdString();
    EXPECT_EQ(sim::gen::BrokenRules(doc().squares()).join("\n").toStdString(), "");
    EXPECT_EQ(run(62, 65) + doc().RuteOrd1(61), "ABCAXYZWQ");
    key(Qt::Key_Z);  // one step
    EXPECT_TRUE(unchanged());
}

}  // namespace
