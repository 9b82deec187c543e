// velmora-mkdb: the demo list, CSV backup and restore, bad input, and
// builds killed half-way.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "store/wordlists.h"
#include "store/wordstore.h"
#include "support.h"

namespace fs = std::filesystem;
using testing_support::fileRows;
using testing_support::mkdb;
using testing_support::Rows;
using testing_support::TempDb;
using testing_support::writeFile;

namespace {

// Starts velmora-mkdb on a thesaurus without waiting, so that it can be killed.
pid_t startMkdb(const std::string& target, const std::string& thesaurus) {
    return testing_support::spawn([&] {
        const std::string tool = testing_support::binaryPath("velmora-mkdb");
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(tool.c_str(), tool.c_str(), target.c_str(), "--thesaurus", thesaurus.c_str(), nullptr);
        return 127;
    });
}

}  // namespace

TEST(Mkdb, ExportThenImportGivesTheSameRows) {
    TempDb db;
    db.addWord("O'NEIL");
    db.addWord("DOG", "X");
    db.exec("UPDATE T_Ord SET Star = '3' WHERE Ord = 'DOG'");
    db.addCategory("ANIMALS");
    db.addCategory("A, \"QUOTED\" ONE");
    db.link("DOG", "ANIMALS");
    db.synonym("DOG", "HOUND");
    db.synonym("DOG", "HOUND");  // a repeated row survives the trip
    db.value("DOG", "TWO\nLINES");
    db.exec("INSERT INTO T_Verdi (Verdi, Notat) VALUES ('', NULL)");
    ASSERT_EQ(mkdb("--export velmora.mdb backup"), 0);
    ASSERT_EQ(mkdb("copy.mdb --import backup"), 0);
    for (const char* t : {"T_Ord", "T_Kategori", "T_OrdKategori", "T_OrdSynonym", "T_Verdi", "T_OrdVerdi"}) {
        const std::string sql = std::string("SELECT * FROM ") + t + " ORDER BY rowid";
        EXPECT_EQ(fileRows("copy.mdb", sql), db.rows(sql)) << t;
    }
    // The copy opens as a word database.
    EXPECT_TRUE(store::Database("copy.mdb").WordExists("O'NEIL"));
}

