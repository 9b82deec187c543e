#include "store/sqlite.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace store {

namespace {

int busyTimeoutMs = 5000;
int pageLimit = 0;

std::string describeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path p(path);
    fs::path abs = fs::absolute(p, ec);
    std::string folder = ec ? std::string(".") : abs.parent_path().string();
    return p.filename().string() + " (in " + folder + ")";
}

DbError::Kind kindOf(int rc) {
    switch (rc & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DbError::Kind::Busy;
        case SQLITE_READONLY:
            return DbError::Kind::ReadOnly;
        case SQLITE_FULL:
            return DbError::Kind::Full;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return DbError::Kind::NotADatabase;
        case SQLITE_CANTOPEN:
            return DbError::Kind::Missing;
        default:
            return DbError::Kind::Engine;
    }
}

// An old word database from the Jet engine says so in its first bytes.
bool isJetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[32] = {};
    in.read(head, sizeof head);
    if (in.gcount() < 20) return false;
    return std::memcmp(head + 4, "Standard Jet DB", 15) == 0 || std::memcmp(head + 4, "Standard ACE DB", 15) == 0;
}

// One code point of UTF-8 from p (never past end); returns its length.
size_t utf8Len(const unsigned char* p, const unsigned char* end) {
    size_t n = 1;
    if (*p >= 0xF0)
        n = 4;
    else if (*p >= 0xE0)
        n = 3;
    else if (*p >= 0xC0)
        n = 2;
    // A broken sequence ends at the first byte that does not continue it,
    // so that it never swallows a "*" or "?" after it.
    size_t k = 1;
    while (k < n && p + k < end && (p[k] & 0xC0) == 0x80) ++k;
    return k;
}

bool matchFrom(const unsigned char* pat, const unsigned char* pend, const unsigned char* txt,
               const unsigned char* tend) {
    // Iterative wildcard match with one backtrack point for the last "*".
    const unsigned char* starPat = nullptr;
    const unsigned char* starTxt = nullptr;
    while (txt < tend) {
        if (pat < pend && *pat == '*') {
            while (pat < pend && *pat == '*') ++pat;
            if (pat == pend) return true;
            starPat = pat;
            starTxt = txt;
            continue;
        }
        if (pat < pend && *pat == '?') {
            ++pat;
            txt += utf8Len(txt, tend);
            continue;
        }
        if (pat < pend) {
            size_t n = utf8Len(pat, pend);
            size_t m = utf8Len(txt, tend);
            if (n == m && std::memcmp(pat, txt, n) == 0) {
                pat += n;
                txt += m;
                continue;
            }
        }
        if (!starPat) return false;
        starTxt += utf8Len(starTxt, tend);
        txt = starTxt;
        pat = starPat;
    }
    while (pat < pend && *pat == '*') ++pat;
    return pat == pend;
}

void sqlMatch(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const unsigned char* pat = sqlite3_value_text(argv[0]);
    int plen = sqlite3_value_bytes(argv[0]);
    const unsigned char* txt = sqlite3_value_text(argv[1]);
    int tlen = sqlite3_value_bytes(argv[1]);
    if (!pat || !txt) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, matchFrom(pat, pat + plen, txt, txt + tlen) ? 1 : 0);
}

}  // namespace

bool wildcardMatch(const std::string& pattern, const std::string& text) {
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    auto t = reinterpret_cast<const unsigned char*>(text.data());
    return matchFrom(p, p + pattern.size(), t, t + text.size());
}

bool matchesWildcards(std::string_view pattern, std::string_view text) {
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    auto t = reinterpret_cast<const unsigned char*>(text.data());
    return matchFrom(p, p + pattern.size(), t, t + text.size());
}

DbError::DbError(Kind kind, std::string file, std::string detail, int code)
    : std::runtime_error(describeFile(file) + ": " + detail), kind_(kind), file_(std::move(file)),
      detail_(std::move(detail)), code_(code) {}

void setBusyTimeout(int ms) { busyTimeoutMs = ms; }
void setPageLimit(int pages) { pageLimit = pages; }

