// Edge cases of the word store's patterns, data-driven: the matcher at the
// ends of its texts and over letters of more than one byte. (The lookup
// range past "Z" and the second link of a word erased are the engines'
// tests.)
#include "store/wildcard.h"
#include "support.h"

namespace {

struct Match {
    const char* pattern;
    const char* text;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<Match> {};

}  // namespace

TEST_P(Wildcards, MatchAsTheyShould) {
    const Match& m = GetParam();
    EXPECT_EQ(store::wildcardMatch(m.pattern, m.text), m.matches) << m.pattern << " ~ " << m.text;
}

// The last three were found by fuzzing: a broken UTF-8 sequence never
// swallows the "*" after it.
INSTANTIATE_TEST_SUITE_P(
    Store, Wildcards,
    ::testing::Values(Match{"", "", true}, Match{"*", "", true}, Match{"?", "", false}, Match{"", "A", false},
                      Match{"A", "AB", false}, Match{"AB", "A", false}, Match{"AB?", "AB", false},
                      Match{"?", "Ø", true}, Match{"??", "Ø", false}, Match{"A?", "AØ", true}, Match{"?Å", "ÆÅ", true},
                      Match{"*Å", "BLÅ", true}, Match{"*Å", "BLÆ", false}, Match{"B?Å*", "BLÅBÆR", true},
                      Match{"*?", "Ø", true}, Match{"Z?", "ZÆ", true}, Match{"*B", "BBB", true},
                      Match{"*AB", "AAB", true}, Match{"A*", "A", true}, Match{"A*B*C", "AXXBYYC", true},
                      Match{"A*B*C", "AXXBYY", false}, Match{"***", "", true},
                      Match{"A,\xbd\xa7\xbc.\xa7\xbc\xf5\xc0*", "A,\xbd\xa7\xbc.\xa7\xbc\xf5\xc0", true},
                      Match{"\xe2*", "\xe2XYZ", true}, Match{"\xe2?", "\xe2", false}));
