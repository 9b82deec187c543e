// The main window on a word database on a PostgreSQL server: a reader is
// told the database is read-only for them before any question; a lost
// connection is a message, not the end; lookups see the server as it is now.
#include <atomic>
#include <chrono>
#include <thread>

#include "engines.h"
#include "fixture.h"
#include "store/pg.h"

namespace {

class WindowOnServer : public WindowTest {
protected:
    std::unique_ptr<testing_support::PgTestDb> db;
    std::unique_ptr<testing_support::TestRoles> roles;

    void SetUp() override {
        NEEDS_SERVER();
        db = std::make_unique<testing_support::PgTestDb>();
        roles = std::make_unique<testing_support::TestRoles>(*db);
        db->open().SaveSynonymPair("BIG", "LARGE");
        db->addCategory("SIZE");
    }
};

}  // namespace

// A reader's patterns list the server's words as they are now.
TEST_F(WindowOnServer, AReaderLooksUpAndIsToldEditsAreNotForThem) {
    start(roles->reader());
    EXPECT_EQ(w().C_Kategori.ListCount(), 1);
    for (const char* word : {"ÅS", "ØY", "ÆRE", "BAG"}) db->addWord(word);
    auto listed = inResults();
    type(w().T_Ord, "?");
    EXPECT_EQ(*listed, QStringList({"BAG", "BIG", "LARGE", "ÆRE", "ØY", "ÅS"}));
    db->addWord("BOG");  // another composer's word is there at the next lookup
    listed = inResults();
    w().T_Ord.setText("");
    type(w().T_Ord, "b?");
    EXPECT_EQ(*listed, QStringList({"BAG", "BIG", "BOG"}));
    w().T_Ord.setText("");
    type(w().T_Ord, "big");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 1);
    type(w().T_Synonym, "huge");
    click(w().K_Lagre_Synonym);
    // Told before being asked whether to erase: no question comes up.
    w().L_Synonymer.setListIndex(0);
    click(w().K_Slett_Synonym);
    click(w().K_Slett_Ord);
    w().T_Ord.setText("NEW");
    click(w().K_Lagre_Ord);
    EXPECT_EQ(
        boxes.prompts(),
        QStringList(4, "The word database " + QString::fromStdString(store::pg::CheckConnectionString(db->where())) +
                           " is read-only for you, so nothing was changed."));
    EXPECT_EQ(quit.calls(), 0);
}

TEST_F(WindowOnServer, ALostConnectionMidLookupIsAMessageAndTheNextKeyConnectsAgain) {
    start(db->where());
    // Another session keeps every reader out of T_Ord; the keystroke's lookup
    // waits, and its server process is ended under it.
    store::pg::Connection locker(db->where());
    locker.exec("BEGIN");
    locker.exec("LOCK TABLE T_Ord IN ACCESS EXCLUSIVE MODE");
    std::atomic<bool> done{false};
    std::thread killer([&] {
        store::pg::Connection admin(testing_support::PgAdmin());
        while (!done && admin.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = $1 "
                                   "AND wait_event_type = 'Lock'",
                                   {db->name()})
                                .rows() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    type(w().T_Ord, "b");
    done = true;
    killer.join();
    locker.exec("ROLLBACK");
    type(w().T_Ord, "ig");
    EXPECT_EQ(w().L_Synonymer.ListCount(), 1);
    ASSERT_EQ(boxes.calls().size(), 1u);
    EXPECT_TRUE(
        boxes.lastPrompt().startsWith("The connection to the word database was lost, so the lookup could not be made."))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(quit.calls(), 0);
}
