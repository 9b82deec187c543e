// velmora-mkdb and the word-list readers: thesaurus files in both
// encodings, the demo list, CSV backup and restore, bad input, and builds
// killed half-way.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

#include "store/shown.h"
#include "store/wordlists.h"
#include "store/wordstore.h"
#include "support.h"

namespace fs = std::filesystem;
using testing_support::TempDb;
using Rows = std::vector<std::vector<std::string>>;

namespace {

void write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

int mkdb(const std::string& args, std::string* output = nullptr) {
    const std::string log = "mkdb.log";
    int rc = std::system((testing_support::binaryPath("velmora-mkdb") + " " + args + " >" + log + " 2>&1").c_str());
    if (output) {
        std::ifstream in(log);
        *output = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

Rows rowsOf(const std::string& file, const std::string& sql) {
    store::Connection c(file);
    store::Stmt st = c.prepare(sql);
    Rows out;
    while (st.step()) {
        std::vector<std::string> r;
        for (int i = 0; i < st.columns(); ++i) r.push_back(st.isNull(i) ? "<null>" : st.text(i));
        out.push_back(r);
    }
    return out;
}

// Starts velmora-mkdb on a thesaurus without waiting, so that it can be killed.
pid_t startMkdb(const std::string& target, const std::string& thesaurus) {
    const std::string tool = testing_support::binaryPath("velmora-mkdb");
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(tool.c_str(), tool.c_str(), target.c_str(), "--thesaurus", thesaurus.c_str(), nullptr);
        ::_exit(127);
    }
    return pid;
}

const char* kThesaurus =
    "UTF-8\n"
    "big|2\n"
    "(adj)|large|huge (similar term)|small (antonym)\n"
    "(adj)|large|grown-up|bad (similar term)\n"
    "large|1\n"
    "(adj)|big\n"
    "o'clock|1\n"
    "(adv)|hour\n"
    "café|1\n"
    "(noun)|coffee house|bistro\n"
    "blåbær|1\n"
    "(noun)|bær\n";

}  // namespace

TEST(Thesaurus, EntriesBecomeWordsPairsAndCategories) {
    TempDb db;
    store::WordListBuilder b;
    b.readThesaurusText(kThesaurus, "t.dat");
    store::Connection c("new.mdb", store::Connection::Mode::Create);
    store::CreateSchema(c);
    b.write(c);
    // Upper case, notes dropped, antonyms left out, each pair once in both directions.
    EXPECT_EQ(rowsOf("new.mdb", "SELECT Synonym FROM T_OrdSynonym WHERE Ord = 'BIG' ORDER BY Synonym"),
              Rows({{"BAD"}, {"GROWN-UP"}, {"HUGE"}, {"LARGE"}}));
    EXPECT_EQ(rowsOf("new.mdb", "SELECT count(*) FROM T_OrdSynonym WHERE Ord = 'LARGE' AND Synonym = 'BIG'"),
              Rows({{"1"}}));
    EXPECT_EQ(rowsOf("new.mdb", "SELECT count(*) FROM T_OrdSynonym WHERE Synonym = 'SMALL'"), Rows({{"0"}}));
    EXPECT_EQ(rowsOf("new.mdb", "SELECT Kategori FROM T_Kategori"), Rows({{"ADJ"}, {"NOUN"}}));
    EXPECT_EQ(rowsOf("new.mdb", "SELECT Ord, Kategori FROM T_OrdKategori WHERE Ord = 'BIG'"), Rows({{"BIG", "ADJ"}}));
    // Entries the word field cannot type are skipped (o'clock, café), Norwegian letters kept.
    EXPECT_EQ(rowsOf("new.mdb", "SELECT count(*) FROM T_Ord WHERE Ord IN ('O''CLOCK', 'CAFÉ', 'HOUR')"), Rows({{"0"}}));
    EXPECT_EQ(rowsOf("new.mdb", "SELECT Synonym FROM T_OrdSynonym WHERE Ord = 'BLÅBÆR'"), Rows({{"BÆR"}}));
    EXPECT_EQ(b.counts().skipped, 2);
    EXPECT_EQ(b.counts().pairs, 5);
}

TEST(Thesaurus, Latin1FilesAreConverted) {
    store::WordListBuilder b;
    b.readThesaurusText(std::string("ISO8859-1\nbl\xe5\xe6r|1\n(subst)|r\xf8" "d\n"), "no.dat");
    store::Connection c(":memory:", store::Connection::Mode::Create);
    store::CreateSchema(c);
    b.write(c);
    store::Stmt st = c.prepare("SELECT Ord, Synonym FROM T_OrdSynonym ORDER BY rowid");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), "RØD");
    EXPECT_EQ(st.text(1), "BLÅÆR");
}

TEST(Thesaurus, AByteOrderMarkIsSkipped) {
    store::WordListBuilder b;
    b.readThesaurusText("\xEF\xBB\xBFUTF-8\nbig|1\n(adj)|large\n", "bom.dat");
    EXPECT_EQ(b.counts().pairs, 1);
}

