// Patterns and the alphabetical order of the lists: the matcher at the ends
// of its texts and over letters of more than one byte; the words held in
// memory for pattern lookups, with the same matches as the query in the same
// order, and never a word the file no longer holds. (The lookup range past
// "Z" and the second link of a word erased are the engines' tests.)
#include <algorithm>
#include <filesystem>
#include <random>

#include "store/order.h"
#include "store/wildcard.h"
#include "store/wordstore.h"
#include "support.h"

using testing_support::TempDb;
using testing_support::Words;

namespace {

struct Match {
    const char *pattern, *text;
    bool matches;
};
class Wildcards : public ::testing::TestWithParam<Match> {};

Words lookup(store::WordCache& cache, const std::string& pattern) {
    store::Database d(store::kDatabaseFile);
    return cache.PatternLookup(d, pattern).strings();
}

}  // namespace

// The last three were found by fuzzing: a broken UTF-8 sequence never
// swallows the "*" after it.
TEST_P(Wildcards, MatchAsTheyShould) {
    const Match& m = GetParam();
    EXPECT_EQ(store::wildcardMatch(m.pattern, m.text), m.matches) << m.pattern << " ~ " << m.text;
}

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

TEST(WordOrder, NorwegianLettersFollowZInTheirOrderAndEnglishKeepsItsOwn) {
    // Each list is in order; the bytes of UTF-8 would put Å before Æ and Ø.
    // (The engines' tests sort whole words from the file the same way.)
    const std::vector<Words> lists = {
        {"A", "AB", "ABC", "AZ", "AÆ", "AØ", "AØA", "AÅ", "B"},
        {"A B", "A-B", "A.B", "A1", "AB", "Ab", "Æ", "ÉCLAIR"},
        {"z", "æ", "ø", "å"},
    };
    for (const Words& list : lists) {
        Words shuffled(list.rbegin(), list.rend());
        std::stable_sort(shuffled.begin(), shuffled.end(), store::WordLess);
        EXPECT_EQ(shuffled, list);
    }
    // The order is total, also on broken UTF-8: antisymmetric, equal only
    // for equal texts, and transitive.
    std::mt19937 rng(5);
    const std::string bytes = "AZ\xC3\x85\x86\x98\xA5\xA6\xB8\x80\xFF";
    auto text = [&] {
        std::string s;
        for (int n = int(rng() % 5); n > 0; --n) s += bytes[rng() % bytes.size()];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string a = text(), b = text(), c = text();
        const int ab = store::CompareWords(a, b);
        EXPECT_EQ(ab == 0, a == b) << a << " " << b;
        EXPECT_EQ(ab<0, store::CompareWords(b, a)> 0) << a << " " << b;
        if (ab < 0 && store::CompareWords(b, c) < 0) {
            EXPECT_LT(store::CompareWords(a, c), 0) << a << b << c;
        }
    }
}

// The lists' order (engines_test) comes from a collation the schema never
// names: a plain connection reads and sorts everything, and a pattern with a
// literal beginning still narrows its rows through the index.
TEST(WordOrder, LeavesNoTraceInTheFileAndKeepsTheIndexInUse) {
    TempDb db;
    for (const char* w : {"ÅRE", "ARE", "ØRE", "ZRE", "ÆRE"}) db.addWord(w);
    EXPECT_EQ(db.open().PatternLookup("?RE").size(), 5u);  // the program has had the file open
    for (const auto& row : db.rows("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL"))
        EXPECT_EQ(row[0].find("VELMORA"), std::string::npos) << row[0];
    EXPECT_EQ(db.rows("SELECT count(*) FROM T_Ord WHERE Ord > 'A' ORDER BY Ord")[0][0], "5");
    const auto plan =
        db.rows("EXPLAIN QUERY PLAN SELECT Ord FROM T_Ord WHERE Ord >= 'ÆR' AND Ord < 'ÆR\xFF' ORDER BY Ord");
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan[0][3].find("INDEX I_Ord"), std::string::npos) << plan[0][3];
}

TEST(WordCache, MatchesWhatTheQueryFindsInTheSameOrder) {
    TempDb db;
    std::mt19937 rng(11);
    const std::vector<std::string> pieces = {"A", "E", "ING", "RE", "Æ", "Ø", "Å", "B", "-", " ", "ÉN", "\xC3", "\x85"};
    // One statement: ING twice (listed twice), an empty word and a NULL one.
    std::string sql = "INSERT INTO T_Ord (Ord) VALUES ('ING'), ('ING'), (''), (NULL)";
    Words made(3000);
    for (std::string& w : made) {
        for (int n = 1 + int(rng() % 5); n > 0; --n) w += pieces[rng() % pieces.size()];
        sql += ", (?)";
    }
    db.exec(sql, made);
    store::WordCache cache;
    auto d = db.open();
    for (const char* p : {"?", "", "*", "?A?E", "*ING", "*RE?", "??", "?*Æ", "*Å*A", "*?*?*", "*\xC3", "*\x85", "?\x85",
                          "***ING*RE", "?????????"}) {
        const Words query = d.PatternLookup(p);
        EXPECT_EQ(lookup(cache, p), query) << "pattern " << p;
    }
    EXPECT_EQ(cache.reads(), 1);  // read once, used for every pattern
}

TEST(WordCache, EveryLookupSeesTheFileAsItIsNow) {
    TempDb db;
    for (const char* w : {"ARE", "BRE"}) db.addWord(w);
    store::WordCache cache;
    cache.Preload(store::kDatabaseFile);
    EXPECT_EQ(lookup(cache, "?RE"), Words({"ARE", "BRE"}));

    // Another connection saves and erases between two lookups.
    db.addWord("ÅRE");
    EXPECT_EQ(lookup(cache, "?RE"), Words({"ARE", "BRE", "ÅRE"}));
    db.exec("DELETE FROM T_Ord WHERE Ord = 'ARE'");
    EXPECT_EQ(lookup(cache, "?RE"), Words({"BRE", "ÅRE"}));

    // Another file put in the place of this one.
    const int readsBefore = cache.reads();
    EXPECT_EQ(lookup(cache, "?RE"), Words({"BRE", "ÅRE"}));
    EXPECT_EQ(cache.reads(), readsBefore);  // unchanged file: not read again
    const std::string other = (db.dir() / "other.mdb").string();
    store::CreateDatabase(other);
    testing_support::fileRows(other, "INSERT INTO T_Ord (Ord) VALUES ('ØRE')");
    std::filesystem::rename(other, db.file());
    EXPECT_EQ(lookup(cache, "?RE"), Words({"ØRE"}));

    // A file that is gone: the lookup fails as the query does.
    std::filesystem::remove(db.file());
    EXPECT_THROW(lookup(cache, "?RE"), store::DbError);
}