// An option where the target belongs, and a target that cannot be made, are
// refused before any source is read, and no file is made.
TEST(Mkdb, AnOptionOrATargetThatCannotBeMadeIsRefusedFirst) {
    TempDb db;
    writeFile("afile", "");
    writeFile("w.txt", "hund\n");
    fs::create_directory("ro");
    fs::permissions(".", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions("ro",
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    // Root writes anywhere, so the program runs as nobody for ro/.
    const std::string runner = ::geteuid() == 0 ? "runuser -u nobody -- " : "";
    struct Case {
        std::string args;
        int rc;
        std::string says;
    };
    for (const Case& c : {
             Case{"--installed", 2, "--installed needs the word database to make first"},
             Case{"--demo --facts", 2, "--demo needs the word database to make first"},
             Case{"-x.mdb --demo", 2, "-x.mdb needs the word database to make first"},
             Case{"a.mdb --wordlist w.txt --encoding ''", 2, "--encoding needs the name of an encoding"},
             Case{"gone/a.mdb --thesaurus no.dat", 1, "gone/a.mdb: cannot be made: the folder gone does not exist"},
             Case{"afile/a.mdb --thesaurus no.dat", 1, "afile/a.mdb: cannot be made: afile is a file, not a folder"},
             Case{"ro/a.mdb --thesaurus no.dat", 1,
                  "ro/a.mdb: cannot be made: you have no permission to write in the folder ro"},
         }) {
        std::string out;
        EXPECT_EQ(mkdb(c.args, &out, c.args.starts_with("ro/") ? runner : ""), c.rc) << c.args;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
    }
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(".")) names.insert(e.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>({"afile", "mkdb.log", "ro", "velmora.mdb", "w.txt"}));
    EXPECT_TRUE(fs::is_empty("ro"));
    // --version says the version the program says.
    std::string mine;
    ASSERT_EQ(mkdb("--version", &mine), 0);
    std::system((std::string(VELMORA_BINARY_DIR) + "/app/velmora --version >mkdb.log").c_str());
    std::ifstream in("mkdb.log");
    const std::string velmora(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(mine, "velmora-mkdb" + velmora.substr(velmora.find(' '))) << velmora;
}

TEST(Mkdb, DemoListMakesAWordDatabaseToTryEverything) {
    TempDb db;
    std::string out;
    ASSERT_EQ(mkdb("demo.mdb --demo", &out), 0) << out;
    EXPECT_NE(out.find("0 skipped"), std::string::npos) << out;
    store::Database d("demo.mdb");
    EXPECT_GE(d.Categories().size(), 15u);
    EXPECT_FALSE(d.Synonyms("BIG", true).empty());
    EXPECT_FALSE(d.Values("RIVER", true).empty());
    EXPECT_FALSE(d.CandidateSynonyms("BIG", 4).empty());
    EXPECT_GE(d.PatternLookup("SEA").size(), 4u);
    // Every pair is there in both directions.
    EXPECT_EQ(fileRows("demo.mdb",
                       "SELECT count(*) FROM T_OrdSynonym a WHERE NOT EXISTS (SELECT 1 FROM T_OrdSynonym b "
                       "WHERE b.Ord = a.Synonym AND b.Synonym = a.Ord)"),
              Rows({{"0"}}));
}

namespace {

// A small WordNet: RIVER with the instance ARNO, the kind TRIBUTARY.
void writeWordNet(const std::string& dir) {
    fs::create_directories(dir);
    writeFile(dir + "/data.noun",
              "00000100 05 n 02 river 0 stream 0 002 ~i 00000200 n 0000 ~ 00000300 n 0000 | a gloss\n"
              "00000200 05 n 02 Arno 0 Arno_River 0 001 @i 00000100 n 0000 | a river\n"
              "00000300 05 n 01 tributary 0 001 @ 00000100 n 0000 | a stream\n");
    writeFile(dir + "/index.noun", "river n 1 2 ~ ~i 1 0 00000100\n");
    for (const char* f : {"/data.verb", "/data.adj", "/data.adv"}) writeFile(dir + f, "");
}

void writeCodes(const std::string& dir) {
    fs::create_directories(dir);
    writeFile(dir + "/iso_3166-1.json",
              R"({"3166-1": [{"alpha_2": "NO", "alpha_3": "NOR", "name": "Norway", "numeric": "578"}]})");
    writeFile(dir + "/iso_4217.json", R"({"4217": [{"alpha_3": "NOK", "name": "Norwegian Krone", "numeric": "578"}]})");
    writeFile(dir + "/iso_639-2.json", R"({"639-2": [{"alpha_2": "no", "alpha_3": "nor", "name": "Norwegian"}]})");
}

void expectNoTarget(const std::string& name) {
    for (const auto& e : fs::directory_iterator("."))
        EXPECT_EQ(e.path().filename().string().rfind(name, 0), std::string::npos) << e.path();
}

}  // namespace

TEST(Mkdb, SourcesCombineAndRepeatWithASummaryLineEach) {
    TempDb db;
    writeWordNet("wn");
    writeCodes("json");
    writeFile("cats.txt", "RIVERS | river 1\n");
    writeFile("a.txt", "fjord\nsjø\n");
    writeFile("b.txt", "fjord\nbl\xe5\n");
    std::string out;
    ASSERT_EQ(mkdb("all.mdb --demo --wordnet wn --categories cats.txt --codes json --facts --wordlist a.txt "
                   "--wordlist b.txt --encoding ISO-8859-1 --thesaurus th.dat",
                   &out),
              1)
        << "a missing thesaurus fails the whole build";
    expectNoTarget("all.mdb");
    writeFile("th.dat", "UTF-8\nriver|1\n(noun)|watercourse|o'brook\n");
    writeFile("rank.txt", "river\ntributary\nnorway\n");
    writeFile("rank2.txt", "arno\n");
    ASSERT_EQ(mkdb("all.mdb --demo --wordnet wn --categories cats.txt --codes json --facts --wordlist a.txt "
                   "--wordlist b.txt --encoding ISO-8859-1 --thesaurus th.dat --rank rank.txt --rank rank2.txt",
                   &out),
              0)
        << out;
    // One line a source, in the order given (the size lists first, for WordNet's values
    // are held to them), with what it added to the sources before it
    // (RIVER and STREAM come from the demo list; RIVER gets ARNO and TRIBUTARY).
    EXPECT_NE(out.find("  wordnet wn: 3 words, 1 pairs, 2 values, 1 categories, 2 links, 0 skipped"), std::string::npos)
        << out;
    EXPECT_NE(out.find("  wordlist a.txt: 2 words, 0 pairs"), std::string::npos) << out;
    EXPECT_NE(out.find("  wordlist b.txt: 1 words, 0 pairs"), std::string::npos) << out;
    EXPECT_NE(
        out.find(
            "  thesaurus th.dat: 1 words, 1 pairs, 0 values, 0 categories, 0 links, 1 skipped (1 cannot be typed)"),
        std::string::npos)
        << out;
    EXPECT_LT(out.find("  demo:"), out.find("  wordnet wn:"));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'NORWAY' ORDER BY Verdi"),
              Rows({{"NO"}, {"NOK"}, {"NOR"}}));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'IRON'"), Rows({{"FE"}}));
    EXPECT_EQ(fileRows("all.mdb", "SELECT count(*) FROM T_OrdVerdi WHERE Ord = 'RIVER' AND Verdi = 'ARNO'"),
              Rows({{"1"}}));
    // The ranked word first among the values, its rank in a table of its own.
    EXPECT_EQ(fileRows("all.mdb", "SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'RIVER' ORDER BY rowid LIMIT 1"),
              Rows({{"TRIBUTARY"}}));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Ord, Rang FROM T_Rang WHERE Ord IN ('ARNO', 'TRIBUTARY') ORDER BY 1"),
              Rows({{"ARNO", "2"}, {"TRIBUTARY", "1"}}));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Ord FROM T_Ord WHERE Ord IN ('FJORD', 'SJØ', 'BLÅ') ORDER BY Ord"),
              Rows({{"BLÅ"}, {"FJORD"}, {"SJØ"}}));
    // No progress lines when the output is no terminal.
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

