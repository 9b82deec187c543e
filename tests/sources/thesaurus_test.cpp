// The thesaurus reader: entries in both encodings, the words the word field
// cannot type, and malformed files.
#include "sources/thesaurus.h"
#include "rows.h"
#include "store/shown.h"
#include "support.h"

using namespace sources_test;

namespace {

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
    "(noun)|bær\n"
    "lone|1\n"
    "(adj)|café";  // the last line without its newline

}  // namespace

TEST(Thesaurus, EntriesBecomeWordsPairsAndCategories) {
    store::WordListBuilder b;
    sources::ReadThesaurusText(kThesaurus, "t.dat", b);
    Written db(b);
    // Upper case, notes dropped, antonyms left out, each pair once in both directions.
    EXPECT_EQ(db.synonyms("BIG"), "BAD, GROWN-UP, HUGE, LARGE");
    EXPECT_EQ(db("SELECT count(*) FROM T_OrdSynonym WHERE Ord = 'LARGE' AND Synonym = 'BIG'"), Rows({{"1"}}));
    EXPECT_EQ(db("SELECT count(*) FROM T_OrdSynonym WHERE Synonym = 'SMALL'"), Rows({{"0"}}));
    // Parts of speech make no categories; a head word without a typeable synonym is still a word.
    EXPECT_EQ(db("SELECT count(*) FROM T_Kategori"), Rows({{"0"}}));
    EXPECT_EQ(db("SELECT count(*) FROM T_Ord WHERE Ord = 'LONE'"), Rows({{"1"}}));
    // Entries the word field cannot type are skipped (o'clock, café), Norwegian letters kept.
    EXPECT_EQ(db("SELECT count(*) FROM T_Ord WHERE Ord IN ('O''CLOCK', 'CAFÉ', 'HOUR')"), Rows({{"0"}}));
    EXPECT_EQ(db.synonyms("BLÅBÆR"), "BÆR");
    EXPECT_EQ(b.counts().skipped, 3);
    EXPECT_EQ(b.counts().reasons.at("cannot be typed"), 3);
    EXPECT_EQ(b.counts().pairs, 5);
}

// Latin-1 files are converted; a byte order mark is skipped.
TEST(Thesaurus, EncodingsAreReadAsTheFileSays) {
    for (const std::string& text : {std::string("ISO8859-1\nbl\xe5\xe6r|1\n(subst)|r\xf8\x64\n"),
                                    std::string("\xEF\xBB\xBFUTF-8\nblåær|1\n(adj)|rød\n")}) {
        store::WordListBuilder b;
        sources::ReadThesaurusText(text, "no.dat", b);
        EXPECT_EQ(Written(b).synonyms("RØD"), "BLÅÆR");
    }
}

TEST(Thesaurus, MalformedFilesNameTheFileAndLine) {
    auto read = [](const std::string& text) {
        return fault([&] {
            store::WordListBuilder b;
            sources::ReadThesaurusText(text, "bad.dat", b);
        });
    };
    EXPECT_EQ(read("KOI8-R\nx|1\n(noun)|y\n").rfind("bad.dat, line 1: unknown encoding", 0), 0u);
    EXPECT_EQ(read("UTF-8\nbig|3\n(adj)|large\n(adj)|huge\n").rfind("bad.dat, line 2: the entry announces 3", 0), 0u);
    EXPECT_NE(read("UTF-8\nbig|2\n(adj)|large\nhuge|1\n(adj)|big\n").find("line 4"), std::string::npos);
    EXPECT_NE(read("UTF-8\nbig|1\n(adj)|large\nhuge\n").find("line 4"), std::string::npos);
    EXPECT_EQ(read(""), "bad.dat: the file is empty; a thesaurus starts with its encoding");
    EXPECT_EQ(read("UTF-8\nbig|1\n(adj)|large\n"), "no error");
    // Found by fuzzing: a meaning count of many digits is refused, not summed past its range.
    EXPECT_NE(read("UTF-8\nbig|99999999999999999999999999\n(adj)|large\n").find("line 2"), std::string::npos);
}

// Outside text quoted in a message is escaped and cut: a binary file given
// as a thesaurus never pours raw bytes onto the terminal.
TEST(Thesaurus, OutsideTextInMessagesIsEscapedAndCut) {
    std::string binary(
        "\x7F"
        "ELF\x02\x01\x01\x00\x1B[2J\xC3(\xFF",
        15);
    binary += std::string(300, '\x90');
    std::string msg;
    try {
        store::WordListBuilder b;
        sources::ReadThesaurusText(binary + "\nrest\n", "a.out", b);
    } catch (const store::ImportError& e) {
        msg = e.what();
    }
    EXPECT_EQ(msg.rfind("a.out, line 1: unknown encoding \"\\x7FELF\\x02\\x01\\x01\\x00\\x1B[2J\\xC3(\\xFF", 0), 0u)
        << msg;
    EXPECT_LT(msg.size(), 250u);
    for (const char ch : msg) EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F) << msg;
    // Valid UTF-8 stays as it is; a long text is cut after 40 characters.
    EXPECT_EQ(store::Shown("BLÅBÆR"), "BLÅBÆR");
    EXPECT_EQ(store::Shown(std::string(50, 'A')), std::string(40, 'A') + "…");
    EXPECT_EQ(store::Shown("\xED\xA0\x80x"), "\\xED\\xA0\\x80x");  // an encoded surrogate is no character
}
