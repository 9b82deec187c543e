// Thin RAII layer over the sqlite3 C API: a database handle, prepared
// statements with bound parameters, and row access by column name.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Every failure of the engine. `what()` names the file (or the server's
// database) and the engine's own message, so that a message box built from
// it tells the user everything.
class DbError : public std::runtime_error {
public:
    // Lost: the server went away; the next operation connects again.
    // Denied: the server's role may read but not change the words.
    enum class Kind { Engine, Missing, NotADatabase, JetFile, Busy, ReadOnly, Full, Lost, Denied };
    DbError(Kind kind, std::string file, std::string detail, int code = 0);
    // A database on a server: `label` already says which one and where.
    static DbError onServer(Kind kind, std::string label, std::string detail);
    Kind kind() const { return kind_; }
    const std::string& file() const { return file_; }
    const std::string& detail() const { return detail_; }
    int code() const { return code_; }

private:
    struct Described {};
    DbError(Described, Kind kind, std::string label, std::string detail);
    Kind kind_;
    std::string file_;
    std::string detail_;
    int code_;
};

class Stmt;

// How long an operation waits for another process's lock on the file before
// it gives up with a Busy error (default 5000 ms). Applies to connections
// opened afterwards.
void setBusyTimeout(int ms);
int busyTimeout();
// The most pages a connection may grow the file to (0: no limit). Lets tests
// act out a full disk.
void setPageLimit(int pages);

class Connection {
public:
    enum class Mode { ReadWrite, Create };
    // ReadWrite never creates the file: a missing file is an error.
    Connection(const std::string& path, Mode mode = Mode::ReadWrite);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;

    Stmt prepare(std::string_view sql);
    void exec(std::string_view sql);  // for fixed texts without values only
    int64_t lastInsertRowid() const;
    int changes() const;
    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_; }

    [[noreturn]] void fail(int rc, std::string_view what = {}) const;

private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

// A prepared statement. Values are bound by 1-based position.
class Stmt {
public:
    Stmt(const Connection& c, sqlite3_stmt* s);
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    Stmt(Stmt&&) noexcept;

    Stmt& bind(int pos, std::string_view text);
    Stmt& bind(int pos, int64_t value);
    Stmt& bindNull(int pos);
    // Steps once; true while a row is current.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    std::string text(int col) const;       // "" for NULL
    std::string text(std::string_view column) const;
    bool isNull(int col) const;
    int64_t integer(int col) const;
    int columnIndex(std::string_view column) const;
    int columns() const;

private:
    const Connection* conn_;
    sqlite3_stmt* st_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT; rolls back unless commit() was reached.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

}  // namespace store