TEST(Mkdb, BadInputNamesTheFileAndLineAndBuildsNothing) {
    TempDb db;
    writeWordNet("wn");
    writeCodes("json");
    writeFile("latin1.txt", "hund\nbl\xe5\n");
    writeFile("wn/data.verb", "00000010 29 v 01 run 0 000 01 + 02 00 | to move fast\n00000020 29 v 02 flow 0");
    writeFile("json/iso_4217.json", "{\"4217\": [\n{\"alpha_3\": \"NOK\",,}]}");
    writeFile("bad.dat", "UTF-8\nbig|2\n(adj)|large\n");
    ASSERT_EQ(mkdb("--export velmora.mdb csv"), 0);
    struct Case {
        const char* csv;  // T_OrdSynonym.csv first, when given
        const char* args;
        const char* message;
        int status;
    };
    for (const Case& c : {
             Case{nullptr, "--demo", "exists already", 1},  // the target given is the word database itself
             Case{nullptr, "--thesaurus nowhere.dat", "nowhere.dat: no such file", 1},
             Case{nullptr, "--thesaurus bad.dat", "bad.dat, line 2", 1},
             Case{nullptr, "--wordnet nowhere", "nowhere: no such folder", 1},
             Case{nullptr, "--wordnet wn", "wn/data.verb, line 2: a synset line without its \"| gloss\"", 1},
             Case{nullptr, "--codes json", "json/iso_4217.json, line 2: not readable JSON", 1},
             Case{nullptr, "--wordlist latin1.txt", "latin1.txt, line 2: not UTF-8 text", 1},
             Case{nullptr, "--wordlist latin1.txt --encoding NO-SUCH", "latin1.txt: unknown encoding \"NO-SUCH\"", 1},
             Case{nullptr, "--rank latin1.txt", "latin1.txt, line 2: not UTF-8 text, which a SCOWL size list is", 1},
             Case{nullptr, "--translate nowhere", "nowhere.index: no such file", 1},
             Case{nullptr, "--codes json --language nb --locale nowhere",
                  "nowhere/nb/LC_MESSAGES/iso_3166-1.mo: no such file", 1},
             Case{nullptr, "--demo --encoding ISO-8859-1",
                  "unknown argument \"--encoding\" (it follows the --wordlist FILE", 2},
             Case{nullptr, "--bogus", "unknown argument", 2},
             Case{"Word,Synonym,Notat\r\n", "--import csv",
                  "T_OrdSynonym.csv, line 1: the header row does not name the columns Ord,Synonym", 1},
             Case{"Ord,Synonym,Notat\r\n\"A\",\"B", "--import csv", "T_OrdSynonym.csv, line 2", 1},
             Case{"Ord,Synonym,Notat\r\n\"A\",\"B\"\r\n", "--import csv", "line 2: the row has 2 fields, the header 3",
                  1},
         }) {
        if (c.csv) writeFile("csv/T_OrdSynonym.csv", c.csv);
        const std::string target = std::string(c.args) == "--demo" ? "velmora.mdb " : "bad.mdb ";
        std::string out;
        EXPECT_EQ(mkdb(target + c.args, &out), c.status) << c.args;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << ": " << out;
        expectNoTarget("bad.mdb");
    }
    writeFile("csv/T_OrdSynonym.csv", "Ord,Synonym,Notat\r\n");
    fs::remove("csv/T_Verdi.csv");
    std::string out;
    EXPECT_EQ(mkdb("bad.mdb --import csv", &out), 1);
    EXPECT_NE(out.find("T_Verdi.csv: no such file"), std::string::npos) << out;
    EXPECT_EQ(db.count("T_Ord"), 0);  // the existing target was left alone
}

