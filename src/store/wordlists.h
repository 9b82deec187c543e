// Filling a word database in bulk: the rows that the readers of outside
// data (src/sources) collect, written in one go, the six tables row by row
// for copies, and the atomic build of a new database file.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "store/sqlite.h"

namespace store {

// A fault in an input file, with the file and (when known) the line.
class ImportError : public std::runtime_error {
public:
    ImportError(const std::string& file, long line, const std::string& what);
    const std::string& file() const { return file_; }
    long line() const { return line_; }

private:
    std::string file_;
    long line_;
};

// The text as the word field would hold it: letters a–z and å, æ, ø made
// capitals; nullopt when it holds anything the field cannot type (the
// alphabet A–Z, Å, Æ, Ø, digits, "-", "." and the space).
std::optional<std::string> Typeable(std::string_view utf8);

struct ImportCounts {
    long words = 0;                       // distinct T_Ord words
    long pairs = 0;                       // synonym pairs (each stored in both directions)
    long categories = 0;                  // distinct T_Kategori names
    long links = 0;                       // word–category links
    long values = 0;                      // word–value links
    long skipped = 0;                     // entries left out, each for one of the reasons below
    std::map<std::string, long> reasons;  // why, and how many
};

// The table that holds each word's commonness (Ord, Rang: 1 the most common).
inline constexpr const char* kRankTable = "T_Rang";

// Why a word or pair marked offensive was left out.
inline constexpr const char* kOffensive = "offensive sense";

// A sense of a word: its part of speech (0 noun, 1 verb, 2 adjective, 3
// adverb) and its number in the dictionary's order, from 1; 0 unknown.
constexpr int SenseCode(int partOfSpeech, int number) { return number > 0 ? partOfSpeech * 4096 + number : 0; }

// Collects words, pairs, categories and values, each once, and writes them
// to an empty word database in one go. A word's values and synonyms are
// written common first, so the first candidate a fill takes is a word a
// solver knows: synonyms by the rank of the sense they come from, then by
// the synonym's commonness; values by commonness; ties in the order added.
class WordListBuilder {
public:
    // A `listed` word comes from a plain word list and is marked as a
    // word that a link save added (Notat "X").
    void addWord(const std::string& w, bool listed = false);
    // `senseA` is the sense of `a` the pair stands for (SenseCode), `senseB` that of `b`.
    void addPair(const std::string& a, const std::string& b, int senseA = 0, int senseB = 0);
    void addCategory(const std::string& w, const std::string& kategori);
    // The value is a word too, so that pattern search can offer it. Values
    // of a later `tier` come after the others, however common (a name's
    // distinctive word, MILK of the Milk River, after the rivers' names).
    void addValue(const std::string& w, const std::string& verdi, int tier = 0);
    // Counts an entry left out, and why ("cannot be typed", ...).
    void skip(const std::string& reason, long n = 1);

    // A word offensive in every sense: never a value, synonym or category
    // member; a pair of words that share only offensive senses: never a
    // synonym pair. What these leave out is counted as kOffensive.
    void block(const std::string& w);
    void blockPair(const std::string& a, const std::string& b);
    bool blocked(const std::string& a, const std::string& b) const;
    // The commonness of a word: 1 the most common; the smallest rank given stays.
    void setRank(const std::string& w, int rank);
    // The rank given to `w`, 0 none; `ranked` once any rank is given.
    int rankOf(const std::string& w) const;
    bool ranked() const { return !ranks_.empty(); }
    // A word's senses (SenseCode), most frequent first.
    void setSenseOrder(const std::string& w, std::vector<int> senses);

    ImportCounts counts() const;
    // Writes everything inside one transaction of `c`.
    void write(Connection& c) const;

private:
    struct Pair {
        int a, b, senseA, senseB;
    };
    int id(const std::string& w);
    int rank(int word) const;
    int senseRank(int word, int sense) const;

    std::vector<std::string> words_;
    std::vector<bool> listed_;
    std::unordered_map<std::string, int> ids_;
    std::vector<Pair> pairs_;
    std::unordered_map<uint64_t, size_t> pairAt_;
    std::unordered_set<std::string> blockedWords_;
    std::unordered_set<std::string> blockedPairs_;
    std::unordered_map<std::string, int> ranks_;
    std::unordered_map<std::string, std::vector<int>> senseOrder_;
    std::vector<std::string> categories_;
    std::unordered_map<std::string, int> categoryIds_;
    std::vector<std::pair<int, int>> links_;
    std::unordered_set<uint64_t> linkSeen_;
    std::vector<std::pair<int, std::string>> values_;
    std::vector<int> valueTiers_;
    std::unordered_map<std::string, size_t> valueAt_;
    long skipped_ = 0;
    std::map<std::string, long> reasons_;
};

// The six tables and their columns, in the order they are written.
struct TableColumns {
    const char* table;
    std::vector<const char*> columns;
    size_t required;  // the first `required` columns must be in the header
};
const std::vector<TableColumns>& Tables();

// A field of a table row: nullopt is NULL.
using Field = std::optional<std::string>;
using FieldRow = std::vector<Field>;

// Calls `row` for each row of `t` in the order it was written, its fields
// in the order of `t.columns`.
void ForEachRow(Connection& c, const TableColumns& t, const std::function<void(const FieldRow&)>& row);

// Rows for one table: each row holds the fields of `columns` (indexes into
// `table->columns`), in that order; the other columns stay NULL.
struct TableRows {
    const TableColumns* table;
    std::vector<size_t> columns;
    std::vector<FieldRow> rows;
};
// Appends every table's rows inside one transaction of `c`.
void WriteTables(Connection& c, const std::vector<TableRows>& tables);

// Throws ImportError unless a new database can be made at `path`: it is
// there already, or its folder is missing, a file, or not ours to write in.
void CheckNewDatabase(const std::string& path);

// Builds a new database at `path` with `fill`, in a temporary file that is
// renamed to `path` only when everything succeeded, so a failure leaves no
// half-built database behind. Refuses an existing `path`.
void BuildDatabase(const std::string& path, const std::function<void(Connection&)>& fill);

}  // namespace store