// Outside text quoted in a message is escaped and cut: a binary file given
// as a thesaurus never pours raw bytes onto the terminal.
TEST(Thesaurus, OutsideTextInMessagesIsEscapedAndCut) {
    std::string binary("\x7F" "ELF\x02\x01\x01\x00\x1B[2J\xC3(\xFF", 15);
    binary += std::string(300, '\x90');
    std::string msg;
    try {
        store::WordListBuilder b;
        b.readThesaurusText(binary + "\nrest\n", "a.out");
    } catch (const store::ImportError& e) {
        msg = e.what();
    }
    EXPECT_EQ(msg.rfind("a.out, line 1: unknown encoding \"\\x7FELF\\x02\\x01\\x01\\x00\\x1B[2J\\xC3(\\xFF", 0), 0u)
        << msg;
    EXPECT_LT(msg.size(), 250u);
    for (unsigned char ch : msg) EXPECT_TRUE(ch >= 0x20 && ch != 0x7F) << msg;
    // Valid UTF-8 stays as it is; a long text is cut after 40 characters.
    EXPECT_EQ(store::Shown("BLÅBÆR"), "BLÅBÆR");
    EXPECT_EQ(store::Shown(std::string(50, 'A')), std::string(40, 'A') + "…");
    EXPECT_EQ(store::Shown("\xED\xA0\x80x"), "\\xED\\xA0\\x80x");  // an encoded surrogate is no character
}

TEST(Thesaurus, MalformedFilesNameTheFileAndLine) {
    auto fault = [](const std::string& text) {
        try {
            store::WordListBuilder b;
            b.readThesaurusText(text, "bad.dat");
        } catch (const store::ImportError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(fault("KOI8-R\nx|1\n(noun)|y\n").rfind("bad.dat, line 1: unknown encoding", 0), 0u);
    EXPECT_EQ(fault("UTF-8\nbig|3\n(adj)|large\n(adj)|huge\n").rfind("bad.dat, line 2: the entry announces 3", 0), 0u);
    EXPECT_NE(fault("UTF-8\nbig|2\n(adj)|large\nhuge|1\n(adj)|big\n").find("line 4"), std::string::npos);
    EXPECT_NE(fault("UTF-8\nbig|1\n(adj)|large\nhuge\n").find("line 4"), std::string::npos);
    EXPECT_EQ(fault(""), "bad.dat: the file is empty; a thesaurus starts with its encoding");
    EXPECT_EQ(fault("UTF-8\nbig|1\n(adj)|large\n"), "no error");
    // Found by fuzzing: a meaning count of many digits is refused, not summed past its range.
    EXPECT_NE(fault("UTF-8\nbig|99999999999999999999999999\n(adj)|large\n").find("line 2"), std::string::npos);
}

TEST(Csv, ParsesQuotesNullsAndFaults) {
    auto recs = store::ParseCsv("Ord,Notat\r\n\"A,B\",\r\n\"say \"\"hi\"\"\",\"\"\n\"two\nlines\",X", "t.csv");
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(*recs[1].fields[0], "A,B");
    EXPECT_FALSE(recs[1].fields[1].has_value());  // unquoted empty: no value
    EXPECT_EQ(*recs[2].fields[0], "say \"hi\"");
    EXPECT_EQ(*recs[2].fields[1], "");
    EXPECT_EQ(*recs[3].fields[0], "two\nlines");
    EXPECT_EQ(recs[3].line, 4);
    EXPECT_THROW(store::ParseCsv("Ord\n\"cut sho", "t.csv"), store::ImportError);
    EXPECT_THROW(store::ParseCsv("Ord\n\"a\"b\n", "t.csv"), store::ImportError);
    EXPECT_THROW(store::ParseCsv("Ord\na\"b\n", "t.csv"), store::ImportError);
}

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
        EXPECT_EQ(rowsOf("copy.mdb", sql), db.rows(sql)) << t;
    }
    // The copy opens as a word database.
    EXPECT_TRUE(store::Database("copy.mdb").WordExists("O'NEIL"));
}

