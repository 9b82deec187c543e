// Lookups from the main window: a typed word's details, the sort orders,
// pattern and category searches through the results window, the list
// handlers, and pasted text.
#include <QScrollBar>

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
        db.link("KAT", "PETS");
        db.link("KAT", "ANIMALS");
        db.link("HUND", "PETS");
        db.link("DOG", "PETS");
    }
};

}  // namespace

TEST_F(Lookup, TypedWordShowsItsDetailsAtTheKeyThatCompletesIt) {
    type(w().T_Ord, " ka");  // a space in an empty field is discarded
    EXPECT_EQ(w().T_Ord.Text(), "KA");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    type(w().T_Ord, "t");
    // Sorted by length at start: B, ZZ, AAA; values X, PUS, MEOW.
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
    EXPECT_EQ(items(w().L_Verdier), QStringList({"X", "PUS", "MEOW"}));
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"ANIMALS", "PETS"}));
    // KATT is a word too; KATTE is not.
    type(w().T_Ord, "t");
    EXPECT_EQ(w().L_Synonymer.ListCount() + w().L_Kategorier.ListCount(), 0);
    type(w().T_Ord, "e");
    EXPECT_EQ(w().L_Verdier.ListCount(), 0);
    // Backspace twice: back at KAT and its details.
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_Backspace);
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_Backspace);
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_Return);
    EXPECT_EQ(w().T_Ord.Text(), "KAT");
    EXPECT_EQ(M::SokModus, "");
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Lookup, SortOrdersFollowTheirCheckBoxes) {
    w().C_SorterS.setValue(false);
    type(w().T_Ord, "kat");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"AAA", "B", "ZZ"}));
    EXPECT_EQ(items(w().L_Verdier), QStringList({"X", "PUS", "MEOW"}));
    w().C_SorterV.setValue(false);
    w().T_Ord.setText("");
    type(w().T_Ord, "kat");
    EXPECT_EQ(items(w().L_Verdier), QStringList({"MEOW", "PUS", "X"}));
}

TEST_F(Lookup, StarLooksUpAtOnceAndPicksOrCloses) {
    // No word begins with HX: the message, then an empty field.
    type(w().T_Ord, "hx*");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastPrompt(), "No similar words found!");
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(modal.shown(), 0);

    // KA*: three matches in order; the second is picked.
    auto listed = inResults([&](Resultat& r) {
        clickEntry(r.L_Resultat, 1);
        EXPECT_FALSE(r.Visible());
    });
    w().C_Empty.setValue(true);
    type(w().T_Ord, "ka*");
    EXPECT_EQ(modal.captions().at(0), "Lookup results for the word: 'KA*' - 3 word(s)");
    EXPECT_EQ(*listed, QStringList({"KABEL", "KAT", "KATT"}));
    EXPECT_EQ(w().T_Ord.Text(), "KAT");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
    EXPECT_FALSE(w().C_Empty.Value());
    EXPECT_EQ(M::SokModus, "");
    type(w().T_Ord, "t");  // typing on after a pick runs no second lookup
    EXPECT_EQ(modal.shown(), 1);

    // Closed with "Close", with Escape, or from the title bar: nothing picked.
    const std::function<void(Resultat&)> closes[] = {
        [&](Resultat& r) { click(r.K_Lukk_Vindu); },
        [&](Resultat& r) { QTest::keyClick(r.L_Resultat.view(), Qt::Key_Escape); }, [](Resultat& r) { r.close(); }};
    for (const auto& close : closes) {
        w().T_Ord.setText("");
        inResults(close);
        type(w().T_Ord, "kat?");
        EXPECT_EQ(w().T_Ord.Text(), "");
        EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    }
    EXPECT_EQ(modal.shown(), 4);
    EXPECT_EQ(modal.captions().at(1), "Lookup results for the word: 'KAT?' - 1 word(s)");
}

TEST_F(Lookup, QuestionMarkInAnEmptyFieldListsEveryWordAndTheKeyboardPicks) {
    auto listed = inResults([](Resultat& r) {
        r.L_Resultat.view()->setFocus();
        QTest::keyClick(r.L_Resultat.view(), Qt::Key_Down);
    });
    type(w().T_Ord, "?");
    EXPECT_EQ(listed->size(), 7);
    EXPECT_EQ(listed->first(), "DOG");
    EXPECT_EQ(listed->last(), QString::fromUtf8("ÆRE"));
    EXPECT_TRUE(listed->contains(w().T_Ord.Text())) << w().T_Ord.Text().toStdString();
}

