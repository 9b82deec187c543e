// The WordNet reader on a small WordNet of its own: values down a chain of
// kinds and instances, shortened names, synonyms from synsets, senses marked
// offensive, puzzle categories, and malformed files; its values carried
// across a small dictd dictionary; commonness from size lists.
#include <zlib.h>

#include <filesystem>

#include "readers.h"
#include "samples.h"
#include "sources/demo.h"
#include "sources/dictd.h"
#include "sources/text.h"
#include "sources/wordlist.h"
#include "sources/wordnet.h"

using namespace sources_test;
namespace fs = std::filesystem;

const std::vector<sources::PuzzleCategory> kRivers = {{"RIVERS", {{"river", 1}}}, {"LOST", {{"river", 2}}}};

TEST(WordNet, ValuesSynonymsAndCategoriesComeFromTheHierarchyAndOffensiveSensesAreLeftOutUnlessKept) {
    testing_support::TempDb tmp;
    writeWordNet("wn");
    writeFile("blocked.txt", "# no mark anywhere\nsquaw\n");
    for (bool keep : {false, true}) {
        const auto b = collected([&](auto& r) {
            if (!keep) sources::ReadBlocked("blocked.txt", r);
            sources::ReadWordNet("wn", kRivers, r, {}, keep);
            r.setRank("ELBE", 2);  // given after: orders the values, holds none back
            r.setRank("BAYOU", 1);
            r.addValue("GOD", "SQUAW");    // listed as offensive, from any source
            r.addPair("COON", "RACCOON");  // a word offensive in every sense, from any source
            r.addPair("PERSON", "SPADE");  // a slur and the class it names, from any source
            r.addValue("GOD", "COON");
        });
        Written db(b);
        // Every kind and instance at any depth, one word of letters only, 2 to 14,
        // a name shortened where the rest repeats the clue or is a regnal number;
        // the common first, then the nearer, a name's distinctive word last (PIUS,
        // a member of RIVERS too, is no distinctive word there).
        EXPECT_EQ(joined(db("SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'RIVER' ORDER BY rowid")),
                  "BAYOU, ELBE, TRIBUTARY, AFFLUENT, PIUS, BACKWATER, SLOUGH, ARNO");
        // Synonyms from synsets, multi-word lemmas kept, adjective markers dropped, both ways.
        for (const auto& [word, synonym] : {std::pair{"AFFLUENT", "TRIBUTARY"}, {"LARGE", "BIG"}, {"RUN", "FLOW"}})
            EXPECT_EQ(db.synonyms(word), synonym);
        // The category's members at any depth, names as they are; its members are
        // values of the word it is the plural of. A sense the WordNet lacks is
        // counted, not fatal.
        EXPECT_EQ(db.members("RIVERS"), "AFFLUENT, BACKWATER, BAYOU, ELBE, PIUS, SLOUGH, TRIBUTARY");
        auto reasons = b.counts().reasons;
        EXPECT_EQ(reasons["category sense not in this WordNet"], 1);
        EXPECT_EQ(reasons["cannot be typed"], 1);  // O'Higgins
        // A shortened name is a word too; so are lemmas too long for a value, or
        // of two words. RIVERS is the only category made.
        EXPECT_EQ(joined(db("SELECT Ord FROM T_Ord WHERE Ord IN ('ARNO', 'PIUS', 'GROWN-UP', 'RIO GRANDE', "
                            "'ABCDEFGHIJKLMNOP') UNION ALL SELECT Kategori FROM T_Kategori ORDER BY 1")),
                  "ABCDEFGHIJKLMNOP, ARNO, GROWN-UP, PIUS, RIO GRANDE, RIVERS");
        // Senses marked offensive, and words listed so, are left out unless kept.
        EXPECT_EQ(joined(db("SELECT Verdi FROM T_OrdVerdi WHERE Ord IN ('PERSON', 'GOD') ORDER BY Verdi")),
                  keep ? "BAIRN, CHILD, COON, COON, SPADE, SQUAW" : "CHILD");
        EXPECT_EQ(joined(db("SELECT Ord, Synonym FROM T_OrdSynonym WHERE Ord < Synonym "
                            "AND Ord NOT IN ('ABCDEFGHIJKLMNOP', 'AFFLUENT', 'BIG', 'FLOW') ORDER BY 1, 2")),
                  keep ? "BAIRN CHILD, COON RACCOON, COON SPADE, PERSON SPADE, SHOVEL SPADE" : "SHOVEL SPADE");
        EXPECT_EQ(reasons[store::kOffensive], keep ? 0 : 9);
    }
}

