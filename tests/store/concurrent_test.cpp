// Two composers on one word database at the same moment, on both engines:
// each on its own connection, saving and erasing the same rows. Every save
// is stored once and reported added to exactly one of them; erases remove
// what they named and nothing else.
#include <atomic>
#include <barrier>
#include <thread>

#include "engines.h"

using testing_support::OnEngines;

namespace {

class ConcurrentOnEngines : public OnEngines {
protected:
    // On a busy machine one composer's run of saves may keep the file
    // locked for seconds; the other waits it out, as the rows are the test.
    void SetUp() override {
        store::setBusyTimeout(60000);
        OnEngines::SetUp();
    }
    void TearDown() override { store::setBusyTimeout(5000); }
    // Runs `work(engine, who)` in two threads that start together.
    void together(const std::function<void(store::DBEngine&, int)>& work) {
        std::barrier start(2);
        std::vector<std::string> errors(2);
        auto run = [&](int who) {
            auto engine = db->newEngine();
            start.arrive_and_wait();
            errors[size_t(who)] = testing_support::thrown([&] { work(*engine, who); }).what;
        };
        std::thread other(run, 1);
        run(0);
        other.join();
        EXPECT_EQ(errors, std::vector<std::string>(2, "no error")) << "an operation failed";
    }

    // No key appears twice, and every synonym row has its reverse.
    void expectSound() {
        for (const char* t : {"T_Ord GROUP BY Ord", "T_Verdi GROUP BY Verdi", "T_OrdKategori GROUP BY Ord, Kategori",
                              "T_OrdVerdi GROUP BY Ord, Verdi", "T_OrdSynonym GROUP BY Ord, Synonym"})
            EXPECT_TRUE(db->rows(std::string("SELECT 1 FROM ") + t + " HAVING COUNT(*) > 1").empty()) << t;
        EXPECT_TRUE(db->rows("SELECT a.Ord FROM T_OrdSynonym a WHERE NOT EXISTS (SELECT 1 FROM T_OrdSynonym b "
                             "WHERE b.Ord = a.Synonym AND b.Synonym = a.Ord)")
                        .empty());
    }
};

constexpr int kItems = 40;

std::string w(int i) { return std::string("W").append(std::to_string(i)); }
std::string s(int i) { return std::string("S").append(std::to_string(i)); }

}  // namespace

TEST_P(ConcurrentOnEngines, SavingTheSameRowsStoresThemOnce) {
    db->addWord("KEEP");
    std::atomic<int> added{0};
    together([&](store::DBEngine& e, int who) {
        for (int i = 0; i < kItems; ++i) {
            // One saves the pair one way round, the other the other way.
            auto d = e.OpenDatabase();
            added += d.SaveWord(w(i));
            added += who == 0 ? d.SaveSynonymPair(w(i), s(i)) : d.SaveSynonymPair(s(i), w(i));
            added += d.SaveCategoryLink(w(i), "K");
            added += d.SaveValueLink(w(i), std::string("V").append(std::to_string(i % 3)));
        }
    });
    EXPECT_EQ(added, 4 * kItems);
    EXPECT_EQ(db->count("T_Ord"), 2 * kItems + 1);
    EXPECT_EQ(db->count("T_OrdSynonym"), 2 * kItems);
    EXPECT_EQ(db->count("T_OrdKategori"), kItems);
    EXPECT_EQ(db->count("T_OrdVerdi"), kItems);
    EXPECT_EQ(db->count("T_Verdi"), 3);
    expectSound();
}

TEST_P(ConcurrentOnEngines, ErasingTheSameRowsRemovesThemAndNothingElse) {
    {
        auto d = db->open();
        for (int i = 0; i < kItems; ++i) {
            d.SaveSynonymPair(w(i), s(i));
            d.SaveCategoryLink(w(i), "K");
            d.SaveValueLink(w(i), "V");
        }
        d.SaveSynonymPair("KEEP", "KEPT");
    }
    together([&](store::DBEngine& e, int) {
        for (int i = 0; i < kItems; ++i) {
            auto d = e.OpenDatabase();
            d.EraseSynonymPair(w(i), s(i));
            d.EraseCategoryLink(w(i), "K");
            d.EraseValueLink(w(i), "V");
            d.EraseWord(w(i));
        }
    });
    EXPECT_EQ(db->rows("SELECT Ord, Synonym FROM T_OrdSynonym ORDER BY rowid"),
              testing_support::Rows({{"KEPT", "KEEP"}, {"KEEP", "KEPT"}}));
    EXPECT_EQ(db->count("T_OrdKategori") + db->count("T_OrdVerdi"), 0);
    EXPECT_EQ(db->count("T_Ord"), kItems + 2);  // the synonyms' words and KEEP, KEPT
    expectSound();
}

TEST_P(ConcurrentOnEngines, SavesAndErasesInterleavedLeaveASoundDatabase) {
    together([&](store::DBEngine& e, int who) {
        for (int i = 0; i < 3 * kItems; ++i) {
            auto d = e.OpenDatabase();
            if ((i + who) % 2 == 0) {
                d.SaveSynonymPair(w(i % 7), s(i % 5));
                d.SaveValueLink(w(i % 7), "V");
            } else {
                d.EraseSynonymPair(s(i % 5), w(i % 7));
                d.EraseValueLink(w(i % 7), "V");
            }
        }
    });
    expectSound();
}

VELMORA_ON_ENGINES(ConcurrentOnEngines);
