// Thin RAII layer over libpq for a word database on a PostgreSQL server: a
// connection, results, every value sent as a parameter, and the server's
// failures turned into the store's typed DbError.
//
// Passwords never pass through here as text of ours: libpq takes them from
// ~/.pgpass or PGPASSWORD, and a connection string that holds one is refused
// before anything is sent, so that it shows up in no message.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/sqlite.h"

struct pg_conn;
struct pg_result;

namespace store::pg {

// A parameter: a text, or no value (NULL).
using Param = std::optional<std::string>;
using Params = std::vector<Param>;

class Result {
public:
    explicit Result(pg_result* r);
    int rows() const;
    int columns() const;
    std::string text(int row, int col) const;  // "" for NULL
    bool isNull(int row, int col) const;
    int64_t integer(int row, int col) const;
    int column(std::string_view name) const;  // -1 when there is none
    long affected() const;                    // rows an INSERT/UPDATE/DELETE touched

private:
    struct Clear {
        void operator()(pg_result* r) const;
    };
    std::unique_ptr<pg_result, Clear> r_;
};

// Checks a connection string: refuses one that holds a password, and one
// that libpq cannot read. Returns a label for messages ("velmora on host").
std::string CheckConnectionString(const std::string& conninfo);

class Connection {
public:
    // Connects at once; a server that cannot be reached is a DbError (Lost).
    explicit Connection(const std::string& conninfo);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&&) noexcept = default;
    ~Connection() = default;

    // One statement; $1, $2, ... take the parameters in order.
    Result exec(std::string_view sql, const Params& params = {});
    // Fixed texts of several statements, without values (the schema).
    void script(std::string_view sql);

    // False once the server has closed the connection; checked without
    // waiting before the connection is lent to an operation.
    bool usable();
    // "velmora on /run/postgresql", for messages: never the password.
    const std::string& label() const { return label_; }
    pg_conn* handle() const { return c_.get(); }

    [[noreturn]] void fail(const pg_result* r, std::string_view what = {}) const;

private:
    struct Finish {
        void operator()(pg_conn* c) const;
    };
    std::unique_ptr<pg_conn, Finish> c_;
    std::string label_;
};

// COPY ... FROM STDIN: rows go to the server in large pieces, for filling a
// new database. end() finishes it; without end() the server drops it all.
class Copy {
public:
    Copy(Connection& c, std::string_view sql);
    ~Copy();
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;
    void row(const Params& fields);
    void end();

private:
    void flush();
    Connection& c_;
    std::string buf_;
    bool ended_ = false;
};

// BEGIN ... COMMIT; rolls back unless commit() was reached.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

}  // namespace store::pg
