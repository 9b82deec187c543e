// Another program on the word database: a lookup or a save meets a file
// that another connection holds locked, and the file is lost between two
// lookups. (A change while an erase question is up is the editing test's.)
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "fixture.h"

using testing_support::Rows;

namespace {

class LockedFile : public MainWindowTest {
protected:
    void fill() override {
        db.addWord("CAT");
        db.synonym("CAT", "FELINE");
        db.link("CAT", "PETS");
    }
    void SetUp() override {
        store::setBusyTimeout(50);
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        store::setBusyTimeout(5000);
    }
    // Runs `what` while a second connection holds the file as the sqlite3
    // shell's BEGIN EXCLUSIVE does.
    void whileLocked(const std::function<void()>& what) {
        store::Connection other(db.file());
        other.exec("BEGIN EXCLUSIVE");
        what();
        other.exec("COMMIT");
    }
};

}  // namespace

TEST_F(LockedFile, ALookupOrSaveThatMeetsALockIsReportedAndTheProgramGoesOn) {
    // A keystroke, a pattern ("CA" and "CA*" both meet it) and a category search.
    whileLocked([&] { type(w().T_Ord, "c"); });
    EXPECT_TRUE(boxes.lastPrompt().contains("velmora.mdb (in ") && boxes.lastPrompt().contains("database is locked"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(w().T_Ord.Text(), "C");
    whileLocked([&] { type(w().T_Ord, "a*"); });
    w().C_Kategori.setText("PETS");
    whileLocked([&] { click(w().K_Sok_Kategori); });
    EXPECT_EQ(boxes.calls().size(), 4u);
    EXPECT_EQ(modal.shown(), 0);
    EXPECT_EQ(M::SokModus, "");

    // A save meets it too: nothing is written, and the same click saves once the file is free.
    w().T_Ord.setText("CAT");
    type(w().T_Verdi, "tom");
    whileLocked([&] { click(w().K_Lagre_Verdi); });
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The word database could not be changed, so nothing was written:") &&
                boxes.lastPrompt().contains("locked"))
        << boxes.lastPrompt().toStdString();
    EXPECT_EQ(db.count("T_OrdVerdi"), 0);
    click(w().K_Lagre_Verdi);
    EXPECT_EQ(db.rows("SELECT Ord, Verdi FROM T_OrdVerdi"), Rows({{"CAT", "TOM"}}));

    // The lock is gone: the same lookup works, nothing was lost, nothing more said.
    w().T_Ord.setText("");
    type(w().T_Ord, "cat");
    EXPECT_EQ(items(w().L_Synonymer) + items(w().L_Kategorier), QStringList({"FELINE", "PETS"}));
    EXPECT_EQ((std::vector<int>{int(boxes.calls().size()), quit.calls()}), std::vector<int>({5, 0}));
}

// The file removed, overwritten or made unreadable between two lookups: the
// next key still ends the program, with a message that names the file and
// says what became of it.
TEST_F(LockedFile, ALostFileStillEndsTheProgramSayingWhy) {
    namespace fs = std::filesystem;
    fs::copy_file(db.file(), "kept.mdb");
    const QString named = QString::fromStdString("velmora.mdb (in " + fs::current_path().string() + "): ");
    const std::pair<std::function<void()>, const char*> losses[] = {
        {[&] { fs::remove(db.file()); }, "the word database is gone"},
        {[&] { std::ofstream(db.file(), std::ios::binary) << std::string(4096, 'x'); },
         "this file is not a word database"},
        {[&] { fs::permissions(db.file(), fs::perms::none); }, "Velmora has no permission to read the word database"},
    };
    // Root reads every file whatever its permissions: the key is typed as another user.
    const passwd* nobody = ::getpwnam("nobody");
    const bool root = ::geteuid() == 0 && nobody;
    int ended = 0;
    for (const auto& [lose, says] : losses) {
        w().T_Ord.setText("CA");
        ASSERT_EQ(quit.calls(), ended);
        lose();
        if (root && ::seteuid(nobody->pw_uid) != 0) std::abort();
        type(w().T_Ord, "t");
        if (root && ::seteuid(0) != 0) std::abort();
        EXPECT_EQ(quit.calls(), ++ended);
        EXPECT_EQ(quit.lastStatus(), 1);
        EXPECT_TRUE(boxes.lastPrompt().startsWith(named + says)) << boxes.lastPrompt().toStdString();
        fs::remove(db.file());
        fs::copy_file("kept.mdb", db.file());
    }
}
