// The word database on a PostgreSQL server: the connections kept from one
// operation to the next, the schema, and the copy of a SQLite word database
// onto a server. The SQL that is PostgreSQL's own lives in pg_words.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/engine.h"
#include "store/pg.h"
#include "store/sqlite.h"

namespace store {

// Connecting anew for every operation would cost a keystroke more than the
// lookup itself, so the engine object keeps the connections that operations
// give back, as long as the server keeps them open. A connection the server
// closed is dropped, and the next operation connects again.
class PgPool {
public:
    // Checks the connection string (no password in it); connects later.
    explicit PgPool(std::string conninfo);
    std::unique_ptr<pg::Connection> take();
    void give(std::unique_ptr<pg::Connection> c);
    const std::string& label() const { return label_; }
    const std::string& conninfo() const { return conninfo_; }

private:
    std::string conninfo_;
    std::string label_;
    std::vector<std::unique_ptr<pg::Connection>> idle_;
};

// One operation's word database on the server, on a connection of `pool`.
std::unique_ptr<Engine> OpenOnServer(const std::shared_ptr<PgPool>& pool);

// The tables and their indexes, inside the caller's transaction, in an
// empty database. Each table has an `id` that keeps the order rows were stored in; texts
// compare and sort by their bytes, as in a SQLite word database.
void CreatePgTables(pg::Connection& c);
void CreatePgIndexes(pg::Connection& c);
// True when the database holds none of the six tables.
bool PgDatabaseEmpty(pg::Connection& c);

// The pattern of a lookup (with its trailing "*") as a LIKE pattern: "*"
// and "?" become "%" and "_", and "%", "_" and "\" stand for themselves.
std::string LikePattern(const std::string& pattern);

// Rows of each table, in the order of Tables().
using TableCounts = std::vector<long>;

// Copies the SQLite word database `from` into the empty database of `to`:
// tables, rows in their stored order, then the indexes, all in one
// transaction, so a failure leaves the server's database empty. A row that
// repeats the key of an earlier one (a word, a value, a link) is left out,
// as the server keeps each once; the counts returned tell.
// `progress` gets the table being copied and the share done, 0 to 1.
TableCounts CopyToServer(Connection& from, pg::Connection& to,
                         const std::function<void(const std::string&, double)>& progress = {});
TableCounts CountRows(pg::Connection& c);
TableCounts CountRows(Connection& c);

}  // namespace store
