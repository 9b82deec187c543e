// The word store on temporary databases: rows written, rows found, their
// order, the pattern rules and the integrity rules.
#include <sys/stat.h>

#include <fstream>

#include "store/wildcard.h"
#include "store/wordstore.h"
#include "support.h"

using testing_support::TempDb;
using Rows = std::vector<std::vector<std::string>>;
using Words = std::vector<std::string>;

namespace {
store::Database open() { return store::Database(store::kDatabaseFile); }
}  // namespace

TEST(WordStore, PatternLookupWildcardsAndLiteralCharacters) {
    TempDb db;
    for (const char* w : {"ABC", "ABCD", "AC", "AB", "XAB", "A%C", "A[B]C", "A_C", "AÆC", "ab", "B"}) db.addWord(w);
    auto d = open();
    // The pattern always gets one more trailing "*".
    EXPECT_EQ(d.PatternLookup("AB"), Words({"AB", "ABC", "ABCD"}));
    EXPECT_EQ(d.PatternLookup("A?C"), Words({"A%C", "ABC", "ABCD", "A_C", "AÆC"}));  // one character, Æ included
    EXPECT_EQ(d.PatternLookup("*AB"), Words({"AB", "ABC", "ABCD", "XAB"}));
    EXPECT_EQ(d.PatternLookup("A*C"), Words({"A%C", "ABC", "ABCD", "AC", "A[B]C", "A_C", "AÆC"}));
    // Nothing but * and ? is special: % and _ and [ match themselves.
    EXPECT_EQ(d.PatternLookup("A%"), Words({"A%C"}));
    EXPECT_EQ(d.PatternLookup("A_"), Words({"A_C"}));
    EXPECT_EQ(d.PatternLookup("A[B"), Words({"A[B]C"}));
    EXPECT_EQ(d.PatternLookup("*"), Words({"A%C", "AB", "ABC", "ABCD", "AC", "A[B]C", "A_C", "AÆC", "B", "XAB", "ab"}));
    // Case counts, as it does for equality.
    EXPECT_EQ(d.PatternLookup("a"), Words({"ab"}));
    EXPECT_TRUE(d.PatternLookup("Q").empty());
    EXPECT_TRUE(store::wildcardMatch("A*B*C", "AXXBYYC"));
    EXPECT_FALSE(store::wildcardMatch("A*B*C", "AXXBYY"));
    EXPECT_TRUE(store::wildcardMatch("***", ""));
    // Found by fuzzing: a broken UTF-8 sequence never swallows the "*" after it.
    EXPECT_TRUE(store::wildcardMatch("A,\xbd\xa7\xbc.\xa7\xbc\xf5\xc0*", "A,\xbd\xa7\xbc.\xa7\xbc\xf5\xc0"));
    EXPECT_TRUE(store::wildcardMatch("\xe2*", "\xe2XYZ"));
    EXPECT_FALSE(store::wildcardMatch("\xe2?", "\xe2"));
}

TEST(WordStore, EqualityTreatsWildcardsAndQuotesAsCharacters) {
    TempDb db;
    auto d = open();
    EXPECT_TRUE(d.SaveWord("AB*"));
    EXPECT_TRUE(d.SaveWord("O'NEIL"));
    EXPECT_TRUE(d.WordExists("AB*"));
    EXPECT_FALSE(d.WordExists("ABC"));
    EXPECT_TRUE(d.WordExists("O'NEIL"));
    EXPECT_FALSE(d.SaveWord("O'NEIL"));  // a second save writes nothing
    EXPECT_EQ(db.rows("SELECT Ord, Notat, Star FROM T_Ord ORDER BY rowid"),
              Rows({{"AB*", "<null>", "<null>"}, {"O'NEIL", "<null>", "<null>"}}));
    // A category name with a quote is stored and found as that text.
    EXPECT_TRUE(d.SaveCategoryLink("O'NEIL", "IRISH'; DROP TABLE T_Ord; --"));
    EXPECT_EQ(d.WordsOfCategory("IRISH'; DROP TABLE T_Ord; --"), Words({"O'NEIL"}));
    EXPECT_EQ(db.count("T_Ord"), 2);
}