TEST(WordNet, CategoryMembersAreCheckedAgainstTheirSubject) {
    testing_support::TempDb tmp;
    // PLANET, of the solar system: MARS and VENUS are of it, HESPERUS (the
    // evening star) of nothing. DEITY: ZEUS, a name that is a bishop too, and
    // SAINT, whose instances are all bishops too but TERESA.
    std::string noun =
        kLicence + synset(3000, 'n', {"planet"}, {{"#m", 3900}, {"~i", 3100}, {"~i", 3200}, {"~i", 3300}}) +
        synset(3100, 'n', {"Mars"}, {{"#m", 3900}}) + synset(3200, 'n', {"Venus"}, {{"#m", 3900}}) +
        synset(3300, 'n', {"Hesperus"}) + synset(3900, 'n', {"solar_system"}) +
        synset(4000, 'n', {"deity"}, {{"~i", 4100}, {"~", 4200}}) + synset(4100, 'n', {"Zeus"}, {{"@i", 4000}});
    const std::vector<std::string> bishops = {"Ambrose", "Basil",  "Bede",   "Benedict", "Boniface",
                                              "Bruno",   "Jerome", "Martin", "Nicholas", "Dominic"};
    std::vector<Ptr> saints = {{"~i", 4300}}, bishop = {{"~i", 4100}};
    for (size_t i = 0; i < bishops.size(); ++i) {
        saints.push_back({"~i", 4301 + int(i)});
        bishop.push_back({"~i", 4301 + int(i)});
        noun += synset(4301 + int(i), 'n', {bishops[i]});
    }
    noun +=
        synset(4200, 'n', {"saint"}, saints) + synset(4300, 'n', {"Teresa"}) + synset(4900, 'n', {"bishop"}, bishop);
    writeWordNet("wn", noun);
    writeFile("wn/index.noun", kLicence + "deity n 1 0 1 0 00004000\nplanet n 1 0 1 0 00003000\n");
    Written db(collected([](auto& r) {
        sources::ReadWordNet("wn", {{"PLANETS", {{"planet", 1}}}, {"GODS", {{"deity", 1}}}}, r);
    }));
    // PLANET, whose sense is just the subject's, takes its members only.
    EXPECT_EQ(joined(db("SELECT Kategori, Ord FROM T_OrdKategori UNION ALL "
                        "SELECT Ord, Verdi FROM T_OrdVerdi WHERE Ord = 'PLANET' ORDER BY 1, 2")),
              "GODS ZEUS, PLANET MARS, PLANET VENUS, PLANETS MARS, PLANETS VENUS");
}

