#include "store/pg.h"

#include <libpq-fe.h>
#include <sys/socket.h>

#include <cstring>

namespace store::pg {

namespace {

std::string trimmed(const char* msg) {
    std::string s = msg ? msg : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

// The server's error codes (SQLSTATE) sorted into what the windows tell apart.
DbError::Kind kindOf(const std::string& state) {
    if (state.rfind("08", 0) == 0 || state == "57P01" || state == "57P02" || state == "57P03")
        return DbError::Kind::Lost;
    if (state == "42501" || state == "25006") return DbError::Kind::Denied;
    if (state == "40001" || state == "40P01" || state == "55P03" || state == "57014") return DbError::Kind::Busy;
    if (state == "53100") return DbError::Kind::Full;
    if (state == "54000") return DbError::Kind::TooLong;
    if (state == "3D000") return DbError::Kind::Missing;
    if (state == "42P01") return DbError::Kind::NotADatabase;
    return DbError::Kind::Engine;
}

struct Options {
    struct Free {
        void operator()(PQconninfoOption* o) const { PQconninfoFree(o); }
    };
    std::unique_ptr<PQconninfoOption, Free> opts;
    std::string error;

    explicit Options(const std::string& conninfo) {
        char* err = nullptr;
        opts.reset(PQconninfoParse(conninfo.c_str(), &err));
        if (err) {
            error = trimmed(err);
            PQfreemem(err);
        }
    }
    const char* get(const char* key) const {
        for (const PQconninfoOption* o = opts.get(); o && o->keyword; ++o)
            if (std::strcmp(o->keyword, key) == 0 && o->val && *o->val) return o->val;
        return nullptr;
    }
};

// A bare name is the database's name, as psql takes it.
std::string expanded(const std::string& conninfo) {
    if (conninfo.find('=') != std::string::npos || conninfo.rfind("postgresql://", 0) == 0 ||
        conninfo.rfind("postgres://", 0) == 0)
        return conninfo;
    std::string quoted = "dbname='";
    for (char ch : conninfo) {
        if (ch == '\\' || ch == '\'') quoted += '\\';
        quoted += ch;
    }
    return quoted + "'";
}

std::string labelOf(const char* db, const char* host, const char* port) {
    std::string label = db && *db ? db : "the default database";
    std::string where = host && *host ? host : "the local server";
    if (port && *port && std::strcmp(port, "5432") != 0) where.append(":").append(port);
    return label.append(" on ").append(where);
}

}  // namespace

// ---------------------------------------------------------------- Result

void Result::Clear::operator()(pg_result* r) const { PQclear(r); }

Result::Result(pg_result* r) : r_(r) {}
int Result::rows() const { return PQntuples(r_.get()); }
int Result::columns() const { return PQnfields(r_.get()); }
std::string Result::text(int row, int col) const {
    if (PQgetisnull(r_.get(), row, col)) return {};
    return std::string(PQgetvalue(r_.get(), row, col), size_t(PQgetlength(r_.get(), row, col)));
}
bool Result::isNull(int row, int col) const { return PQgetisnull(r_.get(), row, col) != 0; }
int64_t Result::integer(int row, int col) const { return std::stoll(PQgetvalue(r_.get(), row, col)); }
int Result::column(std::string_view name) const { return PQfnumber(r_.get(), std::string(name).c_str()); }
long Result::affected() const {
    const char* n = PQcmdTuples(r_.get());
    return n && *n ? std::stol(n) : 0;
}

// ---------------------------------------------------------------- Connection

void Connection::Finish::operator()(pg_conn* c) const { PQfinish(c); }

std::string CheckConnectionString(const std::string& conninfo) {
    Options o(expanded(conninfo));
    if (!o.opts)
        throw DbError::onServer(DbError::Kind::Engine, "the database given with --database",
                                "the connection string cannot be read" + (o.error.empty() ? "" : ": " + o.error));
    std::string label = labelOf(o.get("dbname"), o.get("host"), o.get("port"));
    if (o.get("password"))
        throw DbError::onServer(DbError::Kind::Engine, label,
                                "the connection string holds a password, which would show in the list of "
                                "processes; put it in ~/.pgpass (or PGPASSWORD) and leave it out of the string");
    return label;
}

Connection::Connection(const std::string& conninfo) {
    label_ = CheckConnectionString(conninfo);
    // The caller's string comes after the defaults and overrides them; the
    // words are UTF-8 whatever the server's or the terminal's encoding is.
    const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname", "client_encoding", nullptr};
    const std::string full = expanded(conninfo);
    const char* vals[] = {"10", "velmora", full.c_str(), "UTF8", nullptr};
    c_.reset(PQconnectdbParams(keys, vals, 1));
    if (!c_) throw DbError::onServer(DbError::Kind::Engine, label_, "out of memory");
    label_ = labelOf(PQdb(c_.get()), PQhost(c_.get()), PQport(c_.get()));
    // The server's notices (and its goodbye to an idle connection) are not
    // printed: failures reach the user as errors, in a message box.
    PQsetNoticeProcessor(
        c_.get(), [](void*, const char*) {}, nullptr);
    if (PQstatus(c_.get()) != CONNECTION_OK) {
        const std::string msg = trimmed(PQerrorMessage(c_.get()));
        // A database that is not there, and a server that refuses the role,
        // are told apart from a server that cannot be reached.
        auto says = [&msg](const char* text) { return msg.find(text) != std::string::npos; };
        DbError::Kind kind = DbError::Kind::Lost;
        if (says("database") && says("does not exist"))
            kind = DbError::Kind::Missing;
        else if (says("permission denied"))
            kind = DbError::Kind::Denied;
        else if (says("authentication") || says("password") || (says("role") && says("does not exist")))
            kind = DbError::Kind::Engine;
        throw DbError::onServer(kind, label_, msg);
    }
    // A lock held elsewhere is waited for as long as on a file, then given up.
    exec("SELECT set_config('lock_timeout', $1, false)", {std::to_string(busyTimeout()) + "ms"});
}

Result Connection::exec(std::string_view sql, const Params& params) {
    const std::string text(sql);
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const Param& p : params) values.push_back(p ? p->c_str() : nullptr);
    PGresult* r = PQexecParams(c_.get(), text.c_str(), int(values.size()), nullptr, values.data(), nullptr, nullptr, 0);
    Result res(r);
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) fail(r);
    return res;
}

