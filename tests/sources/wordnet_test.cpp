// The WordNet reader on a small WordNet of its own: values down a chain of
// kinds and instances, synonyms from synsets, puzzle categories, and
// malformed files.
#include <filesystem>

#include "rows.h"
#include "sources/wordnet.h"
#include "support.h"

using namespace sources_test;
namespace fs = std::filesystem;

namespace {

struct Ptr {
    const char* symbol;
    int offset;
};

// One synset line as data.* writes it (offsets need not be byte positions here).
std::string synset(int offset, char type, std::vector<std::string> words, std::vector<Ptr> ptrs = {}) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%08d 05 %c %02zx", offset, type, words.size());
    std::string s = buf;
    for (const std::string& w : words) s += " " + w + " 0";
    std::snprintf(buf, sizeof buf, " %03zu", ptrs.size());
    s += buf;
    for (const Ptr& p : ptrs) {
        std::snprintf(buf, sizeof buf, " %s %08d n 0000", p.symbol, p.offset);
        s += buf;
    }
    if (type == 'v') s += " 01 + 02 00";
    return s + " | a gloss; \"with | a bar\"\n";
}

const std::string kLicence = "  1 This software and database is being provided to you\n  2 under a licence.\n";

// RIVER -> ARNO (instance; also "Arno River"), ELBE (instance), TRIBUTARY
// (kind) -> BACKWATER (kind) -> SLOUGH (kind, three levels down);
// RIVER also has a long and a multi-word instance, and one with an apostrophe.
std::string nouns() {
    return kLicence + synset(100, 'n', {"river"}, {{"~i", 200}, {"~i", 300}, {"~", 400}, {"~i", 700}, {"~i", 800}}) +
           synset(200, 'n', {"Arno", "Arno_River"}, {{"@i", 100}}) + synset(300, 'n', {"Elbe"}, {{"@i", 100}}) +
           synset(400, 'n', {"tributary", "affluent"}, {{"@", 100}, {"~", 500}}) +
           synset(500, 'n', {"backwater"}, {{"@", 400}, {"~", 600}}) + synset(600, 'n', {"slough"}, {{"@", 500}}) +
           synset(700, 'n', {"Abcdefghijklmnop", "Rio_Grande"}, {{"@i", 100}}) +
           synset(800, 'n', {"O'Higgins"}, {{"@i", 100}});
}

std::string index() { return kLicence + "river n 1 2 ~ ~i 1 0 00000100\ntributary n 1 1 ~ 1 0 00000400\n"; }

void writeWordNet(const std::string& dir, const std::string& noun = nouns()) {
    fs::create_directories(dir);
    writeFile(dir + "/data.noun", noun);
    writeFile(dir + "/index.noun", index());
    writeFile(dir + "/data.verb", synset(10, 'v', {"flow", "run"}));
    writeFile(dir + "/data.adj", synset(20, 'a', {"big(a)", "large(a)"}) + synset(30, 's', {"grown-up"}));
    writeFile(dir + "/data.adv", "");
}

const std::vector<sources::PuzzleCategory> kRivers = {{"RIVERS", {{"river", 1}}}, {"LOST", {{"river", 2}}}};

}  // namespace

TEST(WordNet, ValuesSynonymsAndCategoriesComeFromTheHierarchy) {
    testing_support::TempDb tmp;
    writeWordNet("wn");
    store::WordListBuilder b;
    sources::ReadWordNet("wn", kRivers, b);
    Written db(b);
    // Values of the clue word: kinds and instances three levels down, one word, letters only, 14 at most.
    EXPECT_EQ(db("SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'RIVER' ORDER BY Verdi"),
              Rows({{"AFFLUENT"}, {"ARNO"}, {"BACKWATER"}, {"ELBE"}, {"SLOUGH"}, {"TRIBUTARY"}}));
    // Every word of a synset is a clue word; a word is no value of itself.
    EXPECT_EQ(db("SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'AFFLUENT' ORDER BY Verdi"),
              Rows({{"BACKWATER"}, {"SLOUGH"}}));
    // Synonyms from synsets, multi-word lemmas kept, adjective markers dropped, both ways.
    EXPECT_EQ(db("SELECT Synonym FROM T_OrdSynonym WHERE Ord = 'ARNO RIVER'"), Rows({{"ARNO"}}));
    EXPECT_EQ(db("SELECT Synonym FROM T_OrdSynonym WHERE Ord = 'LARGE'"), Rows({{"BIG"}}));
    EXPECT_EQ(db("SELECT Synonym FROM T_OrdSynonym WHERE Ord = 'RUN'"), Rows({{"FLOW"}}));
    // The category's members at any depth; a sense the WordNet lacks is counted, not fatal.
    EXPECT_EQ(db("SELECT Ord FROM T_OrdKategori WHERE Kategori = 'RIVERS' ORDER BY Ord"),
              Rows({{"AFFLUENT"}, {"ARNO"}, {"BACKWATER"}, {"ELBE"}, {"SLOUGH"}, {"TRIBUTARY"}}));
    EXPECT_EQ(db("SELECT Kategori FROM T_Kategori"), Rows({{"RIVERS"}}));
    EXPECT_EQ(b.counts().reasons.at("category sense not in this WordNet"), 1);
    EXPECT_EQ(b.counts().reasons.at("cannot be typed"), 1);  // O'Higgins
    EXPECT_EQ(db("SELECT count(*) FROM T_Ord WHERE Ord IN ('GROWN-UP', 'RIO GRANDE', 'ABCDEFGHIJKLMNOP')"),
              Rows({{"3"}}));
}

