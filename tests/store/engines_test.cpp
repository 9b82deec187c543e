// The word store on both engines, SQLite and PostgreSQL: the same rows
// written, the same rows found, in the same order, by the same rules.
#include "engines.h"

using testing_support::OnEngines;
using testing_support::Rows;
using testing_support::Words;

using StoreOnEngines = OnEngines;

TEST_P(StoreOnEngines, PatternsMatchTheSameWordsInTheSameOrder) {
    for (const char* w :
         {"ABC", "ABCD", "AC", "AB", "XAB", "A%C", "A[B]C", "A_C", "AÆC", "A\\C", "ab", "B", "ØL", "ÅR", "ÆRE", "Z"})
        db->addWord(w);
    auto d = db->open();
    EXPECT_EQ(d.PatternLookup("AB"), Words({"AB", "ABC", "ABCD"}));
    EXPECT_EQ(d.PatternLookup("A?C"), Words({"A%C", "ABC", "ABCD", "A\\C", "A_C", "AÆC"}));
    EXPECT_EQ(d.PatternLookup("*AB"), Words({"AB", "ABC", "ABCD", "XAB"}));
    EXPECT_EQ(d.PatternLookup("*B*C"), Words({"ABC", "ABCD", "A[B]C"}));
    // Nothing but * and ? is special: %, _, [ and \ match themselves.
    for (const char* p : {"A%", "A_", "A\\", "A[B"}) EXPECT_EQ(d.PatternLookup(p).size(), 1u) << p;
    // The same order on both engines, whatever the server's locale: by the
    // bytes, but Æ, Ø and Å after Z in the Norwegian order.
    EXPECT_EQ(d.PatternLookup("*"), Words({"A%C", "AB", "ABC", "ABCD", "AC", "A[B]C", "A\\C", "A_C", "AÆC", "B", "XAB",
                                           "Z", "ab", "ÆRE", "ØL", "ÅR"}));
    EXPECT_EQ(d.PatternLookup("?"), d.PatternLookup("*"));
    EXPECT_EQ(d.PatternLookup("??").size(), 14u);    // not B or Z
    EXPECT_EQ(d.PatternLookup("a"), Words({"ab"}));  // case counts
    EXPECT_TRUE(d.PatternLookup("Q").empty());
    // A literal start reaches the letters after Z.
    for (const char* w : {"BLZ", "BLÅBÆR", "BLØ", "BLÆ", "BM", "BL"}) db->addWord(w);
    EXPECT_EQ(d.PatternLookup("BL"), Words({"BL", "BLZ", "BLÆ", "BLØ", "BLÅBÆR"}));
    EXPECT_EQ(d.PatternLookup("BL?"), Words({"BLZ", "BLÆ", "BLØ", "BLÅBÆR"}));
    EXPECT_EQ(d.PatternLookup("BLÅ"), Words({"BLÅBÆR"}));
}

TEST_P(StoreOnEngines, DetailsAndCandidatesComeInTheirOrder) {
    const Words synonyms = {"HUGE", "VAST", "LARGE", "ÆRE", "AMPLE", "GREAT"}, values = {"XXL", "XL", "L"};
    for (const auto& s : synonyms) db->synonym("BIG", s);
    for (const auto& v : values) db->value("BIG", v);
    db->link("BIG", "SIZE");
    db->link("BIG", "ADJECTIVES");
    db->link("SMALL", "SIZE");
    for (const char* k : {"MUSIC", "ANIMALS", "ZOO", "BIRDS"}) db->addCategory(k);
    auto d = db->open();
    EXPECT_EQ(d.Categories(), Words({"MUSIC", "ANIMALS", "ZOO", "BIRDS"}));
    EXPECT_EQ(d.Synonyms("BIG", false), Words({"AMPLE", "GREAT", "HUGE", "LARGE", "VAST", "ÆRE"}));
    // By characters: ÆRE has three, though four bytes; ties alphabetically.
    EXPECT_EQ(d.Synonyms("BIG", true), Words({"ÆRE", "HUGE", "VAST", "AMPLE", "GREAT", "LARGE"}));
    EXPECT_EQ(d.Values("BIG", true), Words({"L", "XL", "XXL"}));
    EXPECT_EQ(d.CategoriesOf("BIG"), Words({"ADJECTIVES", "SIZE"}));
    EXPECT_EQ(d.WordsOfCategory("SIZE"), Words({"BIG", "SMALL"}));
    EXPECT_TRUE(d.Synonyms("big", false).empty());
    // Candidates keep the stored order and filter on characters.
    EXPECT_EQ(d.CandidateSynonyms("BIG", 4), Words({"HUGE", "VAST"}));
    EXPECT_EQ(d.CandidateSynonyms("BIG", 3), Words({"ÆRE"}));
    EXPECT_EQ(d.CandidateSynonyms("BIG", 0), synonyms);
    EXPECT_EQ(d.CandidateValues("BIG", 0), values);
    EXPECT_EQ(d.CandidateValues("BIG", 2), Words({"XL"}));
    // In bulk, for making puzzles: synonyms then values, as stored.
    std::vector<std::pair<std::string, std::string>> links;
    for (const Words* list : {&synonyms, &values})
        for (const auto& w : *list) links.emplace_back("BIG", w);
    EXPECT_EQ(d.ClueLinks(), links);
    // Norwegian letters in their places in every list.
    const Words norwegian = {"AB", "ZZ", "ÆR", "ØY", "ÅS", "ÅSEN"};
    for (const char* w : {"ÅS", "ØY", "ÆR", "AB", "ÅSEN", "ZZ"}) {
        db->synonym("NO", w);
        db->value("NO", w);
        db->link(w, "NORSK");
        db->link("NO", w);
    }
    for (const Words& list : {d.Synonyms("NO", false), d.Synonyms("NO", true), d.Values("NO", false),
                              d.Values("NO", true), d.WordsOfCategory("NORSK"), d.CategoriesOf("NO")})
        EXPECT_EQ(list, norwegian);
    EXPECT_EQ(d.CandidateSynonyms("NO", 2), Words({"ÅS", "ØY", "ÆR", "AB", "ZZ"}));  // as stored
}

