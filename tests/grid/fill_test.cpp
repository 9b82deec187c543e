// Filling the whole grid, on plain data: the one fill where the first words
// lead astray, open answers of different lengths, the search stopped at
// its limit, the words preferred for open answers, and the report of what
// stayed empty.
#include <gtest/gtest.h>

#include <algorithm>

#include "evening.h"
#include "grid/fill.h"
#include "grid/search.h"

namespace {

using evening::Captions;

// A grid, the words its answers may take, and what filling it gives.
class FillSearch : public ::testing::Test {
protected:
    sim::Grid g;
    sim::FillWords words;
    std::vector<sim::Slot> answers;
    sim::FillResult r;
    sim::Grid out;
    void fill() {
        answers = sim::Slots(g);
        r = sim::Fill(g, answers, words);
        out = sim::Filled(g, answers, r);
    }
};

TEST_F(FillSearch, FillsAWordSquareWhereTheFirstWordsLeadAstray) {
    // Three across and three down answers over one 3 by 3 block (squares
    // 17-19, 32-34, 47-49): every letter is shared.
    for (int n : {16, 31, 46}) g[size_t(n)].lengde1 = 3, g[size_t(n)].ord1 = "A";
    for (int n : {2, 3, 4}) g[size_t(n)].lengde2 = 3, g[size_t(n)].ord2 = "D";
    // Many words lead to dead ends; the only fill is BAT/ARE/TEN both ways.
    words.byClue[{"A", 3}] = {"RAN", "CAB", "OAR", "ETA", "ORE", "ART", "ERA", "BAT", "ARE", "TEN"};
    words.byClue[{"D", 3}] = words.byClue[{"A", 3}];
    fill();
    // All six answers filled, and the search finished: nothing to report.
    EXPECT_EQ(
        Captions(out, 17, 19) + Captions(out, 32, 34) + Captions(out, 47, 49) + sim::FillReport(out, answers, words, r),
        "BATARETEN");
}

TEST_F(FillSearch, OpenAnswersOfDifferentLengthsTakeWordsOfTheirOwnLength) {
    // Open answer 16 across (17-19) and open answer 2 down (17, 32, 47, 62)
    // share square 17: only DOG and DUCK agree there.
    g[16].lengde1 = 3;
    g[2].lengde2 = 4;
    words.byLength[3] = {"CAT", "DOG"};
    words.byLength[4] = {"EMUS", "DUCK"};
    fill();
    EXPECT_EQ(r.words, std::vector<QString>({"DUCK", "DOG"}));  // by clue square: 2 down, then 16 across
    EXPECT_EQ(Captions(out, 17, 19) + Captions(out, 17, 62, 15), "DOGDUCK");
    EXPECT_EQ(sim::OpenAnswerShown(out, {2, false}, 4) + sim::OpenAnswerShown(out, {16, true}, 3), "DUCKDOG");
}

TEST_F(FillSearch, ASearchStoppedAtItsLimitKeepsTheBestAndSaysSo) {
    // Two across and two down answers over a 2 by 2 block, and AB the only
    // word: no fill has all four, and only a search through every choice knows it.
    const auto ab =
        std::make_shared<const sim::search::WordList>(2, 2, std::vector<uint8_t>{0, 1}, std::vector<uint64_t>{1});
    sim::search::Problem p;
    for (const auto& crossings : {std::vector<sim::search::Crossing>{{0, 2, 0}, {1, 3, 0}},
                                  {{0, 2, 1}, {1, 3, 1}},
                                  {{0, 0, 0}, {1, 1, 0}},
                                  {{0, 0, 1}, {1, 1, 1}}})
        p.vars.push_back({ab, ab->all(), crossings});
    for (long budget : {1L, 2'000'000L}) {
        const sim::search::Outcome o = sim::search::Solve(p, {}, budget);
        EXPECT_EQ(o.settled, budget > 1) << budget;
        ASSERT_EQ(o.choice.size(), 4u);
        EXPECT_GT(std::count(o.choice.begin(), o.choice.end(), 0), 0) << budget;  // the best found so far
    }
}

// Why each answer stayed empty and where: a clash with a crossing, no word
// of an open answer's length, only words with digits, no room; one answer
// in the singular; the twenty first named and the rest counted; a search
// stopped at its limit says a fuller fill may exist.
TEST_F(FillSearch, TheReportSaysWhereEachEmptyAnswerIsAndWhy) {
    g[16].ord1 = "SEA", g[16].lengde1 = 3;        // 17-19, crossed by T and U below
    g[61].lengde2 = 2;                            // open, and no word of 2 letters
    g[100].ord1 = "NOTHING", g[100].lengde1 = 4;  // only a word with digits
    g[150].ord2 = "EDGE", g[150].lengde2 = 9;     // runs off the bottom
    answers = sim::Slots(g);
    // XAZ stops at the U in 18; RUN passes it and stops at the T in 19.
    words.byClue[{"SEA", 3}] = {"XAZ", "RUN"};
    words.byClue[{"NOTHING", 4}] = {"R2D2"};
    words.byClue[{"EDGE", 9}] = {"ABCDEFGHI"};
    sim::Grid filled = g;
    filled[18].caption = "U", filled[19].caption = "T";
    r.words.assign(answers.size(), QString());
    EXPECT_EQ(sim::FillReport(filled, answers, words, r).toStdString(),
              "4 answers could not be filled:\n"
              "SEA, across from row 2, column 1: the crossing at row 2, column 4\n"
              "an open answer of 2 letters, down from row 5, column 1: no word of that length\n"
              "NOTHING, across from row 7, column 10: no word of that length\n"
              "EDGE, down from row 10, column 15: no room for 9 letters\n"
              "Their clue squares are framed in red.");
    r.words = {"", "SEAGOD", "SEAGOD", "SEAGOD"};
    r.settled = false;
    EXPECT_EQ(sim::FillReport(filled, answers, words, r).toStdString(),
              "1 answer could not be filled:\nSEA, across from row 2, column 1: the crossing at row 2, column 4\n"
              "Its clue square is framed in red. The search stopped at its limit; a fuller fill may exist.");

    std::vector<sim::Slot> many(450);
    for (size_t i = 0; i < many.size(); ++i) many[i].clue = QString("W%1").arg(i), many[i].answer.clue = 1;
    r.words.assign(many.size(), QString());
    const QStringList lines = sim::FillReport({}, many, {}, r).split('\n');
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines[0] + " " + lines[21], "450 answers could not be filled: and 430 more");
    EXPECT_TRUE(lines[20].startsWith("W19, across from row 1, column 1: ")) << lines[20].toStdString();
}

