// velmora-mkdb: the demo list, the sources with a summary line each, CSV
// backup and restore, bad input, and builds killed half-way.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "samples.h"
#include "store/wordstore.h"
#include "support.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// Starts a command without waiting, as the process it runs, so that it can be killed.
pid_t start(const std::string& command) {
    return spawn([&] {
        ::execl("/bin/sh", "sh", "-c", ("exec " + command + " >/dev/null 2>&1").c_str(), nullptr);
        return 127;
    });
}

// The names in the current folder.
std::set<std::string> names() {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(".")) out.insert(e.path().filename().string());
    return out;
}

}  // namespace

TEST(Mkdb, ExportThenImportGivesTheSameRows) {
    TempDb db;
    db.addWord("O'NEIL");
    db.addWord("DOG", "X");
    db.exec("UPDATE T_Ord SET Star = '3' WHERE Ord = 'DOG'");
    db.addCategory("ANIMALS");
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

TEST(Mkdb, TheDemoListAloneAndSourcesCombinedAndRepeatedWithASummaryLineEach) {
    TempDb db;
    // The demo list alone makes a word database to try everything.
    std::string out;
    ASSERT_EQ(mkdb("demo.mdb --demo", &out), 0) << out;
    store::Database d("demo.mdb");
    EXPECT_FALSE(out.find("0 skipped") == std::string::npos || d.Categories().size() < 15 ||
                 d.PatternLookup("SEA").size() < 4 || d.Synonyms("BIG", true).empty() ||
                 d.Values("RIVER", true).empty() || d.CandidateSynonyms("BIG", 4).empty())
        << out;
    sources_test::writeWordNet("wn");
    sources_test::writeCodes("json");
    writeFile("cats.txt", "RIVERS | river 1\n");
    writeFile("a.txt", "fjord\nsjø\n");
    writeFile("b.txt", "fjord\nbl\xe5\n");
    const std::string all =
        "all.mdb --demo --wordnet wn --categories cats.txt --codes json --facts --wordlist a.txt "
        "--wordlist b.txt --encoding ISO-8859-1 --thesaurus th.dat";
    ASSERT_EQ(mkdb(all, &out), 1) << "a missing thesaurus fails the whole build";
    for (const std::string& name : names()) EXPECT_FALSE(name.starts_with("all.mdb")) << name;
    writeFile("th.dat", "UTF-8\nriver|1\n(noun)|watercourse|o'brook\n");
    writeFile("rank.txt", "river\ntributary\nnorway\n");
    writeFile("rank2.txt", "arno\n");
    ASSERT_EQ(mkdb(all + " --rank rank.txt --rank rank2.txt", &out), 0) << out;
    // One line a source, in the order given (the size lists first: WordNet's values are
    // held to them), with what it added to the sources before it (words and pairs the
    // demo list holds already are not counted again; RIVER gets ARNO and TRIBUTARY).
    for (const char* line :
         {"  wordnet wn: 17 words, 3 pairs, 2 values, 1 categories, 7 links, 21 skipped (14 answer not common, 1 "
          "cannot be typed, 4 clue word not common, 2 offensive sense)",
          "  wordlist a.txt: 2 words, 0 pairs", "  wordlist b.txt: 1 words, 0 pairs",
          "  thesaurus th.dat: 1 words, 1 pairs, 0 values, 0 categories, 0 links, 1 skipped (1 cannot be typed)"})
        EXPECT_NE(out.find(line), std::string::npos) << out;
    EXPECT_LT(out.find("  demo:"), out.find("  wordnet wn:"));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Ord, Verdi FROM T_OrdVerdi WHERE Ord IN ('IRON', 'NORWAY') ORDER BY 1, 2"),
              Rows({{"IRON", "FE"}, {"NORWAY", "NO"}, {"NORWAY", "NOK"}, {"NORWAY", "NOR"}}));
    // The ranked word first among the values, its rank in a table of its own.
    EXPECT_EQ(fileRows("all.mdb", "SELECT Verdi FROM T_OrdVerdi WHERE Ord = 'RIVER' ORDER BY rowid LIMIT 1"),
              Rows({{"TRIBUTARY"}}));
    EXPECT_EQ(fileRows("all.mdb", "SELECT Ord, Rang FROM T_Rang WHERE Ord IN ('ARNO', 'TRIBUTARY') ORDER BY 1"),
              Rows({{"ARNO", "2"}, {"TRIBUTARY", "1"}}));
    // No progress lines when the output is no terminal.
    EXPECT_EQ(out.find('\r'), std::string::npos);
}

