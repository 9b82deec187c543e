// What every test program shares, with no window: a temporary word
// database in a folder of its own (the current directory while the test
// runs), rows put in place and read back, and the command-line tool. The
// windows' tests have more in gui.h.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/sqlite.h"
#include "store/wordstore.h"

namespace testing_support {

using Rows = std::vector<std::vector<std::string>>;
using Words = std::vector<std::string>;

// PREFIX followed by the number i ("W7").
inline std::string numbered(const std::string& prefix, int i) { return prefix + std::to_string(i); }
// The synonym rows whose reverse row is missing: none while every pair is whole.
inline const char* const kHalfPairs =
    "SELECT a.Ord, a.Synonym FROM T_OrdSynonym a WHERE NOT EXISTS "
    "(SELECT 1 FROM T_OrdSynonym b WHERE b.Ord = a.Synonym AND b.Synonym = a.Ord)";

// Every row of a query, each column as text ("<null>" for NULL); values are
// bound in order (use ? in the text).
Rows queryRows(store::Connection& c, const std::string& sql, const std::vector<std::string>& values = {});
Rows fileRows(const std::string& file, const std::string& sql, const std::vector<std::string>& values = {});

// A word database with every table for one test, on either engine: rows
// put in place and read back, and the database as the program opens it.
class RowStore {
public:
    virtual ~RowStore() = default;
    // SQL with values bound in order ("?"); "rowid" means the stored order
    // on either engine.
    virtual void exec(const std::string& sql, const std::vector<std::string>& values = {}) = 0;
    virtual Rows rows(const std::string& sql, const std::vector<std::string>& values = {}) = 0;
    // An operation's database, as the windows open it.
    virtual store::Database open() = 0;
    // What DBEngine's connection string is (the file's path for SQLite).
    virtual std::string where() const = 0;
    // An engine object of its own, as a second process (or thread) has.
    virtual std::unique_ptr<store::DBEngine> newEngine() = 0;
    int count(const std::string& table);

    void addWord(const std::string& ord, const char* notat = nullptr);
    void addCategory(const std::string& kategori);
    void link(const std::string& ord, const std::string& kategori);
    void synonym(const std::string& ord, const std::string& synonym);  // one row
    void value(const std::string& ord, const std::string& verdi);      // T_OrdVerdi row
    // The words PREFIXfrom ... PREFIX(to - 1), each followed by `suffix`.
    void addWords(const std::string& prefix, int from, int to, const std::string& suffix = "");
};

// The kind and message of the DbError that `f` throws ("no error" when none).
struct Thrown {
    store::DbError::Kind kind{};
    std::string what = "no error";
};
Thrown thrown(const std::function<void()>& f);

// Runs `body` in a child process with its return value as the exit status
// (4 when it throws); the child never returns into the test program.
pid_t spawn(const std::function<int()>& body);
// A child's exit status, or 100 + the signal that ended it.
int waitFor(pid_t pid);

// A fresh folder with an empty velmora.mdb (all six tables), made the
// current directory for the test's life; the old directory comes back after.
class TempDb : public RowStore {
public:
    TempDb();
    ~TempDb() override;
    TempDb(const TempDb&) = delete;
    TempDb& operator=(const TempDb&) = delete;
    const std::filesystem::path& dir() const { return dir_; }
    std::string file() const { return (dir_ / "velmora.mdb").string(); }
    void exec(const std::string& sql, const std::vector<std::string>& values = {}) override {
        fileRows(file(), sql, values);
    }
    Rows rows(const std::string& sql, const std::vector<std::string>& values = {}) override {
        return fileRows(file(), sql, values);
    }
    store::Database open() override { return store::Database(file()); }
    std::string where() const override { return file(); }
    std::unique_ptr<store::DBEngine> newEngine() override { return std::make_unique<store::DBEngine>(); }

private:
    std::filesystem::path dir_;
    std::filesystem::path old_;
};

// Path of a built tool (velmora-mkdb) and of the source tree.
std::string binaryPath(const std::string& name);
std::string sourcePath(const std::string& rel);

// Runs velmora-mkdb with `args` (shell words) in the current directory;
// returns its exit status, and what it wrote to `output`.
// `runner` goes before the program, e.g. to run it as another user.
int mkdb(const std::string& args, std::string* output = nullptr, const std::string& runner = "");

void writeFile(const std::string& path, const std::string& text);

}  // namespace testing_support
