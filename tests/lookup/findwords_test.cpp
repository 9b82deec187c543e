// "Find words" from the main window's menu: exact patterns, anagrams and
// the filters, common words first, and a click that shows the word in the
// main window as a picked word does.
#include "lookup/findwords.h"
#include "fixture.h"

namespace {

class FindWords : public MainWindowTest {
protected:
    void fill() override {
        for (const char* w : {"BAKE", "BAKERY", "LAKE", "TAKE", "LEMON", "MELON"}) db.addWord(w);
        db.synonym("LEMON", "CITRUS");
        db.exec("CREATE TABLE T_Rang (Ord TEXT, Rang INTEGER)");
        db.exec("INSERT INTO T_Rang VALUES ('TAKE', 1), ('MELON', 2)");
    }
};

}  // namespace

TEST_F(FindWords, TheMenuEntryFindsExactPatternsAndAnagramsAndAClickShowsTheWord) {
    w().M_FinnOrd->trigger();
    F_FinnOrd& f = M::F_FinnOrd();
    ASSERT_TRUE(f.Visible());
    type(f.T_Monster, "?a?e");
    EXPECT_EQ(items(f.L_Treff), QStringList({"TAKE", "BAKE", "LAKE"}));
    EXPECT_EQ(f.E_Antall.Caption(), "3 words");
    f.T_Monster.setText("");
    type(f.T_Anagram, "nomel");
    EXPECT_EQ(items(f.L_Treff), QStringList({"MELON", "LEMON"}));
    f.C_Synonymer.setValue(true);
    EXPECT_EQ(items(f.L_Treff), QStringList({"LEMON"}));
    clickEntry(f.L_Treff, 0);
    EXPECT_EQ(w().T_Ord.Text() + items(w().L_Synonymer).join(""), "LEMONCITRUS");
    EXPECT_TRUE(boxes.calls().empty());
}
