// Thin RAII layer over the sqlite3 C API: a database handle, prepared
// statements with bound parameters, and row access by column name. Every
// call that reaches the engine throws DbError when the engine refuses it;
// the other calls throw nothing.
#pragma once

#include "store/dberror.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Stmt;

// How long an operation waits for another process's lock on the file before
// it gives up with a Busy error (default 5000 ms). Applies to connections
// opened afterwards.
void setBusyTimeout(int ms);
int busyTimeout();
// The most pages a connection may grow the file to (0: no limit). Lets tests
// act out a full disk.
void setPageLimit(int pages);

namespace detail {
struct CloseDb {
    void operator()(sqlite3* db) const noexcept;
};
struct FinalizeStmt {
    void operator()(sqlite3_stmt* st) const noexcept;
};
// The open handle and the file's name, shared by a connection and its
// statements: a statement keeps them alive, so that moving or closing the
// connection never leaves a statement pointing at nothing.
struct Handle {
    std::unique_ptr<sqlite3, CloseDb> db;
    std::string path;
    [[noreturn]] void fail(int rc, std::string_view what = {}) const;
};
}  // namespace detail

// A predicate on two texts, callable from SQL (NULL arguments: false).
using TextPredicate = bool (*)(std::string_view a, std::string_view b);

class Connection {
public:
    enum class Mode { ReadWrite, Create };
    // ReadWrite never creates the file: a missing file is an error.
    // Throws DbError (Missing, NotADatabase, JetFile, Busy, ...).
    Connection(const std::string& path, Mode mode = Mode::ReadWrite);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    // A moved-from connection may only be destroyed or assigned to.
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&&) noexcept = default;
    ~Connection() = default;

    // Throws DbError when the text does not compile.
    Stmt prepare(std::string_view sql);
    // For fixed texts without values only; throws DbError.
    void exec(std::string_view sql);
    // Makes `fn` callable from SQL as name(a, b); throws DbError.
    void definePredicate(const char* name, TextPredicate fn);
    int changes() const;
    const std::string& path() const { return h_->path; }
    sqlite3* handle() const { return h_->db.get(); }

    // Throws the DbError for an engine result `rc`.
    [[noreturn]] void fail(int rc, std::string_view what = {}) const { h_->fail(rc, what); }

private:
    std::shared_ptr<detail::Handle> h_;
};

// A prepared statement. Values are bound by 1-based position. A statement
// may outlive its connection object (it keeps the handle open).
class Stmt {
public:
    Stmt(std::shared_ptr<detail::Handle> h, sqlite3_stmt* s);
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    Stmt(Stmt&&) noexcept = default;
    Stmt& operator=(Stmt&&) noexcept = default;
    ~Stmt() = default;

    // Each throws DbError when the engine refuses the value or position.
    Stmt& bind(int pos, std::string_view text);
    Stmt& bind(int pos, int64_t value);
    Stmt& bindNull(int pos);
    // Steps once; true while a row is current. Throws DbError (Busy when
    // another connection holds the lock past the timeout).
    bool step();
    // Runs a statement that returns no rows; throws as step() does.
    void run();
    // Makes the statement ready to run again, without values; throws
    // DbError when the last step failed.
    void reset();

    // Column access on the current row; each throws DbError (Engine) when
    // no row is current or the column does not exist.
    std::string text(int col) const;  // "" for NULL
    std::string text(std::string_view column) const;
    bool isNull(int col) const;
    int64_t integer(int col) const;
    // The index of a named column (looked up once per statement); throws
    // DbError when there is none.
    int columnIndex(std::string_view column) const;
    int columns() const;

private:
    void checkColumn(int col) const;

    std::shared_ptr<detail::Handle> h_;  // declared first: outlives st_
    std::unique_ptr<sqlite3_stmt, detail::FinalizeStmt> st_;
    bool row_ = false;
    mutable std::map<std::string, int, std::less<>> names_;
};

// BEGIN IMMEDIATE ... COMMIT; rolls back unless commit() was reached. Bound
// to one connection: neither copied nor moved.
class Transaction {
public:
    // Throws DbError (Busy when another connection is writing).
    explicit Transaction(Connection& c);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    // Throws DbError (Busy when a reader holds the file past the timeout);
    // the transaction is then rolled back and nothing is written.
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

}  // namespace store
