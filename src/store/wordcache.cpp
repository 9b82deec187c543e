#include "store/wordcache.h"

#include <malloc.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "store/order.h"
#include "store/wildcard.h"
#include "store/wordindex.h"
#include "store/wordstore.h"

namespace store {

namespace {

// The longest run of the pattern without a wildcard: every match holds
// those bytes in a row, so a search of the whole block for them skips the
// words that cannot match.
std::string_view longestLiteral(std::string_view pattern) {
    std::string_view best;
    size_t i = 0;
    while (i < pattern.size()) {
        size_t j = pattern.find_first_of("*?", i);
        if (j == std::string_view::npos) j = pattern.size();
        if (j - i > best.size()) best = pattern.substr(i, j - i);
        i = j + 1;
    }
    return best;
}

// Runs `sql` on a connection whose read transaction may be open; errors
// are of no interest on the way out of a failed read.
void quietly(Connection& c, const char* sql) { sqlite3_exec(c.handle(), sql, nullptr, nullptr, nullptr); }

}  // namespace

std::shared_ptr<const WordSet> WordSet::Read(Connection& c) {
    auto set = std::make_shared<WordSet>();
    {
        // Straight from the engine's buffers: a std::string a row would
        // double the time of a read that already is the slow part.
        const char* sql = "SELECT Ord FROM T_Ord WHERE Ord IS NOT NULL ORDER BY Ord";
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(c.handle(), sql, -1, &raw, nullptr);
        if (rc != SQLITE_OK) c.fail(rc, "reading the words");
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            const char* t = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
            const int n = sqlite3_column_bytes(raw, 0);
            set->text_.append(t ? t : "", size_t(n));
            set->starts_.push_back(uint32_t(set->text_.size()));
        }
        sqlite3_finalize(raw);
        if (rc != SQLITE_DONE) c.fail(rc, "reading the words");
    }
    // The index yields the bytes' order; the alphabetical one differs only
    // where Æ, Ø or Å meet, so most word lists are in order already.
    const WordSet& w = *set;
    bool sorted = true;
    for (size_t i = 1; i < w.size() && sorted; ++i) sorted = !WordLess(w[i], w[i - 1]);
    if (sorted) return set;
    std::vector<uint32_t> order(w.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return WordLess(w[a], w[b]); });
    auto out = std::make_shared<WordSet>();
    out->text_.reserve(w.text_.size());
    out->starts_.reserve(w.starts_.size());
    for (uint32_t i : order) {
        out->text_.append(w[i]);
        out->starts_.push_back(uint32_t(out->text_.size()));
    }
    return out;
}

std::shared_ptr<const WordSet> WordSet::Of(std::vector<std::string> words) {
    std::stable_sort(words.begin(), words.end(), WordLess);
    auto set = std::make_shared<WordSet>();
    set->starts_.reserve(words.size() + 1);
    for (const std::string& w : words) {
        set->text_.append(w);
        set->starts_.push_back(uint32_t(set->text_.size()));
    }
    return set;
}

std::vector<uint32_t> WordSet::Find(const std::string& pattern) const {
    std::vector<uint32_t> out;
    const std::string_view run = longestLiteral(pattern);
    if (run.size() < 2) {
        // A run of one letter is in most words: trying each word is quicker.
        // When the pattern starts with k "?" and a plain letter, a word whose
        // first k bytes are plain characters has that letter as byte k or
        // cannot match, which rules out most words at a glance.
        const size_t k = pattern.find_first_not_of('?');
        const bool glance =
            k != std::string::npos && pattern[k] != '*' && static_cast<unsigned char>(pattern[k]) < 0x80;
        for (size_t i = 0, n = size(); i < n; ++i) {
            const std::string_view w = (*this)[i];
            if (glance) {
                if (w.size() <= k) continue;  // fewer than k + 1 characters
                if (w[k] != pattern[k] &&
                    std::all_of(w.begin(), w.begin() + std::ptrdiff_t(k), [](char c) { return (c & 0x80) == 0; }))
                    continue;
            }
            if (wildcardMatch(pattern, w)) out.push_back(uint32_t(i));
        }
        return out;
    }
    const char* base = text_.data();
    const size_t total = text_.size();
    size_t pos = 0;
    while (pos < total) {
        const void* hit = memmem(base + pos, total - pos, run.data(), run.size());
        if (!hit) break;
        const size_t at = size_t(static_cast<const char*>(hit) - base);
        // The word the hit starts in: the last one starting at or before it.
        const size_t w = size_t(std::upper_bound(starts_.begin(), starts_.end(), uint32_t(at)) - starts_.begin()) - 1;
        if (at + run.size() > starts_[w + 1]) {
            pos = at + 1;  // runs on into the next word
            continue;
        }
        if (wildcardMatch(pattern, (*this)[w])) out.push_back(uint32_t(w));
        pos = starts_[w + 1];
    }
    return out;
}