Connection::Connection(const std::string& path, Mode mode) : path_(path) {
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (mode == Mode::ReadWrite) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::file_status st = fs::status(path, ec);
        if (!fs::exists(st))
            throw DbError(DbError::Kind::Missing, path, "the word database is missing (no such file)", SQLITE_CANTOPEN);
        // The engine would say "unable to open" or "no such table" here.
        if (fs::is_directory(st))
            throw DbError(DbError::Kind::NotADatabase, path,
                          "this is a folder, not a word database. Move or rename the folder and put the word "
                          "database in its place (velmora-mkdb makes a new one)",
                          SQLITE_CANTOPEN);
        if (fs::is_regular_file(st) && fs::file_size(path, ec) == 0 && !ec)
            throw DbError(DbError::Kind::NotADatabase, path,
                          "the file is empty (0 bytes), so it holds no words. Put the word database back in its "
                          "place, or make a new one with velmora-mkdb",
                          SQLITE_NOTADB);
    }
    int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(kindOf(rc), path, msg, rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    sqlite3_create_function(db_, "velmora_match", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, sqlMatch, nullptr,
                            nullptr);
    // Reading the schema is what tells a database from any other file.
    char* err = nullptr;
    rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        sqlite3_close(db_);
        db_ = nullptr;
        if (isJetFile(path))
            throw DbError(DbError::Kind::JetFile, path,
                          "this is a Jet/Access word database, and Velmora reads SQLite word databases. "
                          "Convert it with mdbtools and velmora-mkdb:\n"
                          "  mkdir old; for t in T_Ord T_Kategori T_OrdKategori T_OrdSynonym T_Verdi T_OrdVerdi; "
                          "do mdb-export velmora.mdb $t > old/$t.csv; done\n"
                          "  mv velmora.mdb velmora-jet.mdb; velmora-mkdb velmora.mdb --import old",
                          rc);
        throw DbError(kindOf(rc), path, msg, rc);
    }
    if (pageLimit > 0) exec("PRAGMA max_page_count = " + std::to_string(pageLimit));
}

Connection::~Connection() {
    if (db_) sqlite3_close_v2(db_);
}

Connection::Connection(Connection&& o) noexcept : db_(o.db_), path_(std::move(o.path_)) { o.db_ = nullptr; }

Connection& Connection::operator=(Connection&& o) noexcept {
    if (this != &o) {
        if (db_) sqlite3_close_v2(db_);
        db_ = o.db_;
        path_ = std::move(o.path_);
        o.db_ = nullptr;
    }
    return *this;
}

void Connection::fail(int rc, std::string_view what) const {
    std::string msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    if (!what.empty()) msg = std::string(what) + ": " + msg;
    throw DbError(kindOf(rc), path_, msg, rc);
}

Stmt Connection::prepare(std::string_view sql) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql.data(), int(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    return Stmt(*this, st);
}

void Connection::exec(std::string_view sql) {
    std::string s(sql);
    char* err = nullptr;
    int rc = sqlite3_exec(db_, s.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw DbError(kindOf(rc), path_, msg, rc);
    }
}

int64_t Connection::lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
int Connection::changes() const { return sqlite3_changes(db_); }

Stmt::Stmt(const Connection& c, sqlite3_stmt* s) : conn_(&c), st_(s) {}
Stmt::~Stmt() {
    if (st_) sqlite3_finalize(st_);
}
Stmt::Stmt(Stmt&& o) noexcept : conn_(o.conn_), st_(o.st_) { o.st_ = nullptr; }

Stmt& Stmt::bind(int pos, std::string_view text) {
    int rc = sqlite3_bind_text(st_, pos, text.data(), int(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) conn_->fail(rc);
    return *this;
}
Stmt& Stmt::bind(int pos, int64_t value) {
    int rc = sqlite3_bind_int64(st_, pos, value);
    if (rc != SQLITE_OK) conn_->fail(rc);
    return *this;
}
Stmt& Stmt::bindNull(int pos) {
    int rc = sqlite3_bind_null(st_, pos);
    if (rc != SQLITE_OK) conn_->fail(rc);
    return *this;
}

bool Stmt::step() {
    int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    conn_->fail(rc);
}

void Stmt::run() {
    while (step()) {
    }
}

void Stmt::reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

std::string Stmt::text(int col) const {
    const unsigned char* t = sqlite3_column_text(st_, col);
    if (!t) return {};
    return std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(st_, col)));
}

std::string Stmt::text(std::string_view column) const { return text(columnIndex(column)); }

bool Stmt::isNull(int col) const { return sqlite3_column_type(st_, col) == SQLITE_NULL; }
int64_t Stmt::integer(int col) const { return sqlite3_column_int64(st_, col); }
int Stmt::columns() const { return sqlite3_column_count(st_); }

int Stmt::columnIndex(std::string_view column) const {
    int n = sqlite3_column_count(st_);
    for (int i = 0; i < n; ++i)
        if (column == sqlite3_column_name(st_, i)) return i;
    throw DbError(DbError::Kind::Engine, conn_->path(), "no column " + std::string(column));
}

Transaction::Transaction(Connection& c) : c_(c) { c_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (!done_) sqlite3_exec(c_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    c_.exec("COMMIT");
    done_ = true;
}

}  // namespace store
