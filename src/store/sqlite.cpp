#include "store/sqlite.h"

#include "store/wildcard.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

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
        case SQLITE_TOOBIG:
            return DbError::Kind::TooLong;
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

struct Unusable {
    DbError::Kind kind;
    std::string text;
};

// Why the file at `path` cannot serve as the word database, in words;
// nothing when it looks like one (the engine's own message is then the best
// there is). `readHead` also opens the file and reads its first bytes,
// which only pays once the engine has refused it.
std::optional<Unusable> unusable(const std::string& path, bool readHead) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == EACCES)
            return Unusable{DbError::Kind::Missing,
                            "Velmora has no permission to look into the folder that holds the word "
                            "database. Give yourself access to the folder"};
        if (err == ENOENT || err == ENOTDIR)
            return Unusable{DbError::Kind::Missing,
                            "the word database is gone: there is no file of that name in that folder "
                            "(it was deleted, moved or renamed, or never made). Put it back, or make a "
                            "new one with velmora-mkdb"};
        return Unusable{DbError::Kind::Missing,
                        std::string("the word database cannot be reached (") + std::strerror(err) + ")"};
    }
    if (S_ISDIR(st.st_mode))
        return Unusable{DbError::Kind::NotADatabase,
                        "this is a folder, not a word database. Move or rename the folder and put the word "
                        "database in its place (velmora-mkdb makes a new one)"};
    if (S_ISREG(st.st_mode) && st.st_size == 0)
        return Unusable{DbError::Kind::NotADatabase,
                        "the file is empty (0 bytes), so it holds no words. Put the word database back in its "
                        "place, or make a new one with velmora-mkdb"};
    if (!readHead) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == EACCES || err == EPERM)
            return Unusable{DbError::Kind::Missing,
                            "Velmora has no permission to read the word database (its permissions or "
                            "its owner were changed). Give yourself read and write permission on the "
                            "file (chmod u+rw)"};
        return Unusable{DbError::Kind::Missing,
                        std::string("the word database cannot be opened (") + std::strerror(err) + ")"};
    }
    static const char kHead[16] = "SQLite format 3";  // and its closing NUL: 16 bytes
    char head[sizeof kHead] = {};
    const ssize_t n = ::read(fd, head, sizeof head);
    ::close(fd);
    if (n != ssize_t(sizeof head) || std::memcmp(head, kHead, sizeof head) != 0)
        return Unusable{DbError::Kind::NotADatabase,
                        "this file is not a word database: it holds something else (it was "
                        "overwritten or replaced). Put the word database back in its place, or make a "
                        "new one with velmora-mkdb"};
    return std::nullopt;
}

// Calls the predicate kept as the function's user data.
void callPredicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto fn = *static_cast<TextPredicate*>(sqlite3_user_data(ctx));
    const unsigned char* a = sqlite3_value_text(argv[0]);
    const int alen = sqlite3_value_bytes(argv[0]);
    const unsigned char* b = sqlite3_value_text(argv[1]);
    const int blen = sqlite3_value_bytes(argv[1]);
    if (!a || !b) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    const std::string_view av(reinterpret_cast<const char*>(a), size_t(alen));
    const std::string_view bv(reinterpret_cast<const char*>(b), size_t(blen));
    sqlite3_result_int(ctx, fn(av, bv) ? 1 : 0);
}

}  // namespace

namespace detail {

void CloseDb::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
void FinalizeStmt::operator()(sqlite3_stmt* st) const noexcept { sqlite3_finalize(st); }

void Handle::fail(int rc, std::string_view what) const {
    std::string msg = db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc);
    if (kindOf(rc) == DbError::Kind::TooLong && db)
        msg = "the word is too long to store: this file keeps a text of at most " +
              std::to_string(sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, -1)) + " bytes";
    if (!what.empty()) msg = std::string(what) + ": " + msg;
    throw DbError(kindOf(rc), path, msg, rc);
}

}  // namespace detail

DbError::DbError(Kind kind, std::string file, std::string detail, int code)
    : std::runtime_error(describeFile(file) + ": " + detail),
      kind_(kind),
      file_(std::move(file)),
      detail_(std::move(detail)),
      code_(code) {}

DbError::DbError(Described, Kind kind, std::string label, std::string detail)
    : std::runtime_error(label + ": " + detail),
      kind_(kind),
      file_(std::move(label)),
      detail_(std::move(detail)),
      code_(0) {}

DbError DbError::onServer(Kind kind, std::string label, std::string detail) {
    return DbError(Described{}, kind, std::move(label), std::move(detail));
}

int busyTimeout() { return busyTimeoutMs; }

void setBusyTimeout(int ms) { busyTimeoutMs = ms; }
void setPageLimit(int pages) { pageLimit = pages; }

