#include <QComboBox>
#include <QLineEdit>
#include "fixture.h"

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
    type(w().T_Ord, "ka");
    EXPECT_EQ(w().T_Ord.Text(), "KA");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    type(w().T_Ord, "t");
    EXPECT_EQ(w().T_Ord.Text(), "KAT");
    // Sorted by length at start: B, ZZ, AAA; values X, PUS, MEOW.
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
    EXPECT_EQ(items(w().L_Verdier), QStringList({"X", "PUS", "MEOW"}));
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"ANIMALS", "PETS"}));
    // KATT is a word too; KATTE is not.
    type(w().T_Ord, "t");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    EXPECT_EQ(w().L_Kategorier.ListCount(), 0);
    type(w().T_Ord, "e");
    EXPECT_EQ(w().T_Ord.Text(), "KATTE");
    EXPECT_EQ(w().L_Verdier.ListCount(), 0);
    // Backspace twice: back at KAT and its details.
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_Backspace);
    QTest::keyClick(w().T_Ord.edit(), Qt::Key_Backspace);
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
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
    // A length counts letters, not bytes: ÆRE has three.
    db.synonym("KAT", "ÆRE");
    db.synonym("KAT", "ABCD");
    w().C_SorterS.setValue(true);
    w().T_Ord.setText("");
    type(w().T_Ord, "kat");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA", QString::fromUtf8("ÆRE"), "ABCD"}));
}

TEST_F(Lookup, KeyFilterOfTheWordField) {
    auto& t = w().T_Ord;
    type(t, " ");  // a space in an empty field is discarded
    EXPECT_EQ(t.Text(), "");
    QTest::keyClick(t.edit(), Qt::Key_Backspace);
    EXPECT_EQ(t.Text(), "");
    type(t, "K");  // a capital typed as such adds nothing
    type(t, "'");
    type(t, "\"");
    type(t, "%_[");
    EXPECT_EQ(t.Text(), "");
    type(t, "a1-.");
    EXPECT_EQ(t.Text(), "A1-.");
    type(t, " b");
    EXPECT_EQ(t.Text(), "A1-. B");
    type(t, QString::fromUtf8("æøå"));
    EXPECT_EQ(t.Text(), QString::fromUtf8("A1-. BÆØÅ"));
    QTest::keyClick(t.edit(), Qt::Key_Return);
    EXPECT_EQ(t.Text(), QString::fromUtf8("A1-. BÆØÅ"));
    EXPECT_EQ(M::SokModus, "");
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Lookup, StarLooksUpAtOnceAndPicksOrCloses) {
    // No word begins with HX: the message, then an empty field.
    type(w().T_Ord, "hx*");
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastPrompt(), "No similar words found!");
    EXPECT_EQ(boxes.calls()[0].title, "Velmora");
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(modal.shown(), 0);

    // KA*: three matches in order; the second is picked.
    QStringList listed;
    modal.then([&](ui::Form& f) {
        auto& r = static_cast<Resultat&>(f);
        listed = items(r.L_Resultat);
        clickEntry(r.L_Resultat, 1);
        EXPECT_FALSE(r.Visible());
    });
    w().C_Empty.setValue(true);
    type(w().T_Ord, "ka*");
    EXPECT_EQ(modal.shown(), 1);
    EXPECT_EQ(modal.captions()[0], "Lookup results for the word: 'KA*' - 3 word(s)");
    EXPECT_EQ(listed, QStringList({"KABEL", "KAT", "KATT"}));
    EXPECT_EQ(w().T_Ord.Text(), "KAT");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"B", "ZZ", "AAA"}));
    EXPECT_FALSE(w().C_Empty.Value());
    EXPECT_EQ(M::SokModus, "");

    // Typing on after a pick runs no second lookup.
    type(w().T_Ord, "t");
    EXPECT_EQ(modal.shown(), 1);

    // Closed with "Close": nothing picked, the field and lists empty.
    w().T_Ord.setText("");
    modal.then([&](ui::Form& f) { click(static_cast<Resultat&>(f).K_Lukk_Vindu); });
    type(w().T_Ord, "kat?");
    EXPECT_EQ(modal.shown(), 2);
    EXPECT_EQ(modal.captions()[1], "Lookup results for the word: 'KAT?' - 1 word(s)");
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);

    // Escape closes it as "Close" does.
    modal.then([&](ui::Form& f) {
        QTest::keyClick(static_cast<Resultat&>(f).L_Resultat.view(), Qt::Key_Escape);
        EXPECT_FALSE(f.Visible());
    });
    type(w().T_Ord, "ka*");
    EXPECT_EQ(modal.shown(), 3);
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);

    // Closed from the title bar: the window unloads, nothing is picked.
    modal.then([&](ui::Form& f) { f.close(); });
    type(w().T_Ord, "k*");
    EXPECT_EQ(modal.shown(), 4);
    EXPECT_EQ(w().T_Ord.Text(), "");
}