TEST_F(FillSearch, OnlyLettersGoIntoLetterSquares) {
    // 16 across (17-22) has a clue word, 46 across (47-51) is open.
    g[16].ord1 = "GOD", g[16].lengde1 = 6;
    g[46].lengde1 = 5;
    words.byClue[{"GOD", 6}] = {"ST.IVE", "POSEI2", "SEA GOD"};
    words.byLength[5] = {"10000", "N.Y.C.", "OCEAN"};
    fill();
    EXPECT_EQ(r.words, std::vector<QString>({"SEA GOD", "OCEAN"}));
    EXPECT_EQ(Captions(out, 17, 22) + Captions(out, 47, 51), "SEAGODOCEAN");
    EXPECT_EQ(sim::AnswerLetters("O'NEIL-SMITH JR") + sim::AnswerLetters("ST. IVES"), "ONEILSMITHJR");
}

TEST_F(FillSearch, AnOpenAnswerPrefersAWordItsDialogCanOfferCluesFor) {
    // Open answer 16 across (17-19) crosses clued answer 3 down in square
    // 18; only its middle letter is bound.
    g[16].lengde1 = 3;
    g[3].ord2 = "D";
    g[3].lengde2 = 1;
    words.byClue[{"D", 1}] = {"U"};
    words.byLength[3] = {"BUG", "HUT", "CAT", "RUT", "NUT"};
    fill();
    ASSERT_EQ(r.words, std::vector<QString>({"U", "BUG"}));
    const auto clueable = [](const QString& w) { return w == "RUT" || w == "CAT"; };
    sim::PreferForOpenAnswers(answers, words, r, clueable);
    EXPECT_EQ(r.words, std::vector<QString>({"U", "RUT"}));  // CAT would change the shared U
    // Only the first words asked count.
    r.words[1] = "BUG";
    sim::PreferForOpenAnswers(answers, words, r, clueable, 1);  // HUT only
    EXPECT_EQ(r.words[1], "BUG");
}

}  // namespace