bool WordSet::MatchesEvery(const std::string& pattern) const {
    // Only a pattern of wildcards alone, with a "*": it asks for at least
    // as many characters as it has "?".
    if (pattern.find_first_not_of("*?") != std::string::npos || pattern.find('*') == std::string::npos) return false;
    const size_t least = size_t(std::count(pattern.begin(), pattern.end(), '?'));
    for (size_t i = 0, n = size(); i < n; ++i) {
        const size_t bytes = starts_[i + 1] - starts_[i];
        if (bytes >= 4 * least) continue;  // no character takes more than four bytes
        if (!wildcardMatch(pattern, (*this)[i])) return false;
    }
    return true;
}

std::vector<std::string> Matches::strings() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
    return out;
}

WordCache::~WordCache() { finishPreload(); }

void WordCache::Preload(const std::string& path) {
    finishPreload();
    loader_ = std::thread([this, path] {
        try {
            read(path);
        } catch (...) {
            failed_ = std::current_exception();
        }
    });
}

void WordCache::finishPreload() {
    if (loader_.joinable()) loader_.join();
}

WordCache::Stamp WordCache::stamp() {
    Stamp s;
    Stmt st = watch_->prepare("PRAGMA data_version");
    if (st.step()) s.dataVersion = st.integer(0);
    // Read through the engine's own file handle: opening and closing another
    // one would drop the engine's locks on the file.
    sqlite3_file* f = nullptr;
    if (sqlite3_file_control(watch_->handle(), "main", SQLITE_FCNTL_FILE_POINTER, &f) == SQLITE_OK && f &&
        f->pMethods) {
        unsigned char b[4] = {};
        if (f->pMethods->xRead(f, b, 4, 24) == SQLITE_OK)
            s.changeCounter = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    }
    struct stat sb {};
    if (::stat(path_.c_str(), &sb) == 0) {
        s.device = sb.st_dev;
        s.inode = sb.st_ino;
    }
    return s;
}

void WordCache::read(const std::string& path) {
    words_.reset();
    index_.reset();
    watch_.reset();
    // Opened anew each time, so that a file put in place of the old one is
    // the one read.
    watch_ = std::make_unique<Connection>(path);
    path_ = path;
    watch_->exec("BEGIN");
    try {
        Stamp s = stamp();
        std::shared_ptr<const WordSet> set = WordSet::Read(*watch_);
        watch_->exec("COMMIT");
        words_ = std::move(set);
        stamp_ = s;
        ++reads_;
        // Reading and sorting left large blocks free that the allocator
        // would keep: give them back.
        malloc_trim(0);
    } catch (...) {
        quietly(*watch_, "ROLLBACK");
        throw;
    }
}

std::shared_ptr<const WordSet> WordCache::Words(const std::string& path) {
    finishPreload();
    if (failed_ || !words_ || !watch_ || path != path_) {
        failed_ = nullptr;
        read(path);
        return words_;
    }
    Stamp now;
    try {
        watch_->exec("BEGIN");
        now = stamp();
        watch_->exec("COMMIT");
    } catch (const DbError&) {
        quietly(*watch_, "ROLLBACK");
        throw;
    }
    if (!(now == stamp_)) read(path);
    return words_;
}

std::shared_ptr<const WordIndex> WordCache::Index(Database& db) {
    if (db.path().empty())
        return WordIndex::Build(WordSet::Of(db.PatternLookup("")), db.Ranks(), db.WordsWithSynonyms());
    std::shared_ptr<const WordSet> set = Words(db.path());
    if (!index_ || index_->words() != set) index_ = WordIndex::Build(set, db.Ranks(), db.WordsWithSynonyms());
    return index_;
}

Matches WordCache::PatternLookup(Database& db, const std::string& pattern) {
    if (!pattern.empty() && pattern[0] != '*' && pattern[0] != '?') return Matches(db.PatternLookup(pattern));
    // A server's trigram index answers these itself, from the rows as they
    // are at that moment, whoever changed them.
    if (db.path().empty()) return Matches(db.PatternLookup(pattern));
    std::shared_ptr<const WordSet> set;
    try {
        set = Words(db.path());
    } catch (const DbError& e) {
        // A lock held too long would only keep the query waiting as long
        // again; anything else the query reports in its own words.
        if (e.kind() == DbError::Kind::Busy) throw;
        return Matches(db.PatternLookup(pattern));
    }
    const std::string full = pattern + "*";
    if (set->MatchesEvery(full)) return Matches(std::move(set));
    std::vector<uint32_t> rows = set->Find(full);
    return Matches(std::move(set), std::move(rows));
}

}  // namespace store