TEST_P(StoreOnEngines, SynonymPairsKeepTheReverseRowRule) {
    auto d = db->open();
    const auto pairs = [&] { return db->rows("SELECT Ord, Synonym, Notat FROM T_OrdSynonym ORDER BY rowid"); };
    // On an empty store: four rows, the reverse row first.
    EXPECT_TRUE(d.SaveSynonymPair("W", "S"));
    EXPECT_EQ(db->rows("SELECT Ord, Notat FROM T_Ord ORDER BY rowid"), Rows({{"W", "X"}, {"S", "X"}}));
    EXPECT_EQ(pairs(), Rows({{"S", "W", "X"}, {"W", "S", "X"}}));
    EXPECT_FALSE(d.SaveSynonymPair("W", "S") || d.SaveSynonymPair("S", "W"));
    // Erasing the word leaves its pairs; erasing the pair leaves the words.
    EXPECT_EQ((std::vector<bool>{d.EraseWord("W"), d.EraseWord("W")}), std::vector<bool>({true, false}));
    EXPECT_EQ(db->count("T_OrdSynonym"), 2);
    d.EraseSynonymPair("W", "S");
    EXPECT_EQ(db->count("T_OrdSynonym"), 0);
    EXPECT_EQ(db->rows("SELECT Ord FROM T_Ord"), Rows({{"S"}}));
    // Only the reverse row there: the save adds it again, without a check,
    // and the unique key of the server lets it.
    db->synonym("B", "A");
    EXPECT_TRUE(d.SaveSynonymPair("A", "B"));
    EXPECT_EQ(pairs(), Rows({{"B", "A", "X"}, {"B", "A", "X"}, {"A", "B", "X"}}));
    EXPECT_FALSE(d.SaveSynonymPair("B", "A"));
    // Erased and saved again: stored once more, both ways.
    const auto erase = [&] { return d.EraseSynonymPair("A", "B"); };
    EXPECT_EQ((std::vector<int>{erase(), erase(), erase()}), std::vector<int>({2, 1, 0}));
    EXPECT_TRUE(d.SaveSynonymPair("B", "A"));
    EXPECT_EQ(pairs(), Rows({{"A", "B", "X"}, {"B", "A", "X"}}));
}

TEST_P(StoreOnEngines, WordAndLinkSavesKeepNotatAndRefuseDuplicates) {
    auto d = db->open();
    // The second value link finds the value there: it is not added twice.
    EXPECT_EQ((std::vector<bool>{d.SaveWord("CAT"), d.SaveCategoryLink("CAT", "ANIMALS"),
                                 d.SaveValueLink("CAT", "PUSS"), d.SaveValueLink("DOG", "PUSS")}),
              std::vector<bool>(4, true));
    EXPECT_EQ(db->rows("SELECT Ord, Notat, Star FROM T_Ord ORDER BY rowid"),
              Rows({{"CAT", "<null>", "<null>"}, {"DOG", "X", "<null>"}}));
    EXPECT_EQ(db->rows("SELECT Verdi, Notat FROM T_Verdi"), Rows({{"PUSS", "X"}}));
    EXPECT_EQ(db->rows("SELECT Ord, Verdi, Notat FROM T_OrdVerdi ORDER BY rowid"),
              Rows({{"CAT", "PUSS", "X"}, {"DOG", "PUSS", "X"}}));
    EXPECT_EQ(db->rows("SELECT Ord, Kategori, Notat FROM T_OrdKategori"), Rows({{"CAT", "ANIMALS", "X"}}));
    EXPECT_EQ(db->count("T_Kategori"), 0);  // the link save never looks there
    // Refused link saves still leave the word they added.
    db->link("EMU", "BIRDS");
    EXPECT_EQ((std::vector<bool>{d.SaveCategoryLink("EMU", "BIRDS"), d.WordExists("EMU"), d.SaveWord("DOG")}),
              std::vector<bool>({false, true, false}));
    // Erasing a value link leaves the value.
    EXPECT_TRUE(d.EraseValueLink("CAT", "PUSS"));
    EXPECT_EQ(db->count("T_OrdVerdi") + db->count("T_Verdi"), 2);
}