TEST(WordStore, DetailsComeInTheirOrder) {
    TempDb db;
    db.addWord("BIG");
    for (const char* s : {"HUGE", "VAST", "LARGE", "ÆRE", "AMPLE", "GREAT"}) db.synonym("BIG", s);
    for (const char* v : {"XXL", "XL", "L"}) db.value("BIG", v);
    db.link("BIG", "SIZE");
    db.link("BIG", "ADJECTIVES");
    db.link("SMALL", "SIZE");
    auto d = open();
    EXPECT_EQ(d.Synonyms("BIG", false), Words({"AMPLE", "GREAT", "HUGE", "LARGE", "VAST", "ÆRE"}));
    // By characters: ÆRE has three, though four bytes; ties alphabetically.
    EXPECT_EQ(d.Synonyms("BIG", true), Words({"ÆRE", "HUGE", "VAST", "AMPLE", "GREAT", "LARGE"}));
    EXPECT_EQ(d.Values("BIG", true), Words({"L", "XL", "XXL"}));
    EXPECT_EQ(d.Values("BIG", false), Words({"L", "XL", "XXL"}));
    EXPECT_EQ(d.CategoriesOf("BIG"), Words({"ADJECTIVES", "SIZE"}));
    EXPECT_EQ(d.WordsOfCategory("SIZE"), Words({"BIG", "SMALL"}));
    EXPECT_TRUE(d.Synonyms("big", false).empty());
    // Candidates keep the stored order and filter on characters.
    EXPECT_EQ(d.CandidateSynonyms("BIG", 4), Words({"HUGE", "VAST"}));
    EXPECT_EQ(d.CandidateSynonyms("BIG", 3), Words({"ÆRE"}));
    EXPECT_EQ(d.CandidateSynonyms("BIG", 0), Words({"HUGE", "VAST", "LARGE", "ÆRE", "AMPLE", "GREAT"}));
    EXPECT_EQ(d.CandidateValues("BIG", 0), Words({"XXL", "XL", "L"}));
    EXPECT_TRUE(d.CandidateValues("BIG", 9).empty());
    EXPECT_EQ(store::CharLength("ÆRE"), 3);
}

TEST(WordStore, CategoriesComeInTheStoresOrder) {
    TempDb db;
    for (const char* k : {"MUSIC", "ANIMALS", "ZOO", "BIRDS"}) db.addCategory(k);
    EXPECT_EQ(open().Categories(), Words({"MUSIC", "ANIMALS", "ZOO", "BIRDS"}));
}

TEST(WordStore, SynonymPairIntegrity) {
    TempDb db;
    auto d = open();
    // On an empty store: four rows, the reverse row first.
    EXPECT_TRUE(d.SaveSynonymPair("W", "S"));
    EXPECT_EQ(db.rows("SELECT Ord, Notat FROM T_Ord ORDER BY rowid"), Rows({{"W", "X"}, {"S", "X"}}));
    EXPECT_EQ(db.rows("SELECT Ord, Synonym, Notat FROM T_OrdSynonym ORDER BY rowid"),
              Rows({{"S", "W", "X"}, {"W", "S", "X"}}));
    // A second save is refused and writes nothing.
    EXPECT_FALSE(d.SaveSynonymPair("W", "S"));
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
    // The reverse direction of a stored pair checks only (S, W): it exists.
    EXPECT_FALSE(d.SaveSynonymPair("S", "W"));
    // Erasing the word leaves its pairs and its synonym's word row.
    EXPECT_TRUE(d.EraseWord("W"));
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord"), Rows({{"S"}}));
    // Erasing the pair removes both rows; the synonym's word stays.
    d.EraseSynonymPair("W", "S");
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    EXPECT_EQ(db.count("T_Ord"), 1);
    // Only the reverse row present: the save adds it again, without a check.
    db.synonym("B", "A");
    EXPECT_TRUE(d.SaveSynonymPair("A", "B"));
    EXPECT_EQ(db.rows("SELECT Ord, Synonym FROM T_OrdSynonym ORDER BY rowid"),
              Rows({{"B", "A"}, {"B", "A"}, {"A", "B"}}));
    // Erasing with only one direction there removes what is there.
    db.exec("DELETE FROM T_OrdSynonym");
    db.synonym("C", "D");
    d.EraseSynonymPair("D", "C");
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
}