TEST(WordNet, LimitsKeepTheNearestKinds) {
    testing_support::TempDb tmp;
    writeWordNet("wn");
    // Two levels: SLOUGH is too deep. A limit of 4 values: the second level
    // (BACKWATER) would pass it and is left out; the first level stays whole.
    for (auto [limits, want] : std::vector<std::pair<sources::WordNetLimits, Rows>>{
             {{2, 300, 14}, Rows({{"AFFLUENT"}, {"ARNO"}, {"BACKWATER"}, {"ELBE"}, {"TRIBUTARY"}})},
             {{3, 4, 14}, Rows({{"AFFLUENT"}, {"ARNO"}, {"ELBE"}, {"TRIBUTARY"}})},
             {{3, 300, 16},
              Rows({{"ABCDEFGHIJKLMNOP"},
                    {"AFFLUENT"},
                    {"ARNO"},
                    {"BACKWATER"},
                    {"ELBE"},
                    {"SLOUGH"},
                    {"TRIBUTARY"}})}}) {
        store::WordListBuilder b;
        sources::ReadWordNet("wn", {}, b, {}, limits);
        EXPECT_EQ(Written(b)("SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'RIVER' ORDER BY Verdi"), want)
            << limits.depth << " " << limits.values << " " << limits.letters;
    }
}

TEST(WordNet, MissingAndMalformedFilesNameTheFileAndLine) {
    testing_support::TempDb tmp;
    auto read = [](const std::string& noun) {
        fs::remove_all("wn");
        writeWordNet("wn", noun);
        return fault([] {
            store::WordListBuilder b;
            sources::ReadWordNet("wn", kRivers, b);
        });
    };
    const std::string good = nouns();
    const std::string cut = good.substr(0, good.find(" 0 Arno_River"));  // the last line cut short
    EXPECT_EQ(read(cut), "wn/data.noun, line 4: a synset line without its \"| gloss\" (is the file cut short?)");
    EXPECT_EQ(read(kLicence + "00000100 05 n 03 river 0 stream 0 | gloss\n"),
              "wn/data.noun, line 3: the synset line ends early (is the file cut short?)")
        << "a word count larger than the words";
    EXPECT_EQ(read(kLicence + "00000100 05 n 01 river 0 001 ~ 00000999 n 0000 | gloss\n"),
              "wn/data.noun, line 3: points to synset 999, which the file does not hold");
    EXPECT_EQ(read(kLicence + "100 05 n 01 river 0 000 | gloss\n"),
              "wn/data.noun, line 3: expected a synset offset of 8 digits, found \"100\"");
    EXPECT_EQ(read(good), "no error");
    for (auto [folder, missing] : {std::pair{"wn", "wn/data.adv: no such file"},
                                   std::pair{"nowhere", "nowhere: no such folder (is wordnet-base installed?)"}}) {
        fs::remove("wn/data.adv");
        EXPECT_EQ(fault([&] {
                      store::WordListBuilder b;
                      sources::ReadWordNet(folder, {}, b);
                  }),
                  missing);
    }
}

TEST(WordNet, CategoryListLinesAndFaults) {
    testing_support::TempDb tmp;
    writeFile("c.txt", "# subjects\nGODS AND GODDESSES | deity 1, Mountain Peak 2\n\nRIVERS|river 1\n");
    const auto list = sources::ReadCategoryList("c.txt");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "GODS AND GODDESSES");
    EXPECT_EQ(list[0].senses, (std::vector<std::pair<std::string, int>>{{"deity", 1}, {"mountain_peak", 2}}));
    EXPECT_EQ(list[1].senses.size(), 1u);
    writeFile("c.txt", "BIRDS | bird 1\nFISH | fish\n");
    EXPECT_EQ(fault([] { sources::ReadCategoryList("c.txt"); }),
              "c.txt, line 2: expected \"lemma sense\", found \"fish\"");
    // The shipped list reads, and names fifty subjects or more.
    EXPECT_GE(sources::ReadCategoryList(testing_support::sourcePath("data/categories-en.txt")).size(), 50u);
}