// Categories, values and synonyms alike: the second link of a word, and then
// its last, is erased and not the first.
TEST_P(StoreOnEngines, TheErasedLinkIsTheOneNamedAndTheOthersStay) {
    auto d = db->open();
    for (const char k : {'c', 'v', 's'}) {
        SCOPED_TRACE(k);
        const auto save = [&](const char* w, const char* t) {
            return k == 'c' ? d.SaveCategoryLink(w, t) : k == 'v' ? d.SaveValueLink(w, t) : d.SaveSynonymPair(w, t);
        };
        const auto erase = [&](const char* w, const char* t) {
            return k == 'c'   ? d.EraseCategoryLink(w, t)
                   : k == 'v' ? d.EraseValueLink(w, t)
                              : d.EraseSynonymPair(w, t) > 0;
        };
        const auto read = [&](const char* w) {
            return k == 'c' ? d.CategoriesOf(w) : k == 'v' ? d.Values(w, false) : d.Synonyms(w, false);
        };
        for (const char* t : {"FIRST", "SECOND", "THIRD"}) EXPECT_TRUE(save("WORD", t)) << t;
        EXPECT_FALSE(save("WORD", "SECOND"));  // a repeated link is no new one
        EXPECT_TRUE(save("OTHER", "SECOND"));
        EXPECT_TRUE(erase("WORD", "SECOND"));
        EXPECT_EQ(read("WORD"), Words({"FIRST", "THIRD"}));
        EXPECT_EQ(read("OTHER"), Words({"SECOND"}));
        EXPECT_TRUE(erase("WORD", "THIRD"));  // the last one
        EXPECT_EQ(read("WORD"), Words({"FIRST"}));
        EXPECT_FALSE(erase("WORD", "THIRD"));
    }
    // A pair is erased in both directions, named from either side.
    d.SaveSynonymPair("A", "B");
    d.SaveSynonymPair("A", "C");
    EXPECT_EQ(d.EraseSynonymPair("B", "A"), 2);
    EXPECT_EQ(db->rows("SELECT Ord, Synonym FROM T_OrdSynonym WHERE Ord < 'D' ORDER BY rowid"),
              Rows({{"C", "A"}, {"A", "C"}}));
}

// Wildcards, quotes, SQL and placeholders in a text are only characters;
// an operation may run inside another.
TEST_P(StoreOnEngines, OddTextsAreStoredAndFoundAsTheyAre) {
    auto d = db->open();
    Words texts = {"'",  "''", "%", "_", "[", "\"", "\\", "שלום", "😀", "A\tB", "A\nB", "--", "; DELETE FROM T_Ord",
                   "$1", "AB*"};
    texts.push_back(std::string(100000, 'A'));
    for (const std::string& t : texts) {
        EXPECT_TRUE(d.SaveWord(t)) << t;
        EXPECT_TRUE(d.WordExists(t));
        EXPECT_TRUE(d.SaveSynonymPair(t, "X"));
        EXPECT_EQ(d.CandidateSynonyms(t, 1), Words({"X"}));
        EXPECT_EQ(d.PatternLookup(t).front(), t);
    }
    EXPECT_FALSE(d.WordExists("ABC"));
    EXPECT_EQ(d.CandidateSynonyms("X", 0).size(), texts.size());
    EXPECT_EQ(d.CandidateSynonyms("X", 1).size(), 7u);  // one character each, the emoji too
    EXPECT_EQ(db->count("T_Ord"), int(texts.size()) + 1);
    EXPECT_TRUE(d.SaveCategoryLink("'", "IRISH'; DROP TABLE T_Ord; --"));
    // An operation inside another has a database of its own, and each sees
    // what the other saved.
    EXPECT_EQ(db->open().WordsOfCategory("IRISH'; DROP TABLE T_Ord; --"), Words({"'"}));
    EXPECT_TRUE(db->open().SaveWord("INNER"));
    EXPECT_TRUE(d.WordExists("INNER"));
}

VELMORA_ON_ENGINES(StoreOnEngines);
