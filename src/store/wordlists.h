// Word lists from outside: the shipped demo list, MyThes thesaurus files,
// and CSV copies of the six tables (backup, restore, and the files that
// mdb-export writes from an old Jet word database).
#pragma once

#include <cstdint>
#include <functional>
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
// ISO-8859-1 bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

struct ImportCounts {
    long words = 0;       // distinct T_Ord words
    long pairs = 0;       // synonym pairs (each stored in both directions)
    long categories = 0;  // distinct T_Kategori names
    long links = 0;       // word–category links
    long values = 0;      // word–value links
    long skipped = 0;     // entries and synonyms the word field cannot type
};

// Collects words, pairs, categories and values, each once, and writes them
// to an empty word database in one go.
class WordListBuilder {
public:
    void addWord(const std::string& w);
    void addPair(const std::string& a, const std::string& b);
    void addCategory(const std::string& w, const std::string& kategori);
    void addValue(const std::string& w, const std::string& verdi);
    void skip() { ++skipped_; }

    // Reads the demo list: "WORD | SYN, SYN | VALUE, VALUE | CATEGORY, ...".
    void readDemo(const std::string& path);
    // Reads a MyThes .dat file. `progress` gets the share done, 0 to 1.
    void readThesaurus(const std::string& path, const std::function<void(double)>& progress = {});
    void readThesaurusText(std::string_view text, const std::string& name,
                           const std::function<void(double)>& progress = {});

    ImportCounts counts() const;
    // Writes everything inside one transaction of `c`.
    void write(Connection& c) const;

private:
    int id(const std::string& w);

    std::vector<std::string> words_;
    std::unordered_map<std::string, int> ids_;
    std::vector<std::pair<int, int>> pairs_;
    std::unordered_set<uint64_t> pairSeen_;
    std::vector<std::string> categories_;
    std::unordered_map<std::string, int> categoryIds_;
    std::vector<std::pair<int, int>> links_;
    std::unordered_set<uint64_t> linkSeen_;
    std::vector<std::pair<int, std::string>> values_;
    std::unordered_set<std::string> valueSeen_;
    long skipped_ = 0;
};

// --- CSV (RFC 4180). An unquoted empty field is "no value" (NULL); a
// quoted empty field is the empty text.
using CsvField = std::optional<std::string>;
using CsvRow = std::vector<CsvField>;
struct CsvRecord {
    long line;  // where the record starts, from 1
    CsvRow fields;
};
std::vector<CsvRecord> ParseCsv(std::string_view text, const std::string& name);
std::string CsvLine(const CsvRow& row);

// The six tables and their columns, in the order they are written.
struct TableColumns {
    const char* table;
    std::vector<const char*> columns;
    size_t required;  // the first `required` columns must be in the header
};
const std::vector<TableColumns>& Tables();

// Writes DIR/<table>.csv for each table (DIR is created if missing).
void ExportCsv(Connection& c, const std::string& dir);
// Fills an empty database from DIR/<table>.csv; every file must be there.
void ImportCsv(Connection& c, const std::string& dir);

// Builds a new database at `path` with `fill`, in a temporary file that is
// renamed to `path` only when everything succeeded, so a failure leaves no
// half-built database behind. Refuses an existing `path`.
void BuildDatabase(const std::string& path, const std::function<void(Connection&)>& fill);

std::string ReadFile(const std::string& path);

}  // namespace store
