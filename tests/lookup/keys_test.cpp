// The key filters of the word, synonym and value fields, data-driven over
// the edges of each key class: the first and last letter of a-z, the
// Norwegian letters beside their neighbours in the code page, the first and
// last digit and the characters just outside them, and the characters a
// lookup would take for SQL.
#include "fixture.h"

namespace {

struct KeyCase {
    const char* typed;  // into an empty field
    const char* kept;   // what the field then holds
};

const KeyCase kKeys[] = {
    {"a", "A"}, {"z", "Z"}, {"`", ""}, {"{", ""}, {"A", ""},  {"å", "Å"},           {"æ", "Æ"}, {"ø", "Ø"},
    {"0", "0"}, {"9", "9"}, {"/", ""}, {":", ""}, {"-", "-"}, {".", "."},           {",", ""},  {"+", ""},
    {"'", ""},  {"\"", ""}, {"%", ""}, {"_", ""}, {"[", ""},  {"a b-1.", "A B-1."},
};

using Field = ui::TextBox Velmora::*;

class KeyFilters : public MainWindowTest, public ::testing::WithParamInterface<Field> {};

}  // namespace

TEST_P(KeyFilters, EachKeyClassEndsWhereItShould) {
    ui::TextBox& t = w().*GetParam();
    for (const KeyCase& k : kKeys) {
        t.setText("");
        type(t, QString::fromUtf8(k.typed));
        EXPECT_EQ(t.Text(), QString::fromUtf8(k.kept)) << k.typed;
    }
    EXPECT_TRUE(boxes.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Lookup, KeyFilters, ::testing::Values(&Velmora::T_Ord, &Velmora::T_Synonym, &Velmora::T_Verdi),
                         [](const auto& p) { return p.index == 0   ? "Word"
                                                    : p.index == 1 ? "Synonym"
                                                                   : "Value"; });