TEST(WordNet, ValuesAreCommonWordsInTheSenseTheClueHas) {
    testing_support::TempDb tmp;
    // BIRD (FOWL a rare word for it): CROW; SMEW, in no size list; KITE, a toy
    // far more often, but a bird in the list of BIRDS; Tweety, a name only the third list holds, and TW, its
    // letters; HAWK, EAGLE below it and ERNE, short and of the third list,
    // below that (BIRD names a subject: every depth); the kind
    // "grey bird", the name "Blue Bird". BEAST, no subject: CUB and KID below
    // it, not NANNY a level further nor Nemo, a name, below CUB; CUB, also a
    // bird here, all birds, but not Gruff, a kid, two levels below the young
    // animal; KID, far more
    // often a verb, none. SOLID, a substance: GLASS, not MATZO (food) nor Ce
    // (cerium's symbol); ACID: boric (of boron), not mild, nor TANG, a taste
    // far more often. PROVINCE: Connecticut, not the Nutmeg State. SEA:
    // the Dead Sea, a lake, not the Sea of Galilee, Galilee being a name.
    std::string noun =
        kLicence +
        synset(100, 'n', {"bird", "fowl"},
               {{"~", 200}, {"~", 300}, {"~", 400}, {"~i", 600}, {"~", 700}, {"~", 720}, {"~i", 800}}) +
        synset(200, 'n', {"crow"}) + synset(300, 'n', {"smew"}) + synset(400, 'n', {"kite"}) +
        synset(500, 'n', {"kite"}, {}, 6) + synset(600, 'n', {"Tweety", "TW"}, {{"@i", 100}}) +
        synset(700, 'n', {"hawk"}, {{"~", 710}}) + synset(710, 'n', {"eagle"}, {{"~", 730}}) +
        synset(730, 'n', {"erne"}) + synset(720, 'n', {"grey_bird"}, {{"@", 100}}) +
        synset(800, 'n', {"Blue_Bird"}, {{"@i", 100}}) + synset(900, 'n', {"beast"}, {{"~", 910}}) +
        synset(910, 'n', {"cub"}, {{"~", 920}, {"~i", 940}}) + synset(920, 'n', {"kid"}, {{"~", 930}, {"~i", 945}}) +
        synset(945, 'n', {"Gruff"}, {{"@i", 920}}) + synset(930, 'n', {"nanny"}) +
        synset(940, 'n', {"Nemo"}, {{"@i", 910}}) +
        synset(950, 'n', {"solid"}, {{"~", 951}, {"~", 952}, {"~", 953}}, 27) + synset(951, 'n', {"glass"}, {}, 27) +
        synset(952, 'n', {"matzo"}, {}, 13) + synset(953, 'n', {"cerium", "Ce"}, {}, 27) +
        synset(955, 'n', {"acid"}, {{"~", 956}, {"~", 957}, {"~", 958}}, 27) +
        synset(956, 'n', {"boric_acid"}, {}, 27) + synset(957, 'n', {"mild_acid"}, {}, 27) +
        synset(958, 'n', {"tang"}, {}, 27) + synset(959, 'n', {"tang"}, {}, 7) +
        synset(960, 'n', {"province", "state"}, {{"~i", 961}}, 15) +
        synset(961, 'n', {"Connecticut", "Nutmeg_State"}, {}, 15) +
        synset(970, 'n', {"water"}, {{"~", 971}, {"~", 972}}, 17) + synset(971, 'n', {"sea"}, {{"@", 970}}, 17) +
        synset(972, 'n', {"lake"}, {{"@", 970}, {"~i", 973}, {"~i", 974}}, 17) +
        synset(973, 'n', {"Dead_Sea"}, {{"@i", 972}}, 17) + synset(974, 'n', {"Sea_of_Galilee"}, {{"@i", 972}}, 17) +
        synset(975, 'n', {"Galilee"}, {}, 15);
    writeWordNet("wn", noun);
    writeFile("wn/index.noun",
              kLicence +
                  "beast n 1 0 1 0 00000900\nbird n 1 0 1 0 00000100\ncub n 2 0 2 0 00000910 00000100\n"
                  "fowl n 1 0 1 0 00000100\nkid n 1 0 1 0 00000920\nkite n 2 0 2 0 00000500 00000400\n"
                  "province n 1 0 1 0 00000960\nsea n 1 0 1 0 00000971\nsolid n 1 0 1 0 00000950\n"
                  "galilee n 1 0 1 0 00000975\nacid n 1 0 1 0 00000955\ntang n 2 0 2 0 00000959 00000958\n");
    writeFile("wn/index.verb", "kid v 1 0 1 0 00000010\n");
    writeFile("wn/data.adj", synset(40, 'a', {"grey"}) + synset(50, 'a', {"blue"}) +
                                 synset(60, 'a', {"boric"}, {{"\\", 951}}) + synset(70, 'a', {"mild"}));
    writeFile("wn/index.adj",
              "blue a 1 0 1 0 00000050\nboric a 1 0 1 0 00000060\ngrey a 1 0 1 0 00000040\nmild a 1 0 1 0 00000070\n");
    writeFile("wn/cntlist.rev",
              "kite%1:06:00:: 1 5\ngrey%3:00:00:: 1 2\nblue%3:00:00:: 1 2\nkid%2:32:00:: 1 9\ncub%1:05:01:: 2 "
              "1\ntang%1:07:00:: 1 5\n");
    writeFile("1", "bird\ncrow\nkite\ntw\nhawk\neagle\ngrey\nblue\nbeast\ncub\nkid\nnanny\n");
    writeFile("2", "fowl\n");
    writeFile("3", "tweety\nerne\nBogotá\n");  // a name WordNet writes without its accent
    store::WordListBuilder b;
    for (int n : {1, 2, 3}) sources::ReadRanks(std::to_string(n), n, b);
    EXPECT_EQ(b.rankOf("BOGOTA"), 3);
    sources::ReadWordNet("wn", {{"BIRDS", {{"bird", 1}}}}, b);
    Written db(b);
    EXPECT_EQ(db.values("BIRD"), "BLUE, CROW, EAGLE, ERNE, HAWK, KITE");
    EXPECT_EQ(db.values("BEAST"), "CUB, KID");
    EXPECT_EQ(db.members("BIRDS"), "CROW, EAGLE, ERNE, HAWK, KITE, SMEW, TWEETY");  // the list names the sense
    // No size lists: the rules of sense and depth alone.
    Written unranked(collected([](auto& r) { sources::ReadWordNet("wn", {{"BIRDS", {{"bird", 1}}}}, r); }));
    EXPECT_EQ(joined(unranked("SELECT Ord, group_concat(Verdi, ' ') FROM (SELECT * FROM T_OrdVerdi WHERE Ord IN "
                              "('BEAST', 'CUB', 'KID', 'SOLID', 'ACID', 'PROVINCE', 'SEA') ORDER BY Ord, Verdi) "
                              "GROUP BY Ord ORDER BY Ord")),
              "ACID BORIC, BEAST CUB KID, CUB BLUE CROW EAGLE ERNE HAWK KID NANNY NEMO SMEW TWEETY, "
              "PROVINCE CONNECTICUT, SEA DEAD, SOLID CERIUM GLASS");  // none for KID
}

