// The grid being composed, on the document alone: where an answer's
// letters go and what stops them, across and down alike; the fit rule;
// clue marks and clearing; undo and redo of whole steps.
#include <gtest/gtest.h>

#include "evening.h"
#include "grid/fill.h"

using evening::Captions;

namespace {

struct EdgeCase {
    int clue;
    bool across;
    int length;
    bool fits;
};

class Edges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(Edges, AnswersGoUpToTheEdgeAndNoFurther) {
    const EdgeCase& c = GetParam();
    const sim::Answer a{int16_t(c.clue), c.across};
    const QString word(c.length, QChar('A'));
    EXPECT_EQ(sim::Fits(sim::Grid{}, a, word), c.fits);
    // The pattern the candidates are matched against ends where the edge does.
    EXPECT_EQ(sim::Pattern(sim::Grid{}, a, c.length).size() == c.length, c.fits);
    // Writing stops there too, with every letter in its own row or column.
    sim::Document d;
    EXPECT_EQ(d.Write(word, c.length, c.clue, false, c.across), c.fits);
    int written = 0;
    for (int n = 1; n <= d.size(); ++n) {
        if (d.at(n).caption.isEmpty()) continue;
        ++written;
        EXPECT_EQ(c.across ? d.RowOf(n) : d.ColumnOf(n), c.across ? d.RowOf(c.clue) : d.ColumnOf(c.clue)) << n;
    }
    EXPECT_EQ(written == c.length, c.fits);
}

INSTANTIATE_TEST_SUITE_P(Grid, Edges,
                         ::testing::Values(
                             // Across: from the first square, ending on the last column; none from the last column.
                             EdgeCase{1, true, 14, true}, EdgeCase{1, true, 15, false}, EdgeCase{13, true, 2, true},
                             EdgeCase{13, true, 3, false}, EdgeCase{14, true, 1, true}, EdgeCase{15, true, 1, false},
                             EdgeCase{45, true, 2, false}, EdgeCase{211, true, 14, true}, EdgeCase{224, true, 1, true},
                             EdgeCase{224, true, 2, false}, EdgeCase{225, true, 1, false},
                             // Down: the first column to the bottom, the last column to the last square.
                             EdgeCase{1, false, 14, true}, EdgeCase{1, false, 15, false}, EdgeCase{196, false, 1, true},
                             EdgeCase{196, false, 2, false}, EdgeCase{200, false, 2, false},
                             EdgeCase{210, false, 1, true}, EdgeCase{15, false, 14, true},
                             EdgeCase{15, false, 15, false}, EdgeCase{211, false, 1, false},
                             EdgeCase{225, false, 1, false}));

// Letters stop at other letters and at clue marks, across and down alike.
// Our answer runs from clue square 32; a crossing answer puts an A where
// our letter 2 goes.
class Directions : public ::testing::TestWithParam<bool> {
protected:
    bool across = GetParam();
    int at(int clue, int k) const { return sim::Target({int16_t(clue), across}, k); }
    QString along(const sim::Document& d, int clue, int length) const {
        return Captions(d, at(clue, 1), at(clue, length), across ? 1 : 15);
    }
    bool write(sim::Document& d, const QString& w, int count, int clue, bool overwrite) {
        return d.Write(w, count, clue, overwrite, across);
    }
};

TEST_P(Directions, LettersStopAtOtherLettersAndClueMarksUnlessOverwriting) {
    sim::Document d;
    const int crossing = at(32, 2) - (across ? 15 : 1);
    ASSERT_TRUE(d.Write("A", 1, crossing, false, !across));
    EXPECT_FALSE(write(d, "COT", 3, 32, false));
    EXPECT_EQ(along(d, 32, 3), "CA.");  // stopped at the clash, the crossing kept
    EXPECT_TRUE(write(d, "CAT", 3, 32, false));
    EXPECT_FALSE(write(d, "cat", 3, 32, false));  // another case is another letter
    EXPECT_EQ(along(d, 32, 3), "CAT");
    // The shared A binds: the crossing wrote it too. Our own letters do not.
    const sim::Answer ours{32, across};
    EXPECT_EQ(d.at(at(32, 2)).writers.size(), 2u);
    EXPECT_FALSE(sim::Fits(d.squares(), ours, "CUT"));
    EXPECT_TRUE(sim::Fits(d.squares(), ours, "BAD"));
    EXPECT_EQ(sim::Pattern(d.squares(), ours, 4), "?A??");

    // A clue mark stops a letter, except its own letter X on "X", which
    // then shows as a letter on the mark's colour and binds.
    sim::Square mark;
    mark.caption = "X";
    mark.back = sim::kClueColour;
    mark.bold = true;
    d.setSquare(at(32, 4), mark);
    EXPECT_EQ(sim::Pattern(d.squares(), ours, 5), "?A?#?");
    EXPECT_FALSE(write(d, "CATS", 4, 32, false));
    EXPECT_TRUE(write(d, "CATX", 4, 32, false));
    EXPECT_FALSE(d.at(at(32, 4)).bold);
    EXPECT_EQ(d.at(at(32, 4)).back, sim::kClueColour);
    EXPECT_FALSE(sim::Fits(d.squares(), ours, "CATS"));
    // Overwriting replaces everything in the path; letters past the word's end are emptied.
    EXPECT_TRUE(write(d, "WX", 4, 32, true));
    EXPECT_EQ(along(d, 32, 5), "WX...");
    EXPECT_FALSE(write(d, "AB", 2, 32, false));
    EXPECT_EQ(along(d, 32, 2), "WX");
    // A count of 0 writes nothing.
    EXPECT_TRUE(write(d, "ZZZ", 0, 100, false));
    EXPECT_EQ(along(d, 100, 3), "...");
}

INSTANTIATE_TEST_SUITE_P(Grid, Directions, ::testing::Bool(),
                         [](const auto& p) { return std::string(p.param ? "Across" : "Down"); });

TEST(Document, FitsOnlyLettersOfTheRightCase) {
    const sim::Grid g{};
    const sim::Answer a{11, true};
    EXPECT_FALSE(sim::Fits(g, a, ""));
    for (const char* w : {"A-B", "A B", "ØL9", "A.B"}) EXPECT_FALSE(sim::Fits(g, a, QString::fromUtf8(w))) << w;
    EXPECT_TRUE(sim::Fits(g, a, QString::fromUtf8("ØLE")));
    EXPECT_FALSE(sim::Fits(g, {0, true}, "A"));
}

TEST(Document, ClueMarksFollowTheClueWordsAndClearingKeepsBoldAndDirections) {
    sim::Document d;
    const struct {
        const char *ord1, *ord2, *caption;
    } cases[] = {{"BIG", "SEA", "XY"}, {"BIG", "", "X"}, {"", "SEA", "Y"}, {"", "", ""}};
    for (const auto& c : cases) {
        d.setRuteOrd(7, true, c.ord1);
        d.setRuteOrd(7, false, c.ord2);
        d.MarkClueSquare(7);
        EXPECT_EQ(d.at(7).caption, c.caption);
        EXPECT_EQ(d.at(7).bold, *c.caption != 0);
        EXPECT_EQ(d.at(7).back, *c.caption ? std::optional(sim::kClueColour) : std::nullopt);
    }
    evening::Compose(d);
    EXPECT_EQ(Captions(d, 1, 6) + Captions(d, 16, 46, 15), "XYLARGESEA");
    EXPECT_EQ(Captions(d, 48, 51) + Captions(d, 35, 65, 15), "XAA.RAT");
    d.ClearSquare(1);
    EXPECT_EQ(d.at(1).caption + d.RuteOrd1(1) + d.RuteOrd2(1), "");
    EXPECT_EQ(d.RuteLengde1(1) + d.RuteLengde2(1), 0);
    EXPECT_TRUE(d.at(1).bold && !d.at(1).back);
    EXPECT_EQ(d.RuteRetning1(1) * 10 + d.RuteRetning2(1), 28);
    EXPECT_TRUE(d.at(101).bold && d.at(101).caption.isEmpty());
    d.ClearAll();
    EXPECT_TRUE(d.squares() == sim::Grid{});
}

TEST(Document, UndoAndRedoTakeWholeStepsInTheirOrder) {
    sim::Document d;
    int told = 0;
    d.stepped = [&] { ++told; };
    d.setRuteOrd(1, true, "BIG");  // step 1
    {
        sim::Document::Edit step(d);  // step 2: two answers as one
        d.Write("AB", 2, 1, false, true);
        d.Write("CD", 2, 1, false, false);
    }
    EXPECT_EQ(told, 2);
    const sim::Grid both = d.squares();
    ASSERT_EQ(d.history().undoable(), 2u);
    EXPECT_TRUE(d.Undo());
    EXPECT_EQ(Captions(d, 2, 3) + Captions(d, 16, 31, 15), "....");
    EXPECT_EQ(d.RuteOrd1(1), "BIG");  // the first step stays
    EXPECT_TRUE(d.Undo());
    EXPECT_TRUE(d.squares() == sim::Grid{});
    EXPECT_FALSE(d.Undo());
    EXPECT_TRUE(d.Redo());
    EXPECT_EQ(d.RuteOrd1(1), "BIG");
    EXPECT_EQ(Captions(d, 2, 3), "..");  // the first step comes back first
    EXPECT_TRUE(d.Redo());
    EXPECT_TRUE(d.squares() == both);
    EXPECT_FALSE(d.Redo());
    EXPECT_EQ(told, 6);
    // Not while an edit is under way; a new change drops what could be redone.
    {
        sim::Document::Edit step(d);
        EXPECT_FALSE(d.Undo());
    }
    EXPECT_TRUE(d.Undo());
    d.Write("EF", 2, 1, true, true);
    EXPECT_EQ(d.history().redoable(), 0u);
    EXPECT_EQ(d.history().undoable(), 2u);
    // A whole grid is one step.
    d.setSquares(both);
    EXPECT_TRUE(d.Undo());
    EXPECT_EQ(Captions(d, 2, 3), "EF");
}

TEST(Document, ABlockEndsAnAnswerAsTheEdgeDoes) {
    for (bool across : {true, false}) {
        sim::Grid g{};
        const sim::Answer a{1, across};
        const int third = sim::Target(a, 3);
        g[size_t(third)].block = true;
        g[size_t(third)].back = sim::kBlockColour;
        EXPECT_TRUE(sim::Fits(g, a, "AB"));
        EXPECT_FALSE(sim::Fits(g, a, "ABC"));
        EXPECT_EQ(sim::Pattern(g, a, 5), "??");
        // The fill finds no room for three letters there.
        g[1].ord1 = g[1].ord2 = "W";
        g[1].lengde1 = g[1].lengde2 = 3;
        EXPECT_FALSE(sim::Slots(g)[across ? 0 : 1].fits);
        // Writing stops before it, even over letters; a look at it in the
        // square dialog leaves it a block, a letter set in it ends it.
        sim::Document d;
        d.setSquares(g);
        EXPECT_FALSE(d.Write("ABC", 3, 1, true, across));
        EXPECT_EQ(d.at(sim::Target(a, 2)).caption, "B");
        d.MarkClueSquare(third);
        EXPECT_TRUE(d.at(third).block && d.at(third).caption.isEmpty());
        d.setCaption(third, "C");
        EXPECT_FALSE(d.at(third).block);
        EXPECT_TRUE(d.Write("ABC", 3, 1, false, across));
    }
}

}  // namespace
