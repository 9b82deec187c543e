#include <unistd.h>
#include <QComboBox>
#include <QLineEdit>

#include <filesystem>

#include "fixture.h"

using Rows = std::vector<std::vector<std::string>>;

namespace {

class Editing : public MainWindowTest {
protected:
    Rows all(const std::string& table) { return db.rows("SELECT * FROM " + table + " ORDER BY rowid"); }
};

}  // namespace

TEST_F(Editing, SavingAWordTwice) {
    type(w().T_Ord, "cat");
    click(w().K_Lagre_Ord);
    EXPECT_EQ(all("T_Ord"), Rows({{"CAT", "<null>", "<null>"}}));
    EXPECT_TRUE(boxes.calls().empty());
    click(w().K_Lagre_Ord);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_EQ(boxes.lastPrompt(), "The word CAT already exists! Not added!");
    EXPECT_EQ(boxes.calls()[0].title, "Velmora");
    EXPECT_EQ(db.count("T_Ord"), 1);
    EXPECT_EQ(w().T_Ord.Text(), "CAT");
    // Pasted in lower case: stored in capitals, so the lookups find it.
    w().T_Ord.setText("dog");
    click(w().K_Lagre_Ord);
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord WHERE Ord = 'DOG'").size(), 1u);
    // An empty field does nothing.
    w().T_Ord.setText("");
    click(w().K_Lagre_Ord);
    EXPECT_EQ(db.count("T_Ord"), 2);
}

TEST_F(Editing, ErasingAWordAsksAndLeavesItsLinks) {
    db.addWord("CAT");
    db.synonym("CAT", "FELINE");
    db.link("CAT", "PETS");
    type(w().T_Ord, "cat");
    boxes.answer(ui::Answer::No);
    click(w().K_Slett_Ord);
    EXPECT_EQ(boxes.lastPrompt(), "Do you really want to erase this word: CAT?");
    EXPECT_EQ(boxes.calls().back().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(db.count("T_Ord"), 1);
    EXPECT_EQ(w().T_Ord.Text(), "CAT");
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Ord);
    EXPECT_EQ(db.count("T_Ord"), 0);
    EXPECT_EQ(db.count("T_OrdSynonym"), 1);
    EXPECT_EQ(db.count("T_OrdKategori"), 1);
    EXPECT_EQ(w().T_Ord.Text(), "");
    EXPECT_EQ(w().L_Synonymer.ListCount() + w().L_Kategorier.ListCount(), 0);
    // A word not stored: no question, nothing changes.
    boxes.clear();
    type(w().T_Ord, "dog");
    click(w().K_Slett_Ord);
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Editing, LinkingAWordToACategory) {
    db.addCategory("ANIMALS");
    type(w().T_Ord, "dog");
    // No category: nothing at all.
    click(w().K_Lagre_Kategori);
    EXPECT_EQ(db.count("T_OrdKategori"), 0);
    EXPECT_EQ(db.count("T_Ord"), 0);
    EXPECT_TRUE(boxes.calls().empty());
    w().C_Kategori.setText("pets");
    click(w().K_Lagre_Kategori);
    EXPECT_EQ(all("T_OrdKategori"), Rows({{"DOG", "PETS", "X"}}));
    EXPECT_EQ(all("T_Ord"), Rows({{"DOG", "X", "<null>"}}));
    EXPECT_EQ(db.count("T_Kategori"), 1);  // the category table is never changed
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"PETS"}));
    EXPECT_TRUE(w().C_Kategori.combo()->hasFocus());
    click(w().K_Lagre_Kategori);
    EXPECT_EQ(boxes.lastPrompt(), "The word and the category is registered before!");
    EXPECT_EQ(db.count("T_OrdKategori"), 1);

    // Erasing: nothing selected does nothing; No keeps; Yes erases.
    boxes.clear();
    click(w().K_Slett_Kategori);
    EXPECT_TRUE(boxes.calls().empty());
    // The arrow keys select a link without searching its category.
    w().L_Kategorier.view()->setFocus();
    QTest::keyClick(w().L_Kategorier.view(), Qt::Key_Down);
    EXPECT_EQ(w().L_Kategorier.Text(), "PETS");
    EXPECT_EQ(modal.shown(), 0);
    boxes.answer(ui::Answer::No);
    click(w().K_Slett_Kategori);
    EXPECT_EQ(boxes.lastPrompt(), "Do you really want to erase this category: PETS?");
    EXPECT_EQ(db.count("T_OrdKategori"), 1);
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Kategori);
    EXPECT_EQ(db.count("T_OrdKategori"), 0);
    EXPECT_EQ(w().T_Ord.Text(), "DOG");
    EXPECT_EQ(w().L_Kategorier.ListCount(), 0);
}