TEST_F(Lookup, QuestionMarkInAnEmptyFieldListsEveryWord) {
    QStringList listed;
    modal.then([&](ui::Form& f) {
        auto& r = static_cast<Resultat&>(f);
        listed = items(r.L_Resultat);
        // Moving the selection with the keyboard picks too.
        r.L_Resultat.view()->setFocus();
        QTest::keyClick(r.L_Resultat.view(), Qt::Key_Down);
    });
    type(w().T_Ord, "?");
    EXPECT_EQ(listed.size(), 7);
    EXPECT_EQ(listed.first(), "DOG");
    EXPECT_EQ(listed.last(), QString::fromUtf8("ÆRE"));
    EXPECT_EQ(modal.captions()[0], "Lookup results for the word: '?' - 7 word(s)");
    EXPECT_FALSE(w().T_Ord.Text().isEmpty());
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

TEST_F(Lookup, ListHandlers) {
    db.addWord("B");
    db.synonym("B", "BEE");
    type(w().T_Ord, "kat");
    // Double-click a synonym that is a word: its details.
    clickEntry(w().L_Synonymer, 0);
    QTest::mouseDClick(
        w().L_Synonymer.view()->viewport(), Qt::LeftButton, {},
        w().L_Synonymer.view()->visualRect(w().L_Synonymer.view()->model()->index(0, 0)).center() + QPoint(40, 0));
    EXPECT_EQ(w().T_Ord.Text(), "B");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"BEE"}));
    // One that is not a word: empty lists.
    clickEntry(w().L_Synonymer, 0);
    QTest::mouseDClick(
        w().L_Synonymer.view()->viewport(), Qt::LeftButton, {},
        w().L_Synonymer.view()->visualRect(w().L_Synonymer.view()->model()->index(0, 0)).center() + QPoint(40, 0));
    EXPECT_EQ(w().T_Ord.Text(), "BEE");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    // Ticking the third value's box tells its index.
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
    QStringList listed;
    modal.then([&](ui::Form& f) {
        auto& r = static_cast<Resultat&>(f);
        listed = items(r.L_Resultat);
        clickEntry(r.L_Resultat, 1);
    });
    w().C_Empty.setValue(true);
    clickEntry(w().L_Kategorier, 1);  // PETS
    ASSERT_EQ(modal.shown(), 1);
    EXPECT_EQ(modal.captions()[0], "LookupResults for the category: 'PETS' - 3 word(s)");
    EXPECT_EQ(listed, QStringList({"DOG", "HUND", "KAT"}));
    EXPECT_EQ(w().T_Ord.Text(), "HUND");
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"PETS"}));
    EXPECT_EQ(M::SokModus, "");
    EXPECT_FALSE(w().C_Empty.Value());

    // Nothing selected in the list: the box text, upper-cased.
    w().T_Ord.setText("");
    w().C_Kategori.setText("animals");
    modal.then([&](ui::Form& f) { click(static_cast<Resultat&>(f).K_Lukk_Vindu); });
    click(w().K_Sok_Kategori);
    ASSERT_EQ(modal.shown(), 2);
    EXPECT_EQ(modal.captions()[1], "LookupResults for the category: 'ANIMALS' - 1 word(s)");
    EXPECT_EQ(w().T_Ord.Text(), "");

    // A category without words.
    w().C_Kategori.setText("Empty");
    click(w().K_Sok_Kategori);
    EXPECT_EQ(boxes.lastPrompt(), "No words is found in this category!");
    EXPECT_EQ(modal.shown(), 2);
    EXPECT_EQ(M::SokModus, "");

    // Nothing at all to search: nothing happens.
    w().C_Kategori.setText("");
    boxes.clear();
    click(w().K_Sok_Kategori);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(modal.shown(), 2);
}

TEST_F(Lookup, PickingInTheCategoryBoxSearchesOnlyWhenAsked) {
    ASSERT_EQ(w().C_Kategori.ListCount(), 3);
    w().C_Kategori.combo()->setCurrentIndex(0);
    emit w().C_Kategori.combo()->activated(0);
    EXPECT_EQ(modal.shown(), 0);
    w().C_Lookup.setValue(true);
    emit w().C_Kategori.combo()->activated(0);
    EXPECT_EQ(modal.shown(), 1);
    EXPECT_EQ(modal.captions()[0], "LookupResults for the category: 'PETS' - 3 word(s)");
}

TEST_F(Lookup, PastedTextIsLookedUpAsItIs) {
    // Pasting skips the key filter: a quote, or lower case, is just text.
    w().T_Ord.setText("O'BRIEN");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"IRISHMAN"}));
    w().T_Ord.setText("kat");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    w().T_Ord.setText("x' OR '1'='1");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
    // A category name with a quote in the box.
    w().C_Kategori.setText("it's");
    click(w().K_Sok_Kategori);
    EXPECT_EQ(boxes.lastPrompt(), "No words is found in this category!");
    EXPECT_EQ(quit.calls(), 0);
}