TEST_F(Lookup, FocusHintAndResetOnFocus) {
    EXPECT_EQ(w().E_info.Caption(), "Enter  * or ? within the searched word to lookup similar words.");
    type(w().T_Ord, "kat");
    w().T_Synonym.SetFocus();
    EXPECT_EQ(w().E_info.Caption(), "");
    w().T_Ord.SetFocus();
    EXPECT_EQ(w().T_Ord.Text(), "KAT");  // "Reset field on focus" is off
    w().C_Empty.setValue(true);
    w().T_Synonym.SetFocus();
    w().T_Ord.SetFocus();
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    EXPECT_EQ(w().E_info.Caption(), Velmora::kHint);
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
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    w().T_Ord.setText("KAT");
    w().L_Verdier.setChecked(2, true);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastPrompt(), "2");
    EXPECT_EQ(boxes.calls()[0].title, "Velmora");
    EXPECT_FALSE(boxes.calls()[0].titleGiven);
}

TEST_F(Lookup, CategorySearch) {
    // The list entry wins over the box text.
    type(w().T_Ord, "kat");
    w().C_Kategori.setText("animals");
    auto listed = inResults([&](Resultat& r) { clickEntry(r.L_Resultat, 1); });
    w().C_Empty.setValue(true);
    clickEntry(w().L_Kategorier, 1);  // PETS
    ASSERT_EQ(modal.shown(), 1);
    EXPECT_EQ(modal.captions()[0], "LookupResults for the category: 'PETS' - 3 word(s)");
    EXPECT_EQ(*listed, QStringList({"DOG", "HUND", "KAT"}));
    EXPECT_EQ(w().T_Ord.Text(), "HUND");
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"PETS"}));
    EXPECT_EQ(M::SokModus, "");
    EXPECT_FALSE(w().C_Empty.Value());

    // Nothing picked in the list: the box text, upper-cased.
    w().T_Ord.setText("");
    w().C_Kategori.setText("animals");
    click(w().K_Sok_Kategori);
    ASSERT_EQ(modal.shown(), 2);
    EXPECT_EQ(modal.captions()[1], "LookupResults for the category: 'ANIMALS' - 1 word(s)");
    EXPECT_EQ(w().T_Ord.Text(), "");

    // A category without words, one with a quote, and nothing at all.
    for (const char* category : {"Empty", "it's"}) {
        w().C_Kategori.setText(category);
        click(w().K_Sok_Kategori);
        EXPECT_EQ(boxes.lastPrompt(), "No words is found in this category!");
    }
    w().C_Kategori.setText("");
    click(w().K_Sok_Kategori);
    EXPECT_EQ(boxes.calls().size(), 2u);
    EXPECT_EQ(modal.shown(), 2);
}

TEST_F(Lookup, PickingInTheCategoryBoxSearchesOnlyWhenAsked) {
    ASSERT_EQ(w().C_Kategori.ListCount(), 3);
    w().C_Kategori.combo()->setCurrentIndex(0);
    emit w().C_Kategori.combo()->activated(0);
    EXPECT_EQ(modal.shown(), 0);
    w().C_Lookup.setValue(true);
    emit w().C_Kategori.combo()->activated(0);
    EXPECT_EQ(modal.captions().at(0), "LookupResults for the category: 'PETS' - 3 word(s)");
}

TEST_F(Lookup, PastedTextIsLookedUpAsItIs) {
    // Pasting skips the key filter: a quote, or lower case, is just text.
    w().T_Ord.setText("O'BRIEN");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"IRISHMAN"}));
    for (const char* pasted : {"kat", "x' OR '1'='1"}) {
        w().T_Ord.setText(pasted);
        EXPECT_EQ(w().L_Synonymer.ListCount(), 0) << pasted;
    }
    EXPECT_EQ(quit.calls(), 0);
}

namespace {

class ManyWords : public MainWindowTest {
protected:
    static constexpr int kWords = 40000;
    void fill() override { db.addWords("W", 100000, 100000 + kWords); }
};

}  // namespace

TEST_F(ManyWords, ALongResultListCountsEveryWordAndPicksFromItsEnd) {
    M::DBEngine().Words().Preload(store::kDatabaseFile);  // as the program does once its window is up
    QString picked;
    auto listed = inResults([&](Resultat& r) {
        QListView* v = r.L_Resultat.view();
        v->scrollToBottom();
        EXPECT_EQ(v->verticalScrollBar()->value(), v->verticalScrollBar()->maximum());
        clickEntry(r.L_Resultat, r.L_Resultat.ListCount() - 1);
        picked = r.L_Resultat.Text();
    });
    type(w().T_Ord, "?");
    const QString last = QString("W%1").arg(100000 + kWords - 1);
    EXPECT_EQ(listed->size(), kWords);
    EXPECT_EQ(picked, last);
    EXPECT_EQ(w().T_Ord.Text(), last);
    EXPECT_EQ(modal.captions()[0], QString("Lookup results for the word: '?' - %1 word(s)").arg(kWords));
    // Entries held elsewhere become the list's own when one is added.
    ui::ListBox& l = M::Resultat().L_Resultat;
    l.setItems(3, [](int i) { return QString("E%1").arg(i); });
    l.AddItem("LAST");
    EXPECT_EQ(items(l), QStringList({"E0", "E1", "E2", "LAST"}));
    EXPECT_FALSE(l.Checked(2));
}