TEST(WordNet, MissingAndMalformedFilesNameTheFileAndLine) {
    testing_support::TempDb tmp;
    const std::string good = nouns();
    const std::string cut = good.substr(0, good.find(" Arno_River 0"));  // the last line cut short
    for (const auto& [noun, folder, says] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {cut, "wn", "wn/data.noun, line 4: a synset line without its \"| gloss\" (is the file cut short?)"},
             // a word count larger than the words
             {kLicence + "00000100 05 n 03 river 0 stream 0 | gloss\n", "wn",
              "wn/data.noun, line 3: the synset line ends early (is the file cut short?)"},
             {kLicence + "00000100 05 n 01 river 0 001 ~ 00000999 n 0000 | gloss\n", "wn",
              "wn/data.noun, line 3: points to synset 999, which the file does not hold"},
             {kLicence + "00000100 05 n 01 river 0 000 | gloss\n", "wn",
              "wn/index.noun, line 3: sense 1 of \"child\" is a synset the data file does not hold"},
             {kLicence + "100 05 n 01 river 0 000 | gloss\n", "wn",
              "wn/data.noun, line 3: expected a synset offset of 8 digits, found \"100\""},
             {good, "wn", "no error"},
             {"", "wn", "wn/data.adv: no such file"},  // an empty data.noun stands for a missing data.adv
             {good, "nowhere", "nowhere: no such folder (is wordnet-base installed?)"}}) {
        fs::remove_all("wn");
        writeWordNet("wn", noun);
        if (noun.empty()) fs::remove("wn/data.adv");
        EXPECT_EQ(refused([dir = folder](auto& r) { sources::ReadWordNet(dir, kRivers, r); }), says);
    }
}

