// The thesaurus reader: entries in both encodings, the words the word field
// cannot type, the last line with or without its end, and malformed files.
#include "sources/thesaurus.h"
#include "readers.h"
#include "store/shown.h"

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
    const auto b = collected([](auto& r) { sources::ReadThesaurusText(kThesaurus, "t.dat", r); });
    Written db(b);
    // Upper case, notes dropped, antonyms left out, each pair once in both
    // directions; a head word without a typeable synonym is still a word,
    // entries the word field cannot type are not (o'clock, café), Norwegian
    // letters are kept; parts of speech make no categories.
    EXPECT_EQ(joined(db("SELECT Ord, Synonym FROM T_OrdSynonym ORDER BY 1, 2")),
              "BAD BIG, BIG BAD, BIG GROWN-UP, BIG HUGE, BIG LARGE, BLÅBÆR BÆR, BÆR BLÅBÆR, GROWN-UP BIG, HUGE BIG, "
              "LARGE BIG");
    EXPECT_EQ(joined(db("SELECT Ord FROM T_Ord UNION ALL SELECT Kategori FROM T_Kategori ORDER BY 1")),
              "BAD, BIG, BLÅBÆR, BÆR, GROWN-UP, HUGE, LARGE, LONE");
    const auto& n = b.counts();
    EXPECT_EQ(std::tuple(n.skipped, n.reasons.at("cannot be typed"), n.pairs), std::tuple(3, 3, 5));
}

// The last entry is the word once, with its synonyms, whether its last line
// ends in a newline or not: after one synonym, several, a second meaning, or
// no meaning at all. Latin-1 files are converted; a byte order mark is skipped.
TEST(Thesaurus, TheLastLineCountsWithOrWithoutItsNewlineInEitherEncoding) {
    for (const auto& [text, rows] : {std::pair{"UTF-8\nfirst|1\n(n)|one\nlast|1\n(n)|end", "LAST END"},
                                     {"UTF-8\nlast|1\n(n)|a|b|end", "LAST A, LAST B, LAST END"},
                                     {"UTF-8\nlast|2\n(n)|a\n(v)|end", "LAST A, LAST END"},
                                     {"UTF-8\nlast|0", "LAST <null>"},
                                     {"ISO8859-1\nl\xe5st|1\n(subst)|r\xf8\x64", "LÅST RØD"},
                                     {"\xEF\xBB\xBFUTF-8\nlåst|1\n(adj)|rød", "LÅST RØD"}})
        for (const std::string end : {"", "\n", "\r\n"}) {
            Written db(collected([&, lines = text](auto& r) { sources::ReadThesaurusText(lines + end, "t.dat", r); }));
            EXPECT_EQ(joined(db("SELECT Ord, Synonym FROM T_Ord LEFT JOIN T_OrdSynonym USING (Ord) "
                                "WHERE Ord IN ('LAST', 'LÅST') ORDER BY 2")),
                      rows)
                << text << " ending " << end.size();
        }
}

// Malformed files name the file and line; outside text quoted in a message
// is escaped and cut: a binary file given as a thesaurus never pours raw
// bytes onto the terminal.
TEST(Thesaurus, MalformedFilesNameTheFileAndLine) {
    auto read = [](const std::string& text, const std::string& name = "bad.dat") {
        return refused([&](auto& r) { sources::ReadThesaurusText(text, name, r); });
    };
    for (const auto& [text, says] : {
             std::pair{"KOI8-R\nx|1\n(noun)|y\n", "bad.dat, line 1: unknown encoding"},
             {"UTF-8\nbig|3\n(adj)|large\n(adj)|huge\n", "bad.dat, line 2: the entry announces 3"},
             {"UTF-8\nbig|2\n(adj)|large\nhuge|1\n(adj)|big\n", "bad.dat, line 4"},
             {"UTF-8\nbig|1\n(adj)|large\nhuge\n", "bad.dat, line 4"},
             {"", "bad.dat: the file is empty; a thesaurus starts with its encoding"},
             {"UTF-8\nbig|1\n(adj)|large\n", "no error"},
             // Found by fuzzing: a meaning count of many digits is refused, not summed past its range.
             {"UTF-8\nbig|99999999999999999999999999\n(adj)|large\n", "bad.dat, line 2"},
         })
        EXPECT_TRUE(read(text).starts_with(says)) << read(text);
    const std::string binary = std::string("\177ELF\2\1\1\0\33[2J\303(\377", 15) + std::string(300, '\220');
    const std::string msg = read(binary + "\nrest\n", "a.out");
    EXPECT_TRUE(msg.starts_with("a.out, line 1: unknown encoding \"\\x7FELF\\x02\\x01\\x01\\x00\\x1B[2J\\xC3(\\xFF"))
        << msg;
    EXPECT_LT(msg.size(), 250u);
    for (const char ch : msg) EXPECT_TRUE(static_cast<unsigned char>(ch) >= 0x20 && ch != 0x7F) << msg;
    // Valid UTF-8 stays as it is; a long text is cut after 40 characters.
    EXPECT_EQ(store::Shown("BLÅBÆR"), "BLÅBÆR");
    EXPECT_EQ(store::Shown(std::string(50, 'A')), std::string(40, 'A') + "…");
    EXPECT_EQ(store::Shown("\xED\xA0\x80x"), "\\xED\\xA0\\x80x");  // an encoded surrogate is no character
}
