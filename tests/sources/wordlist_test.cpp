// The word-list reader: encodings, words the field cannot type, repeats, a
// last line without its end, and a file in another encoding than the one given.
#include "sources/wordlist.h"
#include "readers.h"

using namespace sources_test;

TEST(WordList, WordsInAnyEncodingBecomeListedWordsAndAWrongEncodingNamesTheLine) {
    testing_support::TempDb tmp;
    for (const auto& [encoding, text] :
         {std::pair{"UTF-8", "\xEF\xBB\xBFhund\nHund\r\nblåbær\ncafé\n\n o'clock \nsjø"},
          {"ISO-8859-1", "hund\nHund\r\nbl\xe5\x62\xe6r\ncaf\xe9\n\n o'clock \nsj\xf8"}}) {
        writeFile("w.txt", text);
        const auto b = collected([named = encoding](auto& r) { sources::ReadWordList("w.txt", named, r); });
        EXPECT_EQ(joined(Written(b)("SELECT Ord, Notat FROM T_Ord ORDER BY rowid")), "HUND X, BLÅBÆR X, SJØ X")
            << encoding;
        EXPECT_EQ(b.counts().skipped, 2) << encoding;
    }
    // A list that does not decode, or decodes to no word at all, is refused.
    for (const auto& [text, encoding, says] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"hund\nkatt\nbl\xe5\x62\xe6r\n", "UTF-8",
              "w.txt, line 3: not UTF-8 text (give the file's encoding with --encoding)"},
             {"hund\n", "KLINGON-8", "w.txt: unknown encoding \"KLINGON-8\""},
             {"hund\n", "", "w.txt: unknown encoding \"\""},
             {"hund\nbl\xc3", "UTF-8", "w.txt, line 2: the file ends inside a character of UTF-8"},
             {"\n\nhund\nkatt\n", "UTF-16",
              "w.txt, line 1: no line is a word as UTF-16 text (give the file's encoding with --encoding)"},
             {"\n\n\xce\xbb\xcf\x8c\xce\xb3\xce\xbf\xcf\x82\n", "UTF-8",
              "w.txt, line 3: no line is a word as UTF-8 text (give the file's encoding with --encoding)"},
             {"\n \n", "UTF-8", "w.txt: the file holds no words"},
         }) {
        writeFile("w.txt", text);
        EXPECT_EQ(refused([named = encoding](auto& r) { sources::ReadWordList("w.txt", named, r); }), says);
    }
}