namespace {
class EditingCategories : public Editing {
protected:
    void fill() override {
        for (auto k : {"PETS", "ARTS", "SPORT"}) db.addCategory(k);
    }
    // Empties the category box and types into it as the user does.
    void typeCategory(const QString& keys) {
        w().C_Kategori.setText("");
        w().C_Kategori.SetFocus();
        QTest::keyClicks(w().C_Kategori.combo(), keys);
    }
};
}  // namespace

TEST_F(EditingCategories, TheCategoryBoxLinksExactlyWhatWasTyped) {
    type(w().T_Ord, "dog");
    typeCategory("pe");
    EXPECT_EQ(w().C_Kategori.Text(), "pe");
    click(w().K_Lagre_Kategori);
    typeCategory("art");
    click(w().K_Lagre_Kategori);
    // Typed in full and left with Enter: typing still, so no search runs.
    w().C_Lookup.setValue(true);
    typeCategory("SPORT");
    QTest::keyClick(w().C_Kategori.combo(), Qt::Key_Return);
    EXPECT_EQ(modal.shown(), 0);
    click(w().K_Lagre_Kategori);
    EXPECT_EQ(all("T_OrdKategori"), Rows({{"DOG", "PE", "X"}, {"DOG", "ART", "X"}, {"DOG", "SPORT", "X"}}));
    EXPECT_TRUE(boxes.calls().empty());
}

TEST_F(Editing, SavingAndErasingASynonymPair) {
    type(w().T_Ord, "cat");
    type(w().T_Synonym, "feline");
    EXPECT_EQ(w().T_Synonym.Text(), "FELINE");
    click(w().K_Lagre_Synonym);
    EXPECT_EQ(all("T_OrdSynonym"), Rows({{"FELINE", "CAT", "X"}, {"CAT", "FELINE", "X"}}));
    EXPECT_EQ(all("T_Ord"), Rows({{"CAT", "X", "<null>"}, {"FELINE", "X", "<null>"}}));
    EXPECT_EQ(w().T_Synonym.Text(), "");
    EXPECT_TRUE(w().T_Synonym.HasFocus());
    EXPECT_EQ(w().T_Ord.Text(), "CAT");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"FELINE"}));

    // The same pair again: refused, nothing added, the field kept.
    type(w().T_Synonym, "feline");
    click(w().K_Lagre_Synonym);
    EXPECT_EQ(boxes.lastPrompt(), "The word and the synonym are already registered!");
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
    EXPECT_EQ(w().T_Synonym.Text(), "FELINE");

    // The word in the synonym field too: nothing at all.
    boxes.clear();
    w().T_Synonym.setText("CAT");
    click(w().K_Lagre_Synonym);
    EXPECT_TRUE(boxes.calls().empty());
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);

    // Erase: No keeps both rows, Yes takes both; FELINE stays a word.
    clickEntry(w().L_Synonymer, 0);
    boxes.answer(ui::Answer::No);
    click(w().K_Slett_Synonym);
    EXPECT_EQ(boxes.lastPrompt(), "Do you really want to erase this synonym: FELINE?");
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
    clickEntry(w().L_Synonymer, 0);
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Synonym);
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord WHERE Ord = 'FELINE'").size(), 1u);
    EXPECT_EQ(w().T_Ord.Text(), "CAT");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 0);
}

