// Editing from the main window: words, and the three kinds of link (a
// category, a synonym pair, a value) saved, refused when registered before,
// and erased after a question; texts the key filters never let through.
#include <algorithm>

#include "fixture.h"

using testing_support::Rows;

namespace {

class Editing : public MainWindowTest {
protected:
    Rows all(const std::string& table) { return db.rows("SELECT * FROM " + table + " ORDER BY rowid"); }
};

}  // namespace

TEST_F(Editing, AWordIsSavedInCapitalsOnceAndErasedAfterAsking) {
    db.addWord("DOG");
    db.synonym("CAT", "FELINE");
    click(w().K_Lagre_Ord);  // an empty field, or a word not stored: no question, nothing changes
    type(w().T_Ord, "emu");
    click(w().K_Slett_Ord);
    for (int i = 0; i < 2; ++i) {  // pasted in lower case: stored in capitals, so the lookups find it
        w().T_Ord.setText("cat");
        click(w().K_Lagre_Ord);
    }
    EXPECT_EQ(all("T_Ord"), Rows({{"DOG", "<null>", "<null>"}, {"CAT", "<null>", "<null>"}}));
    EXPECT_EQ(items(w().L_Synonymer), QStringList({"FELINE"}));
    boxes.answer(ui::Answer::No);
    click(w().K_Slett_Ord);
    EXPECT_EQ(boxes.calls().back().buttons, ui::Buttons::YesNo);
    EXPECT_EQ(db.count("T_Ord"), 2);
    // Yes, while another window erases CAT, saves COW in its row, then CAT
    // anew: CAT goes, wherever it is now, and only CAT.
    boxes.during = [&](const ui::MsgBoxCall&) {
        db.exec("DELETE FROM T_Ord");
        for (auto word : {"COW", "DOG", "CAT"}) db.addWord(word);
    };
    boxes.answer(ui::Answer::Yes);
    click(w().K_Slett_Ord);
    boxes.during = nullptr;
    EXPECT_EQ(db.rows("SELECT Ord FROM T_Ord ORDER BY rowid"), Rows({{"COW"}, {"DOG"}}));
    EXPECT_EQ(w().T_Ord.Text() + items(w().L_Synonymer).join(""), "");
    const QString asks = "Do you really want to erase this word: CAT?";
    EXPECT_EQ(boxes.prompts(), QStringList({"The word CAT already exists! Not added!", asks, asks}));
}

namespace {

// The store's own rules for links (the words a save adds, what an erase
// leaves) are the store's tests; here, what the window saves and erases.
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
    type(v.T_Ord, "cat");
    click(v.*c.save);  // nothing to link: nothing at all
    EXPECT_EQ(db.count("T_Ord"), 0);
    for (int i = 0; i < 2; ++i) {  // the second is refused
        c.field ? (v.*c.field).setText("pets") : v.C_Kategori.setText("pets");
        click(v.*c.save);
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
    // Yes, while another window erases the link, saves COW's in its rows,
    // then this one anew: this one goes, wherever it is now, and only it.
    Rows others = c.saved;
    for (auto& row : others) std::replace(row.begin(), row.end(), std::string("CAT"), std::string("COW"));
    boxes.during = [&](const ui::MsgBoxCall&) {
        db.exec(std::string("DELETE FROM ") + c.table);
        for (const Rows& rows : {others, c.saved})
            for (const auto& row : rows) db.exec(std::string("INSERT INTO ") + c.table + " VALUES (?, ?, ?)", row);
    };
    boxes.answer(ui::Answer::Yes);
    click(v.*c.erase);
    boxes.during = nullptr;
    EXPECT_EQ(all(c.table), others);
    EXPECT_EQ(v.T_Ord.Text() + items(v.*c.list).join(""), "CAT");
    const QString asks = QString("Do you really want to erase this %1?").arg(c.what);
    EXPECT_EQ(boxes.prompts(), QStringList({c.refused, asks, asks}));
    EXPECT_EQ(modal.shown(), 0);
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

// Enter saves and empties the field, refused or not; with no word, nothing is saved.
TEST_F(Editing, EnterInALinkFieldSavesAndEmptiesIt) {
    for (const char* word : {"", "lion", "lion"}) {
        w().T_Ord.setText(word);
        for (ui::TextBox* t : {&w().T_Synonym, &w().T_Verdi}) {
            type(*t, "big cat");
            QTest::keyClick(t->edit(), Qt::Key_Return);
            EXPECT_EQ(t->Text(), "");
            EXPECT_TRUE(t->HasFocus());
        }
    }
    EXPECT_EQ(all("T_OrdVerdi"), Rows({{"LION", "BIG CAT", "X"}}));
    EXPECT_EQ(all("T_OrdSynonym"), Rows({{"BIG CAT", "LION", "X"}, {"LION", "BIG CAT", "X"}}));
    EXPECT_EQ(items(w().L_Verdier), QStringList({"BIG CAT"}));
    EXPECT_EQ(boxes.prompts(), QStringList({"The word and the synonym are already registered!",
                                            "The word and the value are already registered!"}));
}

// Pasting lets through what the key filters never would. Each such text is
// saved and erased as the text it is (the store keeps any text as it is on
// both engines), and is never linked to itself; nothing else changes.
TEST_F(Editing, PastedOddTextsAreSavedAndErasedAsThemselves) {
    db.addWord("KEEP");
    for (const QString& t :
         {QString("O''NEIL [A_B] 100% \"Q\" A\\B"), QString("a*b?"), QString("😀🧩 ÆØÅ é שלום \x01\x7f"),
          QString(100000, 'W'), QString("'); DROP TABLE T_Ord; --")}) {
        SCOPED_TRACE(t.left(20).toStdString());
        w().T_Ord.setText(t);  // as pasted
        click(w().K_Lagre_Ord);
        const QString stored = ui::upperCase(t);
        ASSERT_EQ(db.rows("SELECT count(*) FROM T_Ord WHERE Ord = ?", {stored.toStdString()})[0][0], "1");
        ASSERT_EQ(w().T_Ord.Text(), stored);
        w().T_Synonym.setText(t.toLower());  // a synonym of itself is refused, as stored
        click(w().K_Lagre_Synonym);
        w().T_Verdi.setText(t);  // and so is a value of itself
        click(w().K_Lagre_Verdi);
        boxes.answer(ui::Answer::Yes);
        click(w().K_Slett_Ord);
        ASSERT_EQ(db.rows("SELECT Ord FROM T_Ord"), Rows({{"KEEP"}}));
    }
    EXPECT_EQ(db.count("T_OrdSynonym") + db.count("T_OrdVerdi"), 0);
    EXPECT_EQ(boxes.calls().size(), 5u);  // the erase questions only
    EXPECT_EQ(quit.calls(), 0);
}
