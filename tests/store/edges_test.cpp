// Edge and mirror cases of the word store, data-driven: the second link of
// a word is erased and not the first, for categories, values and synonyms
// alike; the pattern matcher at the ends of its texts and over letters of
// more than one byte; the lookup range past "Z".
#include "store/wildcard.h"
#include "store/wordstore.h"
#include "support.h"

using testing_support::TempDb;
using testing_support::Words;

namespace {

using Link = bool (*)(store::Database&, const std::string&, const std::string&);
struct LinkKind {
    const char* name;
    Link save;
    Link erase;
    Words (*read)(store::Database&, const std::string&);
};

const LinkKind kLinks[] = {
    {"Category", [](auto& d, auto& w, auto& t) { return d.SaveCategoryLink(w, t); },
     [](auto& d, auto& w, auto& t) { return d.EraseCategoryLink(w, t); },
     [](store::Database& d, const std::string& w) { return d.CategoriesOf(w); }},
    {"Value", [](auto& d, auto& w, auto& t) { return d.SaveValueLink(w, t); },
     [](auto& d, auto& w, auto& t) { return d.EraseValueLink(w, t); },
     [](store::Database& d, const std::string& w) { return d.Values(w, false); }},
    {"Synonym", [](auto& d, auto& w, auto& t) { return d.SaveSynonymPair(w, t); },
     [](auto& d, auto& w, auto& t) { return d.EraseSynonymPair(w, t) > 0; },
     [](store::Database& d, const std::string& w) { return d.Synonyms(w, false); }},
};

class Links : public ::testing::TestWithParam<LinkKind> {};

}  // namespace

TEST_P(Links, TheErasedLinkIsTheOneNamedAndTheOthersStay) {
    TempDb db;
    auto d = store::Database(db.file());
    const LinkKind& k = GetParam();
    for (const char* t : {"FIRST", "SECOND", "THIRD"}) EXPECT_TRUE(k.save(d, "WORD", t)) << t;
    EXPECT_FALSE(k.save(d, "WORD", "SECOND"));  // a repeated link is no new one
    EXPECT_TRUE(k.save(d, "OTHER", "SECOND"));
    EXPECT_TRUE(k.erase(d, "WORD", "SECOND"));
    EXPECT_EQ(k.read(d, "WORD"), Words({"FIRST", "THIRD"}));
    EXPECT_EQ(k.read(d, "OTHER"), Words({"SECOND"}));
    EXPECT_TRUE(k.erase(d, "WORD", "THIRD"));  // the last one
    EXPECT_EQ(k.read(d, "WORD"), Words({"FIRST"}));
    EXPECT_FALSE(k.erase(d, "WORD", "THIRD"));
}

INSTANTIATE_TEST_SUITE_P(Store, Links, ::testing::ValuesIn(kLinks),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Links, ASynonymPairIsErasedInBothDirections) {
    TempDb db;
    auto d = store::Database(db.file());
    d.SaveSynonymPair("A", "B");
    d.SaveSynonymPair("A", "C");
    EXPECT_EQ(d.EraseSynonymPair("B", "A"), 2);  // named from either side
    EXPECT_EQ(d.Synonyms("A", false), Words({"C"}));
    EXPECT_TRUE(d.Synonyms("B", false).empty());
    EXPECT_EQ(d.Synonyms("C", false), Words({"A"}));
}

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

TEST(Wildcards, ALookupRangeReachesTheLettersAfterZ) {
    TempDb db;
    for (const char* w : {"BLZ", "BLÅBÆR", "BLØ", "BLÆ", "BM", "BL"}) db.addWord(w);
    auto d = store::Database(db.file());
    EXPECT_EQ(d.PatternLookup("BL"), Words({"BL", "BLZ", "BLÆ", "BLØ", "BLÅBÆR"}));  // Norwegian order
    EXPECT_EQ(d.PatternLookup("BL?"), Words({"BLZ", "BLÆ", "BLØ", "BLÅBÆR"}));
    EXPECT_EQ(d.PatternLookup("BLÅ"), Words({"BLÅBÆR"}));
}
