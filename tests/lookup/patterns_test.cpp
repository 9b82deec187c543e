// Pattern lookups on the words held in memory, through the main window and
// the results window: the order, the count, the pick in a long list, and a
// file changed by someone else between two lookups.
#include <QScrollBar>

#include "fixture.h"
#include "store/wordstore.h"

namespace {

class Patterns : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // As the program does once its window is up.
        M::DBEngine().Words().Preload(store::kDatabaseFile);
    }

    // Types "?" and returns what the results window listed; `then` acts in it.
    QStringList everyWord(std::function<void(Resultat&)> then = {}) {
        QStringList listed;
        modal.then([&](ui::Form& f) {
            auto& r = static_cast<Resultat&>(f);
            listed = items(r.L_Resultat);
            if (then) then(r);
        });
        w().T_Ord.setText("");
        type(w().T_Ord, "?");
        return listed;
    }
};

class NorwegianWords : public Patterns {
protected:
    void fill() override {
        for (auto word : {"ÅRE", "ARE", "ØRE", "ZRE", "ÆRE"}) db.addWord(word);
    }
};

class ManyWords : public Patterns {
protected:
    static constexpr int kWords = 40000;
    void fill() override {
        store::Connection c(db.file());
        store::Transaction t(c);
        store::Stmt add = c.prepare("INSERT INTO T_Ord (Ord) VALUES (?1)");
        for (int i = 0; i < kWords; ++i) {
            add.bind(1, "W" + std::to_string(100000 + i)).run();
            add.reset();
        }
        t.commit();
    }
};

}  // namespace

TEST_F(NorwegianWords, ResultsComeInNorwegianOrderAndThePickIsTheWordClicked) {
    const QStringList listed = everyWord([&](Resultat& r) { clickEntry(r.L_Resultat, 4); });
    EXPECT_EQ(listed, QString::fromUtf8("ARE ZRE ÆRE ØRE ÅRE").split(' '));
    EXPECT_EQ(modal.captions()[0], "Lookup results for the word: '?' - 5 word(s)");
    EXPECT_EQ(w().T_Ord.Text(), QString::fromUtf8("ÅRE"));
}

TEST_F(NorwegianWords, AWordSavedOrErasedByAnotherConnectionShowsAtTheNextLookup) {
    EXPECT_EQ(everyWord().size(), 5);
    db.addWord("BRE");
    db.exec("DELETE FROM T_Ord WHERE Ord = ?", {"ØRE"});
    EXPECT_EQ(everyWord(), QString::fromUtf8("ARE BRE ZRE ÆRE ÅRE").split(' '));
    EXPECT_EQ(modal.captions()[1], "Lookup results for the word: '?' - 5 word(s)");
    // Read at start and after the change; an unchanged file is not read again.
    EXPECT_EQ(everyWord().size(), 5);
    EXPECT_EQ(M::DBEngine().Words().reads(), 2);
}

TEST_F(ManyWords, LongResultListCountsEveryWordAndPicksFromItsEnd) {
    int count = 0;
    QString last, picked;
    everyWord([&](Resultat& r) {
        count = r.L_Resultat.ListCount();
        last = r.L_Resultat.List(count - 1);
        QListView* v = r.L_Resultat.view();
        v->scrollToBottom();
        EXPECT_EQ(v->verticalScrollBar()->value(), v->verticalScrollBar()->maximum());
        clickEntry(r.L_Resultat, count - 1);
        picked = r.L_Resultat.Text();
    });
    EXPECT_EQ(count, kWords);
    EXPECT_EQ(last, QString("W%1").arg(100000 + kWords - 1));
    EXPECT_EQ(picked, last);
    EXPECT_EQ(w().T_Ord.Text(), last);
    EXPECT_EQ(modal.captions()[0], QString("Lookup results for the word: '?' - %1 word(s)").arg(kWords));
}

TEST_F(ManyWords, EntriesHeldElsewhereBecomeTheListsOwnWhenOneIsAdded) {
    ui::ListBox& l = M::Resultat().L_Resultat;
    l.setItems(3, [](int i) { return QString("E%1").arg(i); });
    EXPECT_EQ(l.ListCount(), 3);
    EXPECT_FALSE(l.Checked(2));
    l.AddItem("LAST");
    EXPECT_EQ(items(l), QStringList({"E0", "E1", "E2", "LAST"}));
    l.Clear();
    EXPECT_EQ(l.ListCount(), 0);
    EXPECT_EQ(l.Text(), "");
}
