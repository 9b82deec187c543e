// The word-list reader: encodings, words the field cannot type, repeats and
// a file in another encoding than the one given.
#include "sources/wordlist.h"
#include "rows.h"
#include "support.h"

using namespace sources_test;

TEST(WordList, WordsInAnyEncodingBecomeListedWords) {
    testing_support::TempDb tmp;
    struct Case {
        const char* encoding;
        std::string text;
    };
    for (const Case& c : {Case{"UTF-8", "\xEF\xBB\xBFhund\nHund\r\nblåbær\ncafé\n\n o'clock \nsjø"},
                          Case{"ISO-8859-1", "hund\nHund\r\nbl\xe5\x62\xe6r\ncaf\xe9\n\n o'clock \nsj\xf8"}}) {
        writeFile("w.txt", c.text);
        store::WordListBuilder b;
        sources::ReadWordList("w.txt", c.encoding, b);
        Written db(b);
        EXPECT_EQ(db("SELECT Ord, Notat FROM T_Ord ORDER BY rowid"),
                  Rows({{"HUND", "X"}, {"BLÅBÆR", "X"}, {"SJØ", "X"}}))
            << c.encoding;
        EXPECT_EQ(b.counts().skipped, 2) << c.encoding;
    }
}

// A list that does not decode, or decodes to no word at all, is refused.
TEST(WordList, AWrongEncodingNamesTheLine) {
    testing_support::TempDb tmp;
    struct Case {
        std::string text, encoding, fault;
    };
    for (const Case& c : {
             Case{"hund\nkatt\nbl\xe5\x62\xe6r\n", "UTF-8",
                  "w.txt, line 3: not UTF-8 text (give the file's encoding with --encoding)"},
             Case{"hund\n", "KLINGON-8", "w.txt: unknown encoding \"KLINGON-8\""},
             Case{"hund\n", "", "w.txt: unknown encoding \"\""},
             Case{"hund\nbl\xc3", "UTF-8", "w.txt, line 2: the file ends inside a character of UTF-8"},
             Case{"\n\nhund\nkatt\n", "UTF-16",
                  "w.txt, line 1: no line is a word as UTF-16 text (give the file's encoding with --encoding)"},
             Case{"\n\n\xce\xbb\xcf\x8c\xce\xb3\xce\xbf\xcf\x82\n", "UTF-8",
                  "w.txt, line 3: no line is a word as UTF-8 text (give the file's encoding with --encoding)"},
             Case{"\n \n", "UTF-8", "w.txt: the file holds no words"},
         }) {
        writeFile("w.txt", c.text);
        EXPECT_EQ(fault([&] {
                      store::WordListBuilder b;
                      sources::ReadWordList("w.txt", c.encoding, b);
                  }),
                  c.fault);
    }
}
