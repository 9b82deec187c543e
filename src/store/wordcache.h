// Every word of T_Ord held in memory, in alphabetical order, for the pattern
// lookups that no index can narrow ("?", "*ING"): matching a block of memory
// takes milliseconds where reading the table takes a large part of a second.
// The words are read off the user interface thread once the main window is
// up, and checked against the file before every use, so a lookup still sees
// the file as it is at that moment, whoever changed it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "store/sqlite.h"

namespace store {

class Database;
class WordIndex;

// The words of T_Ord at one moment: one block of text, the words back to
// back, in the order of CompareWords.
class WordSet {
public:
    size_t size() const { return starts_.size() - 1; }
    std::string_view operator[](size_t i) const {
        return std::string_view(text_.data() + starts_[i], starts_[i + 1] - starts_[i]);
    }
    // Reads every word through c (one read of the index of T_Ord).
    static std::shared_ptr<const WordSet> Read(Connection& c);
    // The words given, put in order.
    static std::shared_ptr<const WordSet> Of(std::vector<std::string> words);
    // Positions of the words that match `pattern` (the whole pattern, as
    // wildcardMatch takes it), in order.
    std::vector<uint32_t> Find(const std::string& pattern) const;
    // Whether every word matches `pattern`, as "?" does on most files: then
    // the matches need no list of their own.
    bool MatchesEvery(const std::string& pattern) const;

private:
    std::string text_;
    std::vector<uint32_t> starts_{0};
};

// The words a lookup found, in the order to list them: either positions in
// a WordSet (no word copied) or words of their own, from a query.
class Matches {
public:
    Matches() = default;
    explicit Matches(std::vector<std::string> words) : own_(std::move(words)) {}
    Matches(std::shared_ptr<const WordSet> set, std::vector<uint32_t> rows)
        : set_(std::move(set)), rows_(std::move(rows)) {}
    // Every word of the set.
    explicit Matches(std::shared_ptr<const WordSet> set) : set_(std::move(set)), all_(true) {}
    size_t size() const { return set_ ? (all_ ? set_->size() : rows_.size()) : own_.size(); }
    bool empty() const { return size() == 0; }
    std::string_view operator[](size_t i) const {
        return set_ ? (*set_)[all_ ? i : rows_[i]] : std::string_view(own_[i]);
    }
    std::vector<std::string> strings() const;

private:
    std::vector<std::string> own_;
    std::shared_ptr<const WordSet> set_;
    std::vector<uint32_t> rows_;
    bool all_ = false;
};

// The words of one word database file, kept up to date. A connection of its
// own stays open on the file between lookups only to tell whether anything
// changed: it never writes and holds no lock between its reads.
class WordCache {
public:
    WordCache() = default;
    ~WordCache();
    WordCache(const WordCache&) = delete;
    WordCache& operator=(const WordCache&) = delete;

    // Starts reading the words of the file at `path` on a thread of its own.
    void Preload(const std::string& path);
    // The words of the file at `path` as it is now: waits for a read under
    // way, and reads again when the file changed or was replaced since.
    // Throws DbError when the file cannot be read.
    std::shared_ptr<const WordSet> Words(const std::string& path);
    // Words matching pattern + "*", in alphabetical order, as the results
    // window lists them. A pattern that begins with a literal text takes its
    // rows from the index through `db`; any other is matched in memory.
    Matches PatternLookup(Database& db, const std::string& pattern);
    // The words arranged for the composing tools (wordindex.h), as the
    // database holds them now: built when first asked for the file's words
    // held here (so that the preload and the first pattern search never
    // wait for it), and on a server from what it yields,
    // read again once it is half a minute old (each keystroke of a search
    // would otherwise read every word). Throws DbError when the words
    // cannot be read.
    std::shared_ptr<const WordIndex> Index(Database& db);
    // How many times the words were read from a file (for tests).
    int reads() const { return reads_; }

private:
    // What identifies the file's contents: the file itself (a file put in
    // its place is another one), the engine's count of commits seen from
    // other connections, and the change counter in the file's header.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        int64_t dataVersion = -1;
        uint32_t changeCounter = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp();  // within a read transaction of watch_
    void read(const std::string& path);
    void finishPreload();

    std::thread loader_;
    std::exception_ptr failed_;
    std::string path_;
    std::unique_ptr<Connection> watch_;
    std::shared_ptr<const WordSet> words_;
    std::shared_ptr<const WordIndex> index_;
    std::shared_ptr<const WordIndex> serverIndex_;
    std::chrono::steady_clock::time_point serverRead_;
    Stamp stamp_;
    int reads_ = 0;
};

}  // namespace store
