// Lookups from the main window: a typed word's details, the sort orders,
// pattern and category searches through the results window, the list
// handlers, and pasted text.
#include "fixture.h"
#include "store/wordstore.h"

namespace {

class Lookup : public MainWindowTest {
protected:
    void fill() override {
        for (auto word : {"KAT", "KATT", "KABEL", "HUND", "DOG", "O'BRIEN", "ÆRE"}) db.addWord(word);
        for (auto s : {"ZZ", "AAA", "B"}) db.synonym("KAT", s);
        db.synonym("O'BRIEN", "IRISHMAN");
        for (auto v : {"MEOW", "PUS", "X"}) db.value("KAT", v);
        for (auto k : {"PETS", "ANIMALS", "EMPTY"}) db.addCategory(k);
        for (auto word : {"KAT", "HUND", "DOG"}) db.link(word, "PETS");
        db.link("KAT", "ANIMALS");
    }
    // The synonyms, values and categories shown: "B ZZ | X | PETS".
    QString lists() {
        return QStringList{items(w().L_Synonymer).join(' '), items(w().L_Verdier).join(' '),
                           items(w().L_Kategorier).join(' ')}
            .join(" | ");
    }
    // The word, its lists, a lookup mode left over, and "Empty" (a pick clears it).
    QString state() { return w().T_Ord.Text() + lists() + M::SokModus + (w().C_Empty.Value() ? " EMPTY" : ""); }
};

}  // namespace

TEST_F(Lookup, TypedOrPastedWordShowsItsDetailsAtTheKeyThatCompletesItInTheOrderAsked) {
    type(w().T_Ord, " ka");  // a space in an empty field is discarded
    EXPECT_EQ(w().T_Ord.Text() + lists(), "KA |  | ");
    type(w().T_Ord, "t");  // by length at start
    EXPECT_EQ(lists(), "B ZZ AAA | X PUS MEOW | ANIMALS PETS");
    type(w().T_Ord, "te");  // KATT is a word too, without details; KATTE is none
    EXPECT_EQ(lists(), " |  | ");
    // Backspace twice: back at KAT and its details.
    for (auto key : {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Return}) QTest::keyClick(w().T_Ord.edit(), key);
    EXPECT_EQ(state(), "KATB ZZ AAA | X PUS MEOW | ANIMALS PETS");
    for (auto [box, shown] : {std::pair{&w().C_SorterS, "AAA B ZZ | X PUS MEOW | ANIMALS PETS"},
                              std::pair{&w().C_SorterV, "AAA B ZZ | MEOW PUS X | ANIMALS PETS"}}) {
        box->setValue(false);
        w().T_Ord.setText("");
        w().T_Ord.setText("KAT");
        EXPECT_EQ(lists(), shown);
    }
    // Pasting skips the key filter: a quote, or lower case, is just text.
    w().T_Ord.setText("O'BRIEN");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"IRISHMAN"}));
    for (const char* pasted : {"kat", "x' OR '1'='1"}) {
        w().T_Ord.setText(pasted);
        EXPECT_EQ(lists(), " |  | ") << pasted;
    }
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Lookup, StarLooksUpAtOnceAndPicksOrCloses) {
    // No word begins with HX: the message, then an empty field.
    type(w().T_Ord, "hx*");
    EXPECT_EQ(boxes.prompts().join("") + state(), "No similar words found! |  | ");

    // KA*: three matches in order; the second is picked.
    auto listed = inResults([&](Resultat& r) {
        clickEntry(r.L_Resultat, 1);
        EXPECT_FALSE(r.Visible());
    });
    w().C_Empty.setValue(true);
    type(w().T_Ord, "ka*");
    EXPECT_EQ(*listed, QStringList({"KABEL", "KAT", "KATT"}));
    EXPECT_EQ(state(), "KATB ZZ AAA | X PUS MEOW | ANIMALS PETS");
    type(w().T_Ord, "t");  // typing on after a pick runs no second lookup; HX* ran none
    EXPECT_EQ(modal.shown(), 1);

    // Closed with "Close", with Escape, or from the title bar: nothing picked.
    const std::function<void(Resultat&)> closes[] = {
        [&](Resultat& r) { click(r.K_Lukk_Vindu); },
        [&](Resultat& r) { QTest::keyClick(r.L_Resultat.view(), Qt::Key_Escape); }, [](Resultat& r) { r.close(); }};
    for (const auto& close : closes) {
        w().T_Ord.setText("");
        inResults(close);
        type(w().T_Ord, "kat?");
        EXPECT_EQ(w().T_Ord.Text() + lists(), " |  | ");
    }
    EXPECT_EQ(modal.shown(), 4);
}