TEST(WordStore, WordSaveAndLinkSavesKeepNotat) {
    TempDb db;
    auto d = open();
    EXPECT_TRUE(d.SaveWord("CAT"));
    EXPECT_TRUE(d.SaveCategoryLink("CAT", "ANIMALS"));
    EXPECT_TRUE(d.SaveValueLink("CAT", "PUSS"));
    EXPECT_TRUE(d.SaveValueLink("DOG", "PUSS"));  // the value exists: not added twice
    EXPECT_EQ(db.rows("SELECT Ord, Notat FROM T_Ord ORDER BY rowid"), Rows({{"CAT", "<null>"}, {"DOG", "X"}}));
    EXPECT_EQ(db.rows("SELECT Verdi, Notat FROM T_Verdi"), Rows({{"PUSS", "X"}}));
    EXPECT_EQ(db.rows("SELECT Ord, Verdi, Notat FROM T_OrdVerdi ORDER BY rowid"),
              Rows({{"CAT", "PUSS", "X"}, {"DOG", "PUSS", "X"}}));
    EXPECT_EQ(db.rows("SELECT Ord, Kategori, Notat FROM T_OrdKategori"), Rows({{"CAT", "ANIMALS", "X"}}));
    EXPECT_EQ(db.count("T_Kategori"), 0);  // the link save never looks there
    // Refused link saves still leave the word they added.
    db.link("EMU", "BIRDS");
    EXPECT_FALSE(d.SaveCategoryLink("EMU", "BIRDS"));
    EXPECT_TRUE(d.WordExists("EMU"));
    EXPECT_FALSE(d.SaveValueLink("CAT", "PUSS"));
    // Erasing a value link leaves the value; erasing a link leaves the table.
    EXPECT_TRUE(d.EraseValueLink("CAT", "PUSS"));
    EXPECT_EQ(db.count("T_OrdVerdi"), 1);
    EXPECT_EQ(db.count("T_Verdi"), 1);
    EXPECT_TRUE(d.EraseCategoryLink("CAT", "ANIMALS"));
    EXPECT_FALSE(d.FindCategoryLink("CAT", "ANIMALS"));
    EXPECT_EQ(db.count("T_OrdKategori"), 1);
}

TEST(WordStore, OpeningFailsClearlyAndCreatesNothing) {
    TempDb db;
    std::filesystem::remove(db.file());
    try {
        store::DBEngine().OpenDatabase();
        FAIL() << "opened a missing file";
    } catch (const store::DbError& e) {
        EXPECT_EQ(e.kind(), store::DbError::Kind::Missing);
        EXPECT_NE(std::string(e.what()).find("velmora.mdb (in " + db.dir().string() + ")"), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(db.file()));
    {
        std::ofstream junk(db.file());
        junk << "this is not a word database, just text that is long enough to have a header";
    }
    EXPECT_THROW(store::DBEngine().OpenDatabase(), store::DbError);
    {
        std::ofstream jet(db.file(), std::ios::binary | std::ios::trunc);
        jet << std::string("\0\1\0\0Standard Jet DB\0\0\0\0\0\0\0\0\0\0\0\0", 32) << std::string(2000, '\0');
    }
    try {
        store::DBEngine().OpenDatabase();
        FAIL();
    } catch (const store::DbError& e) {
        EXPECT_EQ(e.kind(), store::DbError::Kind::JetFile);
        EXPECT_NE(std::string(e.what()).find("velmora-mkdb velmora.mdb --import"), std::string::npos);
    }
    // CreateDatabase never overwrites.
    std::uintmax_t before = std::filesystem::file_size(db.file());
    EXPECT_THROW(store::CreateDatabase(db.file()), store::DbError);
    EXPECT_EQ(std::filesystem::file_size(db.file()), before);
}

TEST(WordStore, OddTextsAreStoredAsTheyAre) {
    TempDb db;
    auto d = open();
    const std::vector<std::string> texts = {"'",
                                            "''",
                                            "%",
                                            "_",
                                            "[",
                                            "\"",
                                            "\\",
                                            std::string(100000, 'A'),
                                            "שלום",
                                            "😀",
                                            "A\tB",
                                            "--",
                                            "; DELETE FROM T_Ord"};
    for (const std::string& t : texts) {
        EXPECT_TRUE(d.SaveWord(t));
        EXPECT_TRUE(d.WordExists(t));
        EXPECT_TRUE(d.SaveSynonymPair(t, "X"));
        EXPECT_EQ(d.CandidateSynonyms(t, 1), Words({"X"}));
        EXPECT_FALSE(d.PatternLookup(t).empty());
    }
    EXPECT_EQ(d.CandidateSynonyms("X", 0).size(), texts.size());
    EXPECT_EQ(d.CandidateSynonyms("X", 1).size(), 7u);  // one character each, the emoji too
    EXPECT_EQ(db.count("T_Ord"), int(texts.size()) + 1);
}
