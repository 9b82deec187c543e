// The grid being composed, on the document alone: where an answer's
// letters go and what stops them, across and down alike; the fit rule;
// clue marks and clearing; undo and redo of whole steps.
#include <gtest/gtest.h>

#include <stdexcept>

#include "evening.h"
#include "grid/fill.h"

using evening::Captions;

namespace {

// An answer runs up to the grid's edge and no further, from every square of
// a grid of 15 by 15 and of one of 7 rows by 11 columns, across and down:
// each letter in the row (across) or column (down) of its clue square, and
// none across from the last column.
class Edges : public ::testing::TestWithParam<sim::Geometry> {};

TEST_P(Edges, AnswersGoUpToTheEdgeAndNoFurther) {
    const sim::Geometry geo = GetParam();
    const sim::Grid empty(geo);
    for (int row = 1; row <= geo.rows; ++row)
        for (int column = 1; column <= geo.columns; ++column)
            for (bool across : {true, false}) {
                const int clue = (row - 1) * geo.columns + column;
                const int room = across ? geo.columns - column : geo.rows - row;
                const sim::Answer a{int16_t(clue), across};
                SCOPED_TRACE(testing::Message() << (across ? "across" : "down") << " from " << row << ", " << column);
                ASSERT_FALSE(sim::Fits(empty, a, QString(room + 1, 'A')));
                sim::Document d(geo);
                ASSERT_FALSE(d.Write(QString(room + 1, 'A'), room + 1, clue, false, across));
                if (room == 0) continue;
                ASSERT_TRUE(sim::Fits(empty, a, QString(room, 'A')));
                ASSERT_EQ(sim::Pattern(empty, a, room), QString(room, '?'));
                d.reset();
                ASSERT_TRUE(d.Write(QString(room, 'A'), room, clue, false, across));
                for (int k = 1; k <= room; ++k)
                    ASSERT_EQ(d.at(across ? clue + k : clue + k * geo.columns).caption, "A") << k;
            }
    EXPECT_FALSE(sim::Fits(empty, {0, true}, "A") || sim::Fits(empty, {int16_t(geo.size() + 1), false}, "A"));
}

INSTANTIATE_TEST_SUITE_P(Grid, Edges, ::testing::Values(sim::Geometry{}, sim::Geometry{7, 11}), [](const auto& p) {
    return std::to_string(p.param.rows) + "x" + std::to_string(p.param.columns);
});

// Letters stop at other letters and at clue marks, across and down alike.
// Our answer runs from clue square 32; a crossing answer puts an A where
// our letter 2 goes.
class Directions : public ::testing::TestWithParam<bool> {
protected:
    bool across = GetParam();
    int at(int clue, int k) const { return sim::Target(sim::Geometry{}, {int16_t(clue), across}, k); }
    QString along(const sim::Document& d, int clue, int length) const {
        return Captions(d.squares(), at(clue, 1), at(clue, length), across ? 1 : d.columns());
    }
};

TEST_P(Directions, LettersStopAtOtherLettersAndClueMarksUnlessOverwriting) {
    sim::Document d;
    const int crossing = at(32, 2) - (across ? d.columns() : 1);
    ASSERT_TRUE(d.Write("A", 1, crossing, false, !across));
    EXPECT_FALSE(d.Write("COT", 3, 32, false, across));
    EXPECT_EQ(along(d, 32, 3), "CA.");  // stopped at the clash, the crossing kept
    EXPECT_TRUE(d.Write("CAT", 3, 32, false, across) && !d.Write("cat", 3, 32, false, across));  // case matters
    EXPECT_EQ(along(d, 32, 3), "CAT");
    // Letters only, of the right case; the shared A binds, as the crossing
    // wrote it too, our own letters do not.
    const sim::Answer ours{32, across};
    for (const char* w : {"", "A-B", "A B", "ØL9", "A.B"}) EXPECT_FALSE(sim::Fits({}, ours, QString::fromUtf8(w))) << w;
    EXPECT_TRUE(sim::Fits({}, ours, QString::fromUtf8("ØLE")));
    const auto fits = [&](const char* w) { return QString(sim::Fits(d.squares(), ours, w) ? "+" : "-") + w; };
    EXPECT_EQ(QString::number(d.at(at(32, 2)).writers.size()) + fits("CUT") + fits("BAD") +
                  sim::Pattern(d.squares(), ours, 4),
              "2-CUT+BAD?A??");

    // A clue mark stops a letter, except its own letter X on "X", which
    // then shows as a letter on the mark's colour and binds.
    d.setSquare(at(32, 4), sim::Square{"X", sim::kClueColour, true, "", "", 0, 0, {}});
    EXPECT_EQ(sim::Pattern(d.squares(), ours, 5), "?A?#?");
    EXPECT_TRUE(!d.Write("CATS", 4, 32, false, across) && d.Write("CATX", 4, 32, false, across));
    EXPECT_TRUE(!d.at(at(32, 4)).bold && d.at(at(32, 4)).back == sim::kClueColour);
    EXPECT_EQ(fits("CATS"), "-CATS");
    // Overwriting replaces everything in the path; letters past the word's end are emptied.
    EXPECT_TRUE(d.Write("WX", 4, 32, true, across));
    EXPECT_EQ(along(d, 32, 5), "WX...");
    EXPECT_FALSE(d.Write("AB", 2, 32, false, across));
    EXPECT_EQ(along(d, 32, 2), "WX");
    // A count of 0 writes nothing.
    EXPECT_TRUE(d.Write("ZZZ", 0, 100, false, across));
    EXPECT_EQ(along(d, 100, 3), "...");
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
        const bool mark = *c.caption != 0;
        const auto back = mark ? std::optional(sim::kClueColour) : std::nullopt;
        EXPECT_TRUE(d.at(7) == (sim::Square{c.caption, back, mark, c.ord1, c.ord2, 0, 0, {}})) << c.caption;
    }
    evening::Compose(d);
    EXPECT_EQ(Captions(d.squares(), 1, 6) + Captions(d.squares(), 16, 46, 15), "XYLARGESEA");
    EXPECT_EQ(Captions(d.squares(), 48, 51) + Captions(d.squares(), 35, 65, 15), "XAA.RAT");
    d.ClearSquare(1);
    const sim::Square cleared{"", std::nullopt, true, "", "", 0, 0, {}};
    EXPECT_TRUE(d.at(1) == cleared && d.at(101) == cleared);
    EXPECT_EQ(d.RuteRetning1(1) * 10 + d.RuteRetning2(1), 28);
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
    ASSERT_EQ(d.history().undoable(), 2u);
    const sim::Grid both = d.squares();
    // Each undo or redo, whether it took a step, and what the grid shows after it.
    const auto shown = [&] { return d.RuteOrd1(1) + Captions(d.squares(), 2, 3) + Captions(d.squares(), 16, 31, 15); };
    const std::tuple<bool, bool, const char*> steps[] = {{true, true, "BIG...."},  {true, true, "...."},
                                                         {true, false, "...."},    {false, true, "BIG...."},
                                                         {false, true, "BIGABCD"}, {false, false, "BIGABCD"}};
    for (const auto& [undo, took, after] : steps) {
        EXPECT_EQ(undo ? d.Undo() : d.Redo(), took);
        EXPECT_EQ(shown(), after);
    }
    EXPECT_TRUE(d.squares() == both && told == 6);
    // Not while an edit is under way; a new change drops what could be redone.
    {
        sim::Document::Edit step(d);
        EXPECT_FALSE(d.Undo());
    }
    EXPECT_TRUE(d.Undo());
    d.Write("EF", 2, 1, true, true);
    EXPECT_EQ(d.history().redoable(), 0u);
    EXPECT_EQ(d.history().undoable(), 2u);
    // A whole grid is one step; only one of the document's size.
    d.setSquares(both);
    EXPECT_TRUE(d.Undo());
    EXPECT_EQ(Captions(d.squares(), 2, 3), "EF");
    EXPECT_THROW(d.setSquares(sim::Grid(sim::Geometry{15, 14})), std::invalid_argument);
}

TEST_P(Directions, ABlockEndsAnAnswerAsTheEdgeDoes) {
    sim::Grid g{};
    const sim::Answer a{1, across};
    const int third = sim::Target(g, a, 3);
    g[size_t(third)].block = true;
    g[size_t(third)].back = sim::kBlockColour;
    EXPECT_TRUE(sim::Fits(g, a, "AB") && !sim::Fits(g, a, "ABC"));
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
    EXPECT_EQ(d.at(sim::Target(g, a, 2)).caption, "B");
    d.MarkClueSquare(third);
    EXPECT_TRUE(d.at(third).block && d.at(third).caption.isEmpty());
    d.setCaption(third, "C");
    EXPECT_TRUE(!d.at(third).block && d.Write("ABC", 3, 1, false, across));
}

INSTANTIATE_TEST_SUITE_P(Grid, Directions, ::testing::Bool(),
                         [](const auto& p) { return std::string(p.param ? "Across" : "Down"); });

}  // namespace
