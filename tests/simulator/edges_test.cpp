// The grid's edges, data-driven, across and down alike: an answer fits up
// to the last square of its row or column and not one square further, from
// the first square and to the last one.
#include "grid/grid.h"
#include "support.h"

namespace {

struct EdgeCase {
    int clue;
    bool across;
    int length;
    bool fits;
};

class GridEdges : public ::testing::TestWithParam<EdgeCase> {};

}  // namespace

TEST_P(GridEdges, AnswersFitUpToTheEdgeAndNoFurther) {
    const EdgeCase& c = GetParam();
    const sim::Grid g{};
    const sim::Answer a{int16_t(c.clue), c.across};
    const QString word(c.length, QChar('A'));
    EXPECT_EQ(sim::Fits(g, a, word), c.fits);
    // The pattern the candidates are matched against ends where the edge does.
    EXPECT_EQ(sim::Pattern(g, a, c.length).size() == c.length, c.fits);
}

INSTANTIATE_TEST_SUITE_P(Simulator, GridEdges,
                         ::testing::Values(
                             // Across: the first row from its first square, ending on the last column.
                             EdgeCase{1, true, 14, true}, EdgeCase{1, true, 15, false}, EdgeCase{13, true, 2, true},
                             EdgeCase{13, true, 3, false}, EdgeCase{14, true, 1, true}, EdgeCase{15, true, 1, false},
                             // Across in the last row, to the last square.
                             EdgeCase{211, true, 14, true}, EdgeCase{224, true, 1, true}, EdgeCase{224, true, 2, false},
                             EdgeCase{225, true, 1, false},
                             // Down: the first column to the bottom, the last column to the last square.
                             EdgeCase{1, false, 14, true}, EdgeCase{1, false, 15, false}, EdgeCase{196, false, 1, true},
                             EdgeCase{196, false, 2, false}, EdgeCase{210, false, 1, true},
                             EdgeCase{15, false, 14, true}, EdgeCase{15, false, 15, false},
                             EdgeCase{211, false, 1, false}, EdgeCase{225, false, 1, false}));

TEST(GridEdges, TargetsRunAlongTheRowOrDownTheColumn) {
    for (bool across : {true, false})
        for (int k = 1; k <= 3; ++k)
            EXPECT_EQ(sim::Target(sim::Answer{100, across}, k), across ? 100 + k : 100 + 15 * k);
}
