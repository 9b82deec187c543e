// Two composers on one word database at the same moment, on both engines:
// each on its own connection, saving and erasing the same rows. Every save
// is stored once and reported added to exactly one of them; erases remove
// what they named and nothing else; every synonym pair stays whole.
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

    // Runs `work(database, who)` in two threads that start together, each
    // step on a database of its own engine.
    void together(const std::function<void(store::Database&, int, int)>& work) {
        std::barrier start(2);
        std::vector<std::string> errors(2);
        auto run = [&](int who) {
            auto engine = db->newEngine();
            start.arrive_and_wait();
            errors[size_t(who)] = testing_support::thrown([&] {
                                      for (int i = 0; i < kItems; ++i) {
                                          auto d = engine->OpenDatabase();
                                          work(d, who, i);
                                      }
                                  }).what;
        };
        std::thread other(run, 1);
        run(0);
        other.join();
        EXPECT_EQ(errors, std::vector<std::string>(2, "no error")) << "an operation failed";
        // No key twice, and no synonym row without its reverse.
        for (const char* t : {"T_Ord GROUP BY Ord", "T_Verdi GROUP BY Verdi", "T_OrdKategori GROUP BY Ord, Kategori",
                              "T_OrdVerdi GROUP BY Ord, Verdi", "T_OrdSynonym GROUP BY Ord, Synonym"})
            EXPECT_TRUE(db->rows(std::string("SELECT 1 FROM ") + t + " HAVING COUNT(*) > 1").empty()) << t;
        EXPECT_TRUE(db->rows(testing_support::kHalfPairs).empty());
    }
    // The rows of each table the saves write to.
    std::string counts() {
        std::string out;
        for (const char* t : {"T_Ord", "T_OrdKategori", "T_OrdVerdi", "T_Verdi", "T_OrdSynonym"})
            out += std::to_string(db->count(t)) + " ";
        return out;
    }
    static constexpr int kItems = 40;
};

const auto n = testing_support::numbered;

}  // namespace

TEST_P(ConcurrentOnEngines, SavingAndErasingTheSameRowsKeepsEachOnceAndEveryPairWhole) {
    db->open().SaveSynonymPair("KEEP", "KEPT");
    std::atomic<int> added{0};
    together([&](store::Database& d, int who, int i) {
        added += d.SaveWord(n("W", i));
        // One saves the pair one way round, the other the other way.
        added += who == 0 ? d.SaveSynonymPair(n("W", i), n("S", i)) : d.SaveSynonymPair(n("S", i), n("W", i));
        added += d.SaveCategoryLink(n("W", i), "K");
        added += d.SaveValueLink(n("W", i), n("V", i % 3));
    });
    EXPECT_EQ(std::to_string(added) + " added, " + counts(), "160 added, 82 40 40 3 82 ");  // 4 * kItems added
    // Both erase all of it; in between, one saves pairs that the other
    // erases, named the other way round.
    together([&](store::Database& d, int who, int i) {
        d.EraseSynonymPair(n("W", i), n("S", i));
        d.EraseCategoryLink(n("W", i), "K");
        d.EraseValueLink(n("W", i), n("V", i % 3));
        d.EraseWord(n("W", i));
        if ((i + who) % 2 == 0)
            d.SaveSynonymPair(n("X", i % 7), n("Y", i % 5));
        else
            d.EraseSynonymPair(n("Y", i % 5), n("X", i % 7));
    });
    EXPECT_EQ(db->rows("SELECT Ord, Synonym FROM T_OrdSynonym WHERE Ord LIKE 'KE%' ORDER BY rowid"),
              testing_support::Rows({{"KEPT", "KEEP"}, {"KEEP", "KEPT"}}));
    EXPECT_EQ(counts().substr(0, 9), "54 0 0 3 ");  // the S words, KEEP, KEPT, X0 ... X6, Y0 ... Y4; values
}

VELMORA_ON_ENGINES(ConcurrentOnEngines);