// Bad input names the file and makes no file (the readers' own tests hold
// their messages; a failing source ends the whole build above). An option
// where the target belongs, and a target that cannot be made, are refused
// before any source is read.
TEST(Mkdb, BadInputIsRefusedAndMakesNothing) {
    TempDb db;
    writeFile("afile", "");
    ASSERT_EQ(mkdb("--export velmora.mdb csv"), 0);
    for (const auto& [dir, text] :
         {std::pair{"csv1", "Word,Synonym,Notat\r\n"}, {"csv3", "Ord,Synonym,Notat\r\n\"A\",\"B\"\r\n"}}) {
        fs::copy("csv", dir);
        writeFile(std::string(dir) + "/T_OrdSynonym.csv", text);
    }
    fs::remove("csv/T_Verdi.csv");
    fs::create_directory("ro");
    fs::permissions(".", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions("ro", fs::perms::owner_write | fs::perms::group_write, fs::perm_options::remove);
    // Root writes anywhere, so the program runs as nobody for ro/.
    const std::string runner = ::geteuid() == 0 ? "runuser -u nobody -- " : "";
    struct Case {
        std::string args, says;
        int rc = 1;
    };
    for (const Case& c : std::vector<Case>{
             {"-x.mdb --demo", "-x.mdb needs the word database to make first", 2},
             {"a.mdb --wordlist w.txt --encoding ''", "--encoding needs the name of an encoding", 2},
             {"bad.mdb --demo --encoding ISO-8859-1", "unknown argument \"--encoding\" (it follows the --wordlist FILE",
              2},
             {"bad.mdb --bogus", "unknown argument", 2},
             {"gone/a.mdb --thesaurus no.dat", "gone/a.mdb: cannot be made: the folder gone does not exist"},
             {"afile/a.mdb --thesaurus no.dat", "afile/a.mdb: cannot be made: afile is a file, not a folder"},
             {"ro/a.mdb --thesaurus no.dat",
              "ro/a.mdb: cannot be made: you have no permission to write in the folder ro"},
             {"velmora.mdb --demo", "exists already"},
             {"bad.mdb --translate nowhere", "nowhere.index: no such file"},
             {"bad.mdb --codes json --language nb --locale nowhere",
              "nowhere/nb/LC_MESSAGES/iso_3166-1.mo: no such file"},
             {"bad.mdb --import csv1",
              "T_OrdSynonym.csv, line 1: the header row does not name the columns Ord,Synonym"},
             {"bad.mdb --import csv3", "line 2: the row has 2 fields, the header 3"},
             {"bad.mdb --import csv", "T_Verdi.csv: no such file"},
         }) {
        std::string out;
        EXPECT_EQ(mkdb(c.args, &out, c.args.starts_with("ro/") ? runner : ""), c.rc) << c.args;
        EXPECT_NE(out.find(c.says), std::string::npos) << c.args << ": " << out;
    }
    EXPECT_EQ(names(), std::set<std::string>({"afile", "csv", "csv1", "csv3", "mkdb.log", "ro", "velmora.mdb"}));
    EXPECT_TRUE(fs::is_empty("ro"));
    EXPECT_EQ(db.count("T_Ord"), 0);  // the existing target was left alone
    // --version says the version the program says.
    std::string mine;
    ASSERT_EQ(mkdb("--version", &mine), 0);
    std::system((std::string(VELMORA_BINARY_DIR) + "/app/velmora --version >mkdb.log").c_str());
    std::ifstream in("mkdb.log");
    const std::string velmora(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(mine, "velmora-mkdb" + velmora.substr(velmora.find(' '))) << velmora;
}

// velmora-mkdb killed at random moments while it imports a thesaurus: the
// target is either absent or whole, and the next run cleans up after it.
// A build, and Velmora's start in its own folder, remove the parts that
// killed builds left; the part of a build still running, and every file that
// is not a part of ours, however named, stay.
TEST(KilledImport, TargetIsAbsentOrWholeAndOnlyOurDeadPartsGo) {
    TempDb tmp;
    std::ofstream th("th.dat");
    th << "UTF-8\n";
    for (int i = 0; i < 30000; ++i)
        th << "entry" << i << "|1\n(noun)|syn" << i << "a|syn" << i << "b|syn" << (i + 1) << "a\n";
    th.close();
    const std::string build = binaryPath("velmora-mkdb") + " new.mdb --thesaurus th.dat";
    const std::string figures = "SELECT (SELECT count(*) FROM T_Ord), count(*) FROM T_OrdSynonym";
    // A whole run first, for the figures a finished file has.
    ASSERT_EQ(waitFor(start(build)), 0);
    const Rows whole = fileRows("new.mdb", figures);
    ASSERT_GT(std::stoi(whole[0][0]), 90000);
    fs::remove("new.mdb");
    std::mt19937 rng(7);
    int absent = 0;
    for (int run = 0; run < 15; ++run) {
        const pid_t pid = start(build);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 900));
        ::kill(pid, SIGKILL);
        waitFor(pid);
        absent += !fs::exists("new.mdb");
        if (!fs::exists("new.mdb")) continue;
        EXPECT_EQ(fileRows("new.mdb", "PRAGMA integrity_check"), Rows({{"ok"}})) << "run " << run;
        EXPECT_EQ(fileRows("new.mdb", figures), whole) << "run " << run;
        fs::remove("new.mdb");
    }
    EXPECT_GT(absent, 0) << "no run was killed half-way";
    // Killed runs leave ".part-PID" files; the next build removes them.
    ASSERT_EQ(waitFor(start(build)), 0);
    for (const std::string& name : names()) EXPECT_EQ(name.find("new.mdb.part-"), std::string::npos) << name;
    // Parts made by hand: only ours of dead builds go.
    const pid_t ended = spawn([] { return 0; });
    waitFor(ended);
    const std::string dead = std::to_string(ended), live = std::to_string(::getppid());
    enum Holds { Words, Nothing, Text };
    const std::vector<std::tuple<std::string, Holds, bool>> cases = {{"other.mdb.part-" + dead, Words, true},
                                                                     {"new.db.part-" + dead, Nothing, true},
                                                                     {"third.mdb.part-" + live, Words, false},
                                                                     {"old.db.part-" + dead, Words, false},
                                                                     {"notes.mdb.part-" + dead, Text, false},
                                                                     {"thesis.odt.part-3999999", Words, false},
                                                                     {"photos.zip.part-123456", Nothing, false},
                                                                     {"backup.tar.part-" + dead, Text, false},
                                                                     {"notes.part-x", Text, false}};
    for (const auto& [name, holds, goes] : cases)
        holds == Words ? void(fs::copy_file("velmora.mdb", name))
                       : writeFile(name, holds == Text ? "my own words" : "");
    ASSERT_EQ(mkdb("new.db"), 0);
    for (const auto& [name, holds, goes] : cases) EXPECT_EQ(fs::exists(name), !goes) << name;

    fs::copy_file("velmora.mdb", "velmora.mdb.part-" + dead);
    const pid_t app = start("env QT_QPA_PLATFORM=offscreen " + std::string(VELMORA_BINARY_DIR) + "/app/velmora");
    for (int i = 0; i < 200 && fs::exists("velmora.mdb.part-" + dead); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists("velmora.mdb.part-" + dead));
    ::kill(app, SIGKILL);
    waitFor(app);
    EXPECT_TRUE(fs::exists("velmora.mdb") && fs::exists("thesis.odt.part-3999999"));
}