TEST(Mkdb, BadInputLeavesNoHalfBuiltFile) {
    TempDb db;
    std::string out;
    // An existing target is refused and left alone.
    EXPECT_EQ(mkdb("velmora.mdb --demo", &out), 1);
    EXPECT_NE(out.find("exists already"), std::string::npos) << out;
    EXPECT_EQ(db.count("T_Ord"), 0);
    // A missing thesaurus, a malformed one.
    EXPECT_EQ(mkdb("a.mdb --thesaurus nowhere.dat", &out), 1);
    EXPECT_NE(out.find("nowhere.dat: no such file"), std::string::npos) << out;
    write("bad.dat", "UTF-8\nbig|2\n(adj)|large\n");
    EXPECT_EQ(mkdb("a.mdb --thesaurus bad.dat", &out), 1);
    EXPECT_NE(out.find("bad.dat, line 2"), std::string::npos) << out;
    // CSV: a wrong header, a truncated file, a missing file.
    ASSERT_EQ(mkdb("--export velmora.mdb csv"), 0);
    write("csv/T_OrdSynonym.csv", "Word,Synonym,Notat\r\n");
    EXPECT_EQ(mkdb("a.mdb --import csv", &out), 1);
    EXPECT_NE(out.find("T_OrdSynonym.csv, line 1: the header row does not name the columns Ord,Synonym"),
              std::string::npos)
        << out;
    write("csv/T_OrdSynonym.csv", "Ord,Synonym,Notat\r\n\"A\",\"B");
    EXPECT_EQ(mkdb("a.mdb --import csv", &out), 1);
    EXPECT_NE(out.find("T_OrdSynonym.csv, line 2"), std::string::npos) << out;
    write("csv/T_OrdSynonym.csv", "Ord,Synonym,Notat\r\n\"A\",\"B\"\r\n");
    EXPECT_EQ(mkdb("a.mdb --import csv", &out), 1);
    EXPECT_NE(out.find("line 2: the row has 2 fields, the header 3"), std::string::npos) << out;
    write("csv/T_OrdSynonym.csv", "Ord,Synonym,Notat\r\n");
    fs::remove("csv/T_Verdi.csv");
    EXPECT_EQ(mkdb("a.mdb --import csv", &out), 1);
    EXPECT_NE(out.find("T_Verdi.csv: no such file"), std::string::npos) << out;
    EXPECT_EQ(mkdb("a.mdb --bogus", &out), 2);
    for (const auto& e : fs::directory_iterator("."))
        EXPECT_EQ(e.path().filename().string().rfind("a.mdb", 0), std::string::npos) << e.path();
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
    EXPECT_EQ(rowsOf("demo.mdb", "SELECT count(*) FROM T_OrdSynonym a WHERE NOT EXISTS (SELECT 1 FROM T_OrdSynonym b "
                                 "WHERE b.Ord = a.Synonym AND b.Synonym = a.Ord)"),
              Rows({{"0"}}));
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
    const pid_t whole = startMkdb(target, th);
    int st = 0;
    ::waitpid(whole, &st, 0);
    ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    const std::string words = rowsOf(target, "SELECT count(*) FROM T_Ord")[0][0];
    const std::string pairs = rowsOf(target, "SELECT count(*) FROM T_OrdSynonym")[0][0];
    ASSERT_GT(std::stoi(words), 90000);
    fs::remove(target);

    std::mt19937 rng(7);
    int absent = 0, finished = 0;
    constexpr int kRuns = 15;
    for (int run = 0; run < kRuns; ++run) {
        const pid_t pid = startMkdb(target, th);
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + rng() % 900));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &st, 0);
        if (!fs::exists(target)) {
            ++absent;
            continue;
        }
        ++finished;
        EXPECT_EQ(rowsOf(target, "PRAGMA integrity_check"), Rows({{"ok"}})) << "run " << run;
        EXPECT_EQ(rowsOf(target, "SELECT count(*) FROM T_Ord")[0][0], words) << "run " << run;
        EXPECT_EQ(rowsOf(target, "SELECT count(*) FROM T_OrdSynonym")[0][0], pairs) << "run " << run;
        fs::remove(target);
    }
    EXPECT_EQ(absent + finished, kRuns);
    EXPECT_GT(absent, 0) << "no run was killed half-way";

    // Killed runs leave ".part-PID" files; the next build removes them.
    const pid_t last = startMkdb(target, th);
    ::waitpid(last, &st, 0);
    ASSERT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    for (const auto& e : fs::directory_iterator(tmp.dir()))
        EXPECT_EQ(e.path().filename().string().find("new.mdb.part-"), std::string::npos) << e.path();
}

// Parts of killed builds go at a build of any target in their folder; the
// part of a build still running, and other files, stay.
TEST(KilledImport, DeadPartsOfAnyTargetGo) {
    testing_support::TempDb tmp;
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string deadPart = "other.mdb.part-" + std::to_string(dead);
    const std::string livePart = "third.mdb.part-" + std::to_string(::getppid());
    for (const std::string& f : {deadPart, livePart, std::string("notes.part-x"), std::string("notes.txt")})
        write(f, std::string(1000, 'x'));
    ASSERT_EQ(mkdb("new.mdb"), 0);
    EXPECT_FALSE(fs::exists(deadPart));
    EXPECT_TRUE(fs::exists(livePart));
    EXPECT_TRUE(fs::exists("notes.part-x"));
    EXPECT_TRUE(fs::exists("notes.txt"));
}

// Velmora's start clears them too, in its own folder.
TEST(KilledImport, VelmoraStartRemovesDeadParts) {
    testing_support::TempDb tmp;
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string deadPart = "velmora.mdb.part-" + std::to_string(dead);
    write(deadPart, std::string(1000, 'x'));
    const pid_t app = ::fork();
    if (app == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::string bin = std::string(VELMORA_BINARY_DIR) + "/app/velmora";
        ::execl(bin.c_str(), bin.c_str(), nullptr);
        ::_exit(127);
    }
    for (int i = 0; i < 200 && fs::exists(deadPart); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(deadPart));
    ::kill(app, SIGKILL);
    ::waitpid(app, nullptr, 0);
    EXPECT_TRUE(fs::exists("velmora.mdb"));
}
