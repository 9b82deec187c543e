// The composing tools' word matching: exact patterns, anagrams with blank
// tiles, the words that fit an answer's squares (letters only, a name by its
// letters), common words first; and what it reads from either engine.
#include "store/wordindex.h"

#include <optional>

#include "engines.h"

using testing_support::OnEngines;
using testing_support::Words;
using Search = store::WordIndex::Search;

namespace {

// TAKE is ranked twice (1 counts), NOTAWORD is not a word.
const store::WordIndex& sample() {
    static const auto ix = store::WordIndex::Build(
        store::WordSet::Of({"BAKE", "BAKERY", "CAKE", "LAKE", "LEMON", "LEMONS", "LIME", "MELON", "MOLE", "MÅKE", "ÆRE",
                            "SEA GOD", "SEAGULL", "TAKE", "10000", "A.B.C", "JACK-IN-THE-BOX"}),
        {{"MELON", 2}, {"TAKE", 5}, {"LAKE", 3}, {"TAKE", 1}, {"NOTAWORD", 1}}, {"LAKE", "LEMON", "SEA GOD"});
    return *ix;
}

Search S(const char* pattern, const char* anagram = "", int letters = 0, bool withSynonyms = false) {
    return {pattern, anagram, letters, withSynonyms};
}

Words words(const store::WordIndex& ix, const std::vector<uint32_t>& found) {
    Words out;
    for (uint32_t p : found) out.emplace_back(ix[p]);
    return out;
}

}  // namespace

TEST(WordIndex, FindsExactPatternsAndAnagramsCommonFirst) {
    const struct {
        Search s;
        Words want;
    } cases[] = {
        {S("?AKE"), {"TAKE", "LAKE", "BAKE", "CAKE"}},  // exact: not BAKERY
        {S("*AKE*"), {"TAKE", "LAKE", "BAKE", "BAKERY", "CAKE"}},
        {S("?????"), {"MELON", "10000", "A.B.C", "LEMON"}},
        {S("?Å?E"), {"MÅKE"}},
        {S("", "ELMNO"), {"MELON", "LEMON"}},
        {S("", "NOMEL?"), {"LEMONS"}},  // a blank tile
        {S("", "EKA?"), {"TAKE", "LAKE", "BAKE", "CAKE"}},
        {S("B*", "EKA?"), {"BAKE"}},
        {S("", "DOG SEA"), {"SEA GOD"}},  // by its letters
        {S("", "ERÆ"), {"ÆRE"}},
        {S("", "ELMNO", 6), {}},
        {S("", "ELMNOQ"), {}},
        {S("L*", "", 0, true), {"LAKE", "LEMON"}},
        {S("", "", 4), {"TAKE", "LAKE", "BAKE", "CAKE", "LIME", "MOLE", "MÅKE"}},
        {S("", "", 6, true), {"SEA GOD"}},
        {S(""), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(words(sample(), sample().Find(c.s)), c.want) << c.s.pattern << " / " << c.s.anagram;
}

TEST(WordIndex, FitsTheSquaresWithLettersOnlyAndNarrowsByTheFilter) {
    const struct {
        const char *squares, *filter;
        Words want;
    } cases[] = {
        {"?AKE", "", {"TAKE", "LAKE", "BAKE", "CAKE"}},
        {"?????", "", {"MELON", "LEMON"}},  // no digits, no dots
        {"??????", "", {"BAKERY", "LEMONS", "SEA GOD"}},
        {"S?A?O?", "", {"SEA GOD"}},
        {"J???????????", "", {"JACK-IN-THE-BOX"}},
        {"?Å??", "", {"MÅKE"}},
        {"?#??", "", {}},  // a clue mark in the way
        {"??_?", "", {}},
        {"????", "KE", {"TAKE", "LAKE", "BAKE", "CAKE", "MÅKE"}},  // letters anywhere
        {"????", "EE", {}},
        {"????", "?I*", {"LIME"}},  // a pattern
        {"??????", "SEAG*", {"SEA GOD"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(words(sample(), sample().Fit(c.squares, c.filter)), c.want) << c.squares << " / " << c.filter;
    const auto at = [](const char* w) { return *sample().Position(w); };
    EXPECT_EQ(sample().Letters(at("SEA GOD")) + "," + sample().Letters(at("10000")), "SEAGOD,");
    EXPECT_FALSE(sample().Position("NOTAWORD"));
}

using IndexOnEngines = OnEngines;

TEST_P(IndexOnEngines, ReadsRanksAndSynonymsFollowsChangesAndFindsClueWords) {
    for (const char* w : {"ARNO", "NILE", "ODER", "RIVER", "STREAM"}) db->addWord(w);
    db->open().SaveSynonymPair("STREAM", "RIVER");
    db->value("RIVER", "NILE");
    db->value("FLOW", "NILE");
    std::optional<store::WordCache> cache;
    const auto fit = [&](const char* squares) {
        // A server's words are read again only after a while: a new cache reads them now.
        if (!cache || GetParam() == testing_support::Engine::Postgres) cache.emplace();
        store::Database d = db->open();
        const auto ix = cache->Index(d);
        return words(*ix, ix->Fit(squares));
    };
    EXPECT_EQ(fit("????"), Words({"ARNO", "NILE", "ODER"}));  // no ranks: alphabetical
    db->exec("CREATE TABLE IF NOT EXISTS T_Rang (Ord TEXT, Rang INTEGER)");
    db->exec("INSERT INTO T_Rang (Ord, Rang) VALUES ('NILE', 1), ('ODER', 2)");
    db->addWord("ELBE");
    EXPECT_EQ(fit("????"), Words({"NILE", "ODER", "ARNO", "ELBE"}));
    store::Database d = db->open();
    const auto ix = cache->Index(d);
    EXPECT_EQ(words(*ix, ix->Find({"", "", 0, true})), Words({"RIVER", "STREAM"}));
    EXPECT_EQ(d.ClueWordsFor("NILE"), Words({"FLOW", "RIVER"}));
    EXPECT_EQ(d.ClueWordsFor("STREAM"), Words({"RIVER"}));
}

VELMORA_ON_ENGINES(IndexOnEngines);
