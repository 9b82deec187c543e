// Editing from the main window: words, and the three kinds of link (a
// category, a synonym pair, a value) saved, refused when registered before,
// and erased after a question, Enter in a link field; a pasted word the key
// filters never let through.
#include "fixture.h"

using testing_support::Rows;

namespace {

class Editing : public MainWindowTest {
protected:
    Rows all(const std::string& table) { return db.rows("SELECT * FROM " + table + " ORDER BY rowid"); }
};

}  // namespace

// Pasted, so past the key filters: stored in capitals, so that the lookups
// find it, and as the text it is (a quote and wildcards are only characters;
// the store's tests try every odd text on both engines).
TEST_F(Editing, APastedWordIsSavedInCapitalsOnceAndErasedAfterAsking) {
    const std::string word = "O'NEIL A*B? 100%_";
    db.addWord("DOG");
    db.synonym(word, "FELINE");
    click(w().K_Lagre_Ord);  // an empty field, or a word not stored: no question, nothing changes
    type(w().T_Ord, "emu");
    click(w().K_Slett_Ord);
    for (int i = 0; i < 2; ++i) {
        w().T_Ord.setText(QString::fromStdString(word).toLower());
        click(w().K_Lagre_Ord);
    }
    EXPECT_EQ(all("T_Ord"), Rows({{"DOG", "<null>", "<null>"}, {word, "<null>", "<null>"}}));
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"FELINE"}));
    boxes.answer(ui::Answer::No);
    click(w().K_Slett_Ord);
    EXPECT_EQ(boxes.calls().back().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(db.count("T_Ord"), 2);
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Ord);
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord"), Rows({{"DOG"}}));
    EXPECT_EQ(w().T_Ord.Text() + items(w().L_Synonymer).join(""), "");
    const QString asks = "Do you really want to erase this word: O'NEIL A*B? 100%_?";
    EXPECT_EQ(boxes.prompts(), QStringList({"The word O'NEIL A*B? 100%_ already exists! Not added!", asks, asks}));
    EXPECT_EQ(modal.shown(), 0);
}

namespace {

// The store's own rules for links (the words a save adds, what an erase
// leaves, the named row erased wherever it is) are the store's tests; here,
// what the window saves and erases.
struct LinkCase {
    const char* name;
    ui::TextBox Velmora::*field;  // null: the category box
    ui::Button Velmora::*save;
    ui::Button Velmora::*erase;
    ui::ListBox Velmora::*list;
    const char* table;
    Rows saved;           // the table after the save
    const char* refused;  // the message for a second save
    const char* what;     // in the erase question
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class LinkEditing : public Editing, public ::testing::WithParamInterface<LinkCase> {};

}  // namespace

TEST_P(LinkEditing, ALinkIsSavedOnceAndErasedAfterAsking) {
    const LinkCase& c = GetParam();
    Velmora& v = w();
    // Enter in a link field saves as its button does and empties the field,
    // whatever came of it; first with no word, so nothing is saved.
    auto enter = [&] {
        QTest::keyClick((v.*c.field).edit(), Qt::Key_Return);
        EXPECT_TRUE((v.*c.field).Text().isEmpty() && (v.*c.field).HasFocus());
    };
    if (c.field) {
        (v.*c.field).setText("pets");
        enter();
    }
    type(v.T_Ord, "cat");
    click(v.*c.save);  // nothing to link, or the word itself as pasted: nothing at all
    if (c.field) {
        (v.*c.field).setText("cat");
        click(v.*c.save);
    }
    EXPECT_EQ(db.count("T_Ord"), 0);
    for (int i = 0; i < 2; ++i) {  // the second (by Enter in a field) is refused
        c.field ? (v.*c.field).setText("pets") : v.C_Kategori.setText("pets");
        i&& c.field ? enter() : click(v.*c.save);
        EXPECT_EQ(all(c.table), c.saved);
    }
    EXPECT_EQ(items(v.*c.list), QStringList({"PETS"}));

    // Erasing: nothing picked does nothing; No keeps; Yes erases. The arrow
    // keys pick an entry without looking it up.
    click(v.*c.erase);
    (v.*c.list).view()->setFocus();
    QTest::keyClick((v.*c.list).view(), Qt::Key_Down);
    boxes.answer(ui::Answer::No);
    click(v.*c.erase);
    EXPECT_EQ(all(c.table), c.saved);
    boxes.answer(ui::Answer::Yes);
    click(v.*c.erase);
    EXPECT_EQ(db.count(c.table), 0);
    EXPECT_EQ(v.T_Ord.Text() + items(v.*c.list).join(""), "CAT");
    const QString asks = QString("Do you really want to erase this %1?").arg(c.what);
    EXPECT_EQ(boxes.prompts(), QStringList({c.refused, asks, asks}));
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, LinkEditing,
    ::testing::Values(LinkCase{"Category", nullptr, &Velmora::K_Lagre_Kategori, &Velmora::K_Slett_Kategori,
                               &Velmora::L_Kategorier, "T_OrdKategori", Rows{{"CAT", "PETS", "X"}},
                               "The word and the category is registered before!", "category: PETS"},
                      LinkCase{"Synonym", &Velmora::T_Synonym, &Velmora::K_Lagre_Synonym, &Velmora::K_Slett_Synonym,
                               &Velmora::L_Synonymer, "T_OrdSynonym", Rows{{"PETS", "CAT", "X"}, {"CAT", "PETS", "X"}},
                               "The word and the synonym are already registered!", "synonym: PETS"},
                      LinkCase{"Value", &Velmora::T_Verdi, &Velmora::K_Lagre_Verdi, &Velmora::K_Slett_Verdi,
                               &Velmora::L_Verdier, "T_OrdVerdi", Rows{{"CAT", "PETS", "X"}},
                               "The word and the value are already registered!", "value: PETS"}),
    [](const auto& p) { return std::string(p.param.name); });