TEST_F(Lookup, FocusHintAndResetOnFocus) {
    type(w().T_Ord, "kat");
    w().T_Synonym.SetFocus();
    EXPECT_EQ(w().E_info.Caption(), "");
    w().T_Ord.SetFocus();  // the hint, and the word kept: "Reset field on focus" is off
    EXPECT_EQ(w().E_info.Caption() + w().T_Ord.Text(), Velmora::kHint + "KAT");
    w().C_Empty.setValue(true);
    w().T_Synonym.SetFocus();
    w().T_Ord.SetFocus();
    EXPECT_EQ(w().T_Ord.Text() + lists(), " |  | ");
}

TEST_F(Lookup, ADoubleClickedSynonymIsLookedUpAndATickedValueTellsItsIndex) {
    db.addWord("B");
    db.synonym("B", "BEE");
    type(w().T_Ord, "kat");
    for (const char* next : {"B", "BEE"}) {  // a word with its details, then one that is none
        QListView* v = w().L_Synonymer.view();
        clickEntry(w().L_Synonymer, 0);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {},
                           v->visualRect(v->model()->index(0, 0)).center() + QPoint(40, 0));
        EXPECT_EQ(w().T_Ord.Text(), next);
    }
    EXPECT_EQ(lists(), " |  | ");
    w().T_Ord.setText("KAT");
    w().L_Verdier.setChecked(2, true);
    EXPECT_EQ(boxes.prompts(), QStringList({"2"}));
    EXPECT_TRUE(boxes.calls()[0].title == "Velmora" && !boxes.calls()[0].titleGiven);  // the program's own
}

TEST_F(Lookup, CategorySearchFromTheListTheBoxAndItsButton) {
    // In the store's order, nothing picked.
    EXPECT_EQ(items(w().C_Kategori).join(' ') + "|" + w().C_Kategori.Text(), "PETS ANIMALS EMPTY|");
    // The list entry wins over the box text.
    type(w().T_Ord, "kat");
    w().C_Kategori.setText("animals");
    auto listed = inResults([&](Resultat& r) { clickEntry(r.L_Resultat, 1); });
    w().C_Empty.setValue(true);
    clickEntry(w().L_Kategorier, 1);  // PETS
    EXPECT_EQ(*listed, QStringList({"DOG", "HUND", "KAT"}));
    EXPECT_EQ(state(), "HUND |  | PETS");

    // Nothing picked in the list: the box text, upper-cased; a category
    // without words, one with a quote, and nothing at all.
    w().T_Ord.setText("");
    for (const char* category : {"animals", "Empty", "it's", ""}) {
        w().C_Kategori.setText(category);
        click(w().K_Sok_Kategori);
    }
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(boxes.prompts(), QStringList(2, "No words is found in this category!"));
    // Picking in the box searches only when asked.
    w().C_Kategori.combo()->setCurrentIndex(0);
    emit w().C_Kategori.combo()->activated(0);
    w().C_Lookup.setValue(true);
    emit w().C_Kategori.combo()->activated(0);
    const QString pets = "LookupResults for the category: 'PETS' - 3 word(s)";
    EXPECT_EQ(modal.captions(),
              std::vector<QString>({pets, "LookupResults for the category: 'ANIMALS' - 1 word(s)", pets}));
}

// A long list: every word counted, and picked with the keyboard near its
// start or by a click at its end.
TEST_F(Lookup, QuestionMarkInAnEmptyFieldListsEveryWordAndPicksFromIt) {
    const int many = 40000;
    db.addWords("W", 100000, 100000 + many);
    M::DBEngine().Words().Preload(store::kDatabaseFile);  // as the program does once its window is up
    auto listed = inResults([](Resultat& r) {
        r.L_Resultat.view()->setFocus();
        QTest::keyClick(r.L_Resultat.view(), Qt::Key_Down);
    });
    type(w().T_Ord, "?");
    EXPECT_EQ(listed->size(), many + 7);
    EXPECT_EQ(listed->mid(0, 7).join(' ') + " " + listed->last(),
              QString::fromUtf8("DOG HUND KABEL KAT KATT O'BRIEN W100000 ÆRE"));
    EXPECT_TRUE(listed->mid(0, 7).contains(w().T_Ord.Text())) << w().T_Ord.Text().toStdString();
    inResults([&](Resultat& r) {
        r.L_Resultat.view()->scrollToBottom();
        clickEntry(r.L_Resultat, r.L_Resultat.ListCount() - 1);
    });
    w().T_Ord.setText("");
    type(w().T_Ord, "?");
    EXPECT_EQ(w().T_Ord.Text(), QString::fromUtf8("ÆRE"));
    EXPECT_EQ(modal.captions()[1], QString("Lookup results for the word: '?' - %1 word(s)").arg(many + 7));
    // Entries held elsewhere become the list's own when one is added.
    ui::ListBox& l = M::Resultat().L_Resultat;
    l.setItems(3, [](int i) { return QString("E%1").arg(i); });
    l.AddItem("LAST");
    EXPECT_EQ(items(l), QStringList({"E0", "E1", "E2", "LAST"}));
    EXPECT_FALSE(l.Checked(2));
}