TEST(WordNet, CategoryListLinesAndFaults) {
    testing_support::TempDb tmp;
    writeFile("c.txt",
              "# subjects\nGODS AND GODDESSES | deity 1, Mountain Peak 2\n\nRIVERS|river 1 | nb ELV, nn ELV\n");
    const auto list = sources::ReadCategoryList("c.txt");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "GODS AND GODDESSES");
    EXPECT_EQ(list[0].senses, (std::vector<std::pair<std::string, int>>{{"deity", 1}, {"mountain_peak", 2}}));
    EXPECT_EQ(list[1].senses.size(), 1u);
    EXPECT_EQ(list[1].abroad, (std::vector<std::pair<std::string, std::string>>{{"nb", "ELV"}, {"nn", "ELV"}}));
    for (const auto& [text, says] :
         {std::pair{"BIRDS | bird 1\nFISH | fish\n", "line 2: expected \"lemma sense\", found \"fish\""},
          {"BIRDS | bird 1 | nb\n", "line 1: expected \"lang WORD\", found \"nb\""}}) {
        writeFile("c.txt", text);
        EXPECT_EQ(fault([] { sources::ReadCategoryList("c.txt"); }), std::string("c.txt, ") + says);
    }
    // The shipped list reads, and names fifty subjects or more.
    EXPECT_GE(sources::ReadCategoryList(testing_support::sourcePath("data/categories-en.txt")).size(), 50u);
}

namespace {

// NAME.index and NAME.dict.dz holding `entries` (headword, text), gzip-compressed.
void writeDictd(const std::string& name, const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string index = "00databaseshort\tA\tE\n", data = "short";
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    auto b64 = [&](size_t n) { return std::string(1, digits[n / 64]) + digits[n % 64]; };
    for (const auto& [head, text] : entries) {
        index += head + "\t" + b64(data.size()) + "\t" + b64(text.size()) + "\n";
        data += text;
    }
    writeFile(name + ".index", index);
    gzFile f = gzopen((name + ".dict.dz").c_str(), "wb");
    gzwrite(f, data.data(), unsigned(data.size()));
    gzclose(f);
}

const std::vector<std::pair<std::string, std::string>> kEngNor = {
    {"river", "river /ˈɹɪvə/ <n>\n1. elv, flod\nlarge stream\n2. elv\nany large flow\n"},
    {"tributary", "tributary <n>\nsideelv 2.\nriver\n"},
    {"backwater", "backwater <v>\nbakevje\nnot a noun\n"},
    {"stream", "stream <n>\nbekk\nsmall river\n"}};

}  // namespace

TEST(WordNet, ValuesAreCarriedAcrossADictionaryAndDamagedOnesAreNamed) {
    testing_support::TempDb tmp;
    writeWordNet("wn");
    writeDictd("eng-nor", kEngNor);
    Written db(collected([](auto& r) {
        sources::TranslateWordNet(
            sources::LoadWordNet("wn"),
            {{"STREAMS", {{"river", 1}}}, {"SIDES", {{"tributary", 1}}, {{"nn", "X"}, {"nb", "VASSDRAG"}}}},
            sources::ReadDictd("eng-nor.index"), r, "nb");
    }));
    // Both words of the clue's first sense; a value translated, or a name of
    // one word as it is; a shortened name (ARNO, PIUS), an untranslated
    // common noun (SLOUGH) and a verb's entry left out. A subject's members are
    // values of its word (STREAMS: BEKK); a subject that names its word in the
    // language gives it its members as they are (SIDES: VASSDRAG).
    EXPECT_EQ(joined(db("SELECT Ord, Verdi FROM T_OrdVerdi ORDER BY 1, 2")),
              "BEKK ELBE, BEKK SIDEELV, ELV ELBE, ELV SIDEELV, FLOD ELBE, FLOD SIDEELV, VASSDRAG BACKWATER, "
              "VASSDRAG BAYOU, VASSDRAG SLOUGH");
    // Damaged dictionaries (an index past the data, then the data cut short)
    // and size lists are named.
    auto read = [] { return fault([] { sources::ReadDictd("d"); }); };
    writeDictd("d", kEngNor);
    writeFile("d.index", "00databaseshort\tA\tE\nriver\tA\tZZ\n");
    EXPECT_TRUE(read().starts_with("d.index, line 2: points past the end of d.dict.dz")) << read();
    const std::string dz = sources::ReadFile("d.dict.dz");
    writeFile("d.dict.dz", dz.substr(0, dz.size() - 12));
    EXPECT_TRUE(read().starts_with("d.dict.dz: the compressed data is damaged or cut short")) << read();
    writeFile("list", "dog\nna\xefve\n");
    EXPECT_EQ(refused([](auto& r) { sources::ReadRanks("list", 1, r); }),
              "list, line 2: not UTF-8 text, which a SCOWL size list is");
}