TEST_F(Editing, SynonymFieldKeysAndEnter) {
    type(w().T_Synonym, "A");  // a capital typed as such
    type(w().T_Synonym, "'");  // and the quote
    type(w().T_Synonym, QString::fromUtf8("Å"));
    EXPECT_EQ(w().T_Synonym.Text(), "");
    type(w().T_Synonym, "big cat-1.");
    EXPECT_EQ(w().T_Synonym.Text(), "BIG CAT-1.");
    // Enter with an empty word field: nothing saved, the field emptied.
    QTest::keyClick(w().T_Synonym.edit(), Qt::Key_Return);
    EXPECT_EQ(w().T_Synonym.Text(), "");
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    // Enter with a word: saved, emptied, the list shows it.
    type(w().T_Ord, "lion");
    type(w().T_Synonym, "big cat");
    QTest::keyClick(w().T_Synonym.edit(), Qt::Key_Return);
    EXPECT_EQ(db.count("T_OrdSynonym"), 2);
    EXPECT_EQ(w().T_Synonym.Text(), "");
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"BIG CAT"}));
    // Enter on a refused pair empties the field all the same.
    type(w().T_Synonym, "big cat");
    QTest::keyClick(w().T_Synonym.edit(), Qt::Key_Return);
    EXPECT_EQ(boxes.lastPrompt(), "The word and the synonym are already registered!");
    EXPECT_EQ(w().T_Synonym.Text(), "");
}

TEST_F(Editing, ValuesAreLinkedAndErased) {
    db.addWord("CAT");
    type(w().T_Ord, "cat");
    type(w().T_Verdi, "meow");
    click(w().K_Lagre_Verdi);
    EXPECT_EQ(all("T_Verdi"), Rows({{"MEOW", "X"}}));
    EXPECT_EQ(all("T_OrdVerdi"), Rows({{"CAT", "MEOW", "X"}}));
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord WHERE Ord = 'MEOW'").size(), 0u);
    EXPECT_EQ(items(w().L_Verdier), QStringList({"MEOW"}));
    EXPECT_TRUE(w().T_Verdi.HasFocus());
    EXPECT_EQ(w().T_Verdi.Text(), "");
    type(w().T_Verdi, "meow");
    QTest::keyClick(w().T_Verdi.edit(), Qt::Key_Return);
    EXPECT_EQ(boxes.lastPrompt(), "The word and the value are already registered!");
    EXPECT_EQ(db.count("T_OrdVerdi"), 1);
    EXPECT_EQ(w().T_Verdi.Text(), "");

    clickEntry(w().L_Verdier, 0);
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Verdi);
    EXPECT_EQ(boxes.lastPrompt(), "Do you really want to erase this value: MEOW?");
    EXPECT_EQ(db.count("T_OrdVerdi"), 0);
    EXPECT_EQ(db.count("T_Verdi"), 1);  // the value stays known
    EXPECT_EQ(w().L_Verdier.ListCount(), 0);
    EXPECT_EQ(w().T_Ord.Text(), "CAT");
}

TEST_F(Editing, TextsWithQuotesAreStoredAsThemselves) {
    w().T_Ord.setText("O'BRIEN");
    w().T_Synonym.setText("IRISH'MAN");
    click(w().K_Lagre_Synonym);
    EXPECT_EQ(db.rows("SELECT Synonym FROM T_OrdSynonym WHERE Ord = ?", {"O'BRIEN"}), Rows({{"IRISH'MAN"}}));
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"IRISH'MAN"}));
    w().C_Kategori.setText("'); DROP TABLE T_Ord; --");
    click(w().K_Lagre_Kategori);
    EXPECT_EQ(db.count("T_Ord"), 2);
    EXPECT_EQ(items(w().L_Kategorier), QStringList({"'); DROP TABLE T_ORD; --"}));
    EXPECT_EQ(quit.calls(), 0);
}