// velmora-mkdb killed at random moments while it imports a thesaurus: the
// target is either absent or whole, and the next run cleans up after it.
TEST(KilledImport, TargetIsAbsentOrWholeAndPartsAreCleanedUp) {
    testing_support::TempDb tmp;  // a folder of our own
    const std::string th = (tmp.dir() / "th.dat").string();
    {
        std::ofstream out(th);
        out << "UTF-8\n";
        for (int i = 0; i < 30000; ++i)
            out << "entry" << i << "|1\n(noun)|syn" << i << "a|syn" << i << "b|syn" << (i + 1) << "a\n";
    }
    const std::string target = (tmp.dir() / "new.mdb").string();

    // A whole run first, for the figures a finished file has.
    ASSERT_EQ(testing_support::waitFor(startMkdb(target, th)), 0);
    const std::string words = fileRows(target, "SELECT count(*) FROM T_Ord")[0][0];
    const std::string pairs = fileRows(target, "SELECT count(*) FROM T_OrdSynonym")[0][0];
    ASSERT_GT(std::stoi(words), 90000);
    fs::remove(target);

    std::mt19937 rng(7);
    int absent = 0, finished = 0;
    constexpr int kRuns = 15;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = startMkdb(target, th);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 900));
        ::kill(pid, SIGKILL);
        testing_support::waitFor(pid);
        if (!fs::exists(target)) {
            ++absent;
            continue;
        }
        ++finished;
        EXPECT_EQ(fileRows(target, "PRAGMA integrity_check"), Rows({{"ok"}})) << "run " << run;
        EXPECT_EQ(fileRows(target, "SELECT count(*) FROM T_Ord")[0][0], words) << "run " << run;
        EXPECT_EQ(fileRows(target, "SELECT count(*) FROM T_OrdSynonym")[0][0], pairs) << "run " << run;
        fs::remove(target);
    }
    EXPECT_EQ(absent + finished, kRuns);
    EXPECT_GT(absent, 0) << "no run was killed half-way";

    // Killed runs leave ".part-PID" files; the next build removes them.
    ASSERT_EQ(testing_support::waitFor(startMkdb(target, th)), 0);
    for (const auto& e : fs::directory_iterator(tmp.dir()))
        EXPECT_EQ(e.path().filename().string().find("new.mdb.part-"), std::string::npos) << e.path();
}

// A build removes the parts that killed builds left in its folder; the part
// of a build still running, and every file that is not a part of ours,
// however named, stay.
TEST(KilledImport, OnlyOurDeadPartsGo) {
    testing_support::TempDb tmp;
    const pid_t ended = testing_support::spawn([] { return 0; });
    testing_support::waitFor(ended);
    const std::string dead = std::to_string(ended), live = std::to_string(::getppid());
    enum Holds { Words, Nothing, Text };
    struct Case {
        std::string name;
        Holds holds;
        bool goes;
    };
    const std::vector<Case> cases = {{"other.mdb.part-" + dead, Words, true},
                                     {"new.db.part-" + dead, Nothing, true},
                                     {"third.mdb.part-" + live, Words, false},
                                     {"old.db.part-" + dead, Words, false},
                                     {"notes.mdb.part-" + dead, Text, false},
                                     {"thesis.odt.part-3999999", Words, false},
                                     {"photos.zip.part-123456", Nothing, false},
                                     {"backup.tar.part-" + dead, Text, false},
                                     {"notes.part-x", Text, false}};
    for (const Case& c : cases) {
        if (c.holds == Words)
            fs::copy_file("velmora.mdb", c.name);
        else
            writeFile(c.name, c.holds == Text ? "my own words" : "");
    }
    ASSERT_EQ(mkdb("new.db"), 0);
    for (const Case& c : cases) EXPECT_EQ(fs::exists(c.name), !c.goes) << c.name;
}

// Velmora's start clears them too, in its own folder.
TEST(KilledImport, VelmoraStartRemovesDeadParts) {
    testing_support::TempDb tmp;
    const pid_t ended = testing_support::spawn([] { return 0; });
    testing_support::waitFor(ended);
    const std::string deadPart = "velmora.mdb.part-" + std::to_string(ended);
    fs::copy_file("velmora.mdb", deadPart);
    writeFile("thesis.odt.part-3999999", "");
    const pid_t app = testing_support::spawn([] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string bin = std::string(VELMORA_BINARY_DIR) + "/app/velmora";
        ::execl(bin.c_str(), bin.c_str(), nullptr);
        return 127;
    });
    for (int i = 0; i < 200 && fs::exists(deadPart); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(deadPart));
    ::kill(app, SIGKILL);
    testing_support::waitFor(app);
    EXPECT_TRUE(fs::exists("velmora.mdb"));
    EXPECT_TRUE(fs::exists("thesis.odt.part-3999999"));
}