void Connection::script(std::string_view sql) {
    // PQexec stops at the first failing statement and yields its result.
    PGresult* r = PQexec(c_.get(), std::string(sql).c_str());
    Result res(r);
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) fail(r);
}

bool Connection::usable() {
    if (!c_ || PQstatus(c_.get()) != CONNECTION_OK) return false;
    // Reads what the server sent meanwhile without waiting: a server that
    // shut down said goodbye and closed the socket.
    if (!PQconsumeInput(c_.get()) || PQstatus(c_.get()) != CONNECTION_OK) return false;
    char byte;
    const ssize_t n = ::recv(PQsocket(c_.get()), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n == 0) return false;  // closed by the server
    return PQtransactionStatus(c_.get()) == PQTRANS_IDLE;
}

void Connection::fail(const pg_result* r, std::string_view what) const {
    std::string msg = trimmed(r ? PQresultErrorMessage(r) : PQerrorMessage(c_.get()));
    if (msg.empty()) msg = trimmed(PQerrorMessage(c_.get()));
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    DbError::Kind kind = kindOf(state ? state : "");
    if (PQstatus(c_.get()) == CONNECTION_BAD) kind = DbError::Kind::Lost;
    if (kind == DbError::Kind::Lost) msg = "the connection to the server was lost (" + msg + ")";
    // The server's indexes take a text of some 2,700 bytes at most (on its
    // usual 8 kB pages); its own message names an index row instead.
    if (kind == DbError::Kind::TooLong)
        msg = "the word is too long to store: the server keeps a text of at most about 2,700 bytes";
    if (kind == DbError::Kind::NotADatabase)
        msg = "this database holds no word tables (" + msg + "); velmora-mkdb --database makes them";
    if (!what.empty()) msg = std::string(what) + ": " + msg;
    throw DbError::onServer(kind, label_, msg);
}

// ---------------------------------------------------------------- Copy

Copy::Copy(Connection& c, std::string_view sql) : c_(c) {
    PGresult* r = PQexec(c_.handle(), std::string(sql).c_str());
    Result res(r);
    if (!r || PQresultStatus(r) != PGRES_COPY_IN) c_.fail(r);
}

Copy::~Copy() {
    // Given up half-way: the server drops what it got, and the caller's
    // transaction rolls back.
    if (!ended_ && PQstatus(c_.handle()) == CONNECTION_OK) {
        PQputCopyEnd(c_.handle(), "given up");
        while (PGresult* r = PQgetResult(c_.handle())) PQclear(r);
    }
}

void Copy::row(const Params& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) buf_ += '\t';
        const Param& v = fields[i];
        if (!v) {
            buf_ += "\\N";
            continue;
        }
        for (char ch : *v) {
            switch (ch) {
                case '\\':
                    buf_ += "\\\\";
                    break;
                case '\t':
                    buf_ += "\\t";
                    break;
                case '\n':
                    buf_ += "\\n";
                    break;
                case '\r':
                    buf_ += "\\r";
                    break;
                default:
                    buf_ += ch;
            }
        }
    }
    buf_ += '\n';
    if (buf_.size() >= (1u << 20)) flush();
}

void Copy::flush() {
    if (!buf_.empty() && PQputCopyData(c_.handle(), buf_.data(), int(buf_.size())) != 1) c_.fail(nullptr);
    buf_.clear();
}

void Copy::end() {
    flush();
    ended_ = true;
    if (PQputCopyEnd(c_.handle(), nullptr) != 1) c_.fail(nullptr);
    PGresult* r = PQgetResult(c_.handle());
    Result res(r);
    while (PGresult* more = PQgetResult(c_.handle())) PQclear(more);
    if (!r || PQresultStatus(r) != PGRES_COMMAND_OK) c_.fail(r);
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& c) : c_(c) { c_.exec("BEGIN"); }

Transaction::~Transaction() {
    if (done_ || PQstatus(c_.handle()) != CONNECTION_OK) return;
    PGresult* r = PQexec(c_.handle(), "ROLLBACK");
    PQclear(r);
}

void Transaction::commit() {
    c_.exec("COMMIT");
    done_ = true;
}

}  // namespace store::pg