Connection::Connection(const std::string& path, Mode mode) : h_(std::make_shared<detail::Handle>()) {
    h_->path = path;
    int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    // The engine would say "unable to open", "no such table" or "file is
    // not a database" for these; the user is told what is wrong in words.
    if (mode == Mode::ReadWrite)
        if (auto why = unusable(path, false)) throw DbError(why->kind, path, why->text, SQLITE_CANTOPEN);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    h_->db.reset(db);  // closed on every way out, failure included
    if (rc != SQLITE_OK) {
        std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        h_->db.reset();
        if (auto why = unusable(path, true)) throw DbError(why->kind, path, why->text, rc);
        throw DbError(kindOf(rc), path, msg, rc);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyTimeoutMs);
    definePredicate("velmora_match", wildcardMatch);
    // Reading the schema is what tells a database from any other file.
    char* err = nullptr;
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        h_->db.reset();
        if (isJetFile(path))
            throw DbError(DbError::Kind::JetFile, path,
                          "this is a Jet/Access word database, and Velmora reads SQLite word databases. "
                          "Convert it with mdbtools and velmora-mkdb:\n"
                          "  mkdir old; for t in T_Ord T_Kategori T_OrdKategori T_OrdSynonym T_Verdi T_OrdVerdi; "
                          "do mdb-export velmora.mdb $t > old/$t.csv; done\n"
                          "  mv velmora.mdb velmora-jet.mdb; velmora-mkdb velmora.mdb --import old",
                          rc);
        if (auto why = unusable(path, true)) throw DbError(why->kind, path, why->text, rc);
        throw DbError(kindOf(rc), path, msg, rc);
    }
    if (pageLimit > 0) exec("PRAGMA max_page_count = " + std::to_string(pageLimit));
}

void Connection::definePredicate(const char* name, TextPredicate fn) {
    auto* held = new TextPredicate(fn);
    const int rc =
        sqlite3_create_function_v2(handle(), name, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, held, callPredicate, nullptr,
                                   nullptr, [](void* p) { delete static_cast<TextPredicate*>(p); });
    if (rc != SQLITE_OK) fail(rc, name);  // the engine has freed `held` already
}

Stmt Connection::prepare(std::string_view sql) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(handle(), sql.data(), int(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    return Stmt(h_, st);
}

void Connection::exec(std::string_view sql) {
    std::string s(sql);
    char* err = nullptr;
    int rc = sqlite3_exec(handle(), s.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw DbError(kindOf(rc), path(), msg, rc);
    }
}

int Connection::changes() const { return sqlite3_changes(handle()); }

Stmt::Stmt(std::shared_ptr<detail::Handle> h, sqlite3_stmt* s) : h_(std::move(h)), st_(s) {}

Stmt& Stmt::bind(int pos, std::string_view text) {
    int rc = sqlite3_bind_text(st_.get(), pos, text.data(), int(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) h_->fail(rc);
    return *this;
}
Stmt& Stmt::bind(int pos, int64_t value) {
    int rc = sqlite3_bind_int64(st_.get(), pos, value);
    if (rc != SQLITE_OK) h_->fail(rc);
    return *this;
}
Stmt& Stmt::bindNull(int pos) {
    int rc = sqlite3_bind_null(st_.get(), pos);
    if (rc != SQLITE_OK) h_->fail(rc);
    return *this;
}

bool Stmt::step() {
    row_ = false;
    int rc = sqlite3_step(st_.get());
    if (rc == SQLITE_ROW) return row_ = true;
    if (rc == SQLITE_DONE) return false;
    h_->fail(rc);
}

void Stmt::run() {
    while (step()) {}
}

void Stmt::reset() {
    row_ = false;
    const int rc = sqlite3_reset(st_.get());
    sqlite3_clear_bindings(st_.get());
    if (rc != SQLITE_OK) h_->fail(rc);
}

void Stmt::checkColumn(int col) const {
    if (!row_) throw DbError(DbError::Kind::Engine, h_->path, "no row to read column " + std::to_string(col) + " of");
    if (col < 0 || col >= columns()) throw DbError(DbError::Kind::Engine, h_->path, "no column " + std::to_string(col));
}

std::string Stmt::text(int col) const {
    checkColumn(col);
    const unsigned char* t = sqlite3_column_text(st_.get(), col);
    if (!t) return {};
    return std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(st_.get(), col)));
}

std::string Stmt::text(std::string_view column) const { return text(columnIndex(column)); }

bool Stmt::isNull(int col) const {
    checkColumn(col);
    return sqlite3_column_type(st_.get(), col) == SQLITE_NULL;
}
int64_t Stmt::integer(int col) const {
    checkColumn(col);
    return sqlite3_column_int64(st_.get(), col);
}
int Stmt::columns() const { return sqlite3_column_count(st_.get()); }

int Stmt::columnIndex(std::string_view column) const {
    if (names_.empty()) {
        const int n = columns();
        for (int i = 0; i < n; ++i) names_.emplace(sqlite3_column_name(st_.get(), i), i);
    }
    if (auto it = names_.find(column); it != names_.end()) return it->second;
    throw DbError(DbError::Kind::Engine, h_->path, "no column " + std::string(column));
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