TEST_F(Editing, AFileThatRefusesWritesIsReportedAndLeftAsItWas) {
    db.addWord("CAT");
    type(w().T_Ord, "cat");
    std::filesystem::permissions("velmora.mdb",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    if (::geteuid() == 0) {
        // Root writes through file modes; a read-only query-only pragma
        // stands in via a trigger that refuses every insert.
        std::filesystem::permissions("velmora.mdb", std::filesystem::perms::owner_all);
        db.exec(
            "CREATE TRIGGER no_write BEFORE INSERT ON T_OrdSynonym BEGIN SELECT RAISE(ABORT, 'attempt to write a "
            "readonly database'); END");
    }
    type(w().T_Synonym, "feline");
    click(w().K_Lagre_Synonym);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb")) << boxes.lastPrompt().toStdString();
    EXPECT_TRUE(boxes.lastPrompt().contains("readonly")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(quit.calls(), 0);  // the program goes on
    // Nothing of the save is in the file: not even the synonym's own word.
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    EXPECT_EQ(db.count("T_Ord"), 1);
    // And the window still looks words up.
    w().T_Ord.setText("");
    type(w().T_Ord, "cat");
    EXPECT_EQ(quit.calls(), 0);
    std::filesystem::permissions("velmora.mdb", std::filesystem::perms::owner_all);
}

TEST_F(Editing, ALockedOrFullFileIsReportedAndTheWindowGoesOn) {
    db.addWord("CAT");
    type(w().T_Ord, "cat");
    store::setBusyTimeout(100);
    {
        store::Connection other(db.file());  // another Velmora in the middle of a save
        other.exec("BEGIN EXCLUSIVE");
        type(w().T_Verdi, "tom");
        click(w().K_Lagre_Verdi);
        other.exec("COMMIT");
    }
    store::setBusyTimeout(5000);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The word database could not be changed, so nothing was written:"));
    EXPECT_TRUE(boxes.lastPrompt().contains("locked")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(db.count("T_OrdVerdi"), 0);
    click(w().K_Lagre_Verdi);  // the lock is gone: the same click saves
    EXPECT_EQ(db.rows("SELECT Ord, Verdi FROM T_OrdVerdi"), (std::vector<std::vector<std::string>>{{"CAT", "TOM"}}));

    boxes.clear();
    store::setPageLimit(std::stoi(db.rows("PRAGMA page_count")[0][0]));
    w().T_Synonym.setText(QString(5000, QChar('Z')));  // pasted: no key filter
    click(w().K_Lagre_Synonym);
    store::setPageLimit(0);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(boxes.lastPrompt().contains("full")) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(db.count("T_OrdSynonym"), 0);
    EXPECT_EQ(db.count("T_Ord"), 1);
    EXPECT_EQ(quit.calls(), 0);
}

// Pasting lets through what the key filters never would. Each such text is
// saved, found, linked and erased as the text it is; nothing else changes.
TEST_F(Editing, PastedOddTextsAreSavedAndErasedAsThemselves) {
    db.addWord("KEEP");
    const int words = db.count("T_Ord");
    const QStringList texts = {"'",     "O''NEIL", "100%",     "A_B",          "[AB]",  "\"QUOTED\"",
                               "A\\B",  "שלום",    "😀🧩", "\x01\x02\x7f", "A;B--", QString(100000, 'W'),
                               "مرحبا", "A*B?",    "ÆØÅ éè"};
    for (const QString& t : texts) {
        SCOPED_TRACE(t.left(20).toStdString());
        boxes.clear();
        w().T_Ord.setText(t);  // as pasted
        click(w().K_Lagre_Ord);
        const QString stored = ui::upperCase(t);
        ASSERT_EQ(db.rows("SELECT count(*) FROM T_Ord WHERE Ord = ?", {stored.toStdString()})[0][0], "1");
        ASSERT_EQ(w().T_Ord.Text(), stored);

        w().T_Synonym.setText("ODD");
        click(w().K_Lagre_Synonym);
        ASSERT_EQ(items(w().L_Synonymer), QStringList({"ODD"}));
        ASSERT_EQ(db.count("T_OrdSynonym"), 2);
        w().T_Verdi.setText(t);  // a value of itself is refused: the word equals it
        click(w().K_Lagre_Verdi);
        w().T_Synonym.setText(t.toLower());  // and so is a synonym of itself
        click(w().K_Lagre_Synonym);
        ASSERT_EQ(db.count("T_OrdSynonym"), 2);

        clickEntry(w().L_Synonymer, 0);
        boxes.answer(ui::Answer::Yes);
        click(w().K_Slett_Synonym);
        ASSERT_EQ(db.count("T_OrdSynonym"), 0);
        w().T_Ord.setText(stored);
        boxes.answer(ui::Answer::Yes);
        click(w().K_Slett_Ord);
        ASSERT_EQ(db.rows("SELECT count(*) FROM T_Ord WHERE Ord = ?", {stored.toStdString()})[0][0], "0");
        db.exec("DELETE FROM T_Ord WHERE Ord = 'ODD'");
        ASSERT_EQ(db.count("T_Ord"), words);
    }
    EXPECT_EQ(db.count("T_OrdVerdi"), 0);
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord"), (std::vector<std::vector<std::string>>{{"KEEP"}}));
    EXPECT_EQ(db.rows("PRAGMA integrity_check")[0][0], "ok");
    EXPECT_EQ(quit.calls(), 0);
}
