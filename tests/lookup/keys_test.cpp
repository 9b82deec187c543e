// The key filters of the word, synonym and value fields, typed over the
// edges of each key class: the first and last letter of a-z, the Norwegian
// letters beside their neighbours in the code page, the first and last digit
// and the characters just outside them, a capital typed as such, and the
// characters a lookup would take for SQL. Only the word field drops a space
// in an empty field.
#include "fixture.h"

namespace {

using Filter = std::pair<ui::TextBox Velmora::*, const char*>;  // the field, what it keeps

class KeyFilters : public MainWindowTest, public ::testing::WithParamInterface<Filter> {};

}  // namespace

TEST_P(KeyFilters, EachKeyClassEndsWhereItShould) {
    ui::TextBox& t = w().*GetParam().first;
    type(t, QString::fromUtf8(" az`{Aåæø09/:-.,+'\"%_[ b"));
    EXPECT_EQ(t.Text(), QString::fromUtf8(GetParam().second));
    EXPECT_TRUE(boxes.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Lookup, KeyFilters,
                         ::testing::Values(Filter{&Velmora::T_Ord, "AZÅÆØ09-. B"},
                                           Filter{&Velmora::T_Synonym, " AZÅÆØ09-. B"},
                                           Filter{&Velmora::T_Verdi, " AZÅÆØ09-. B"}));
