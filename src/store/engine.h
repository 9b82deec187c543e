// The operations on one open word database, whatever engine holds it: a
// SQLite file or a database on a PostgreSQL server. The windows reach them
// through store::Database and never learn which engine answers; each engine
// keeps the SQL that is its own in one place (wordstore.cpp, pg_words.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace store {

using RowId = std::optional<int64_t>;

// Each operation means what store::Database documents for it.
class Engine {
public:
    virtual ~Engine() = default;

    virtual std::vector<std::string> Categories() = 0;

    virtual bool WordExists(const std::string& ord) = 0;
    virtual std::vector<std::string> PatternLookup(const std::string& pattern) = 0;
    virtual bool SaveWord(const std::string& ord) = 0;
    virtual RowId FindWordRow(const std::string& ord) = 0;
    virtual bool EraseWord(const std::string& ord) = 0;

    virtual std::vector<std::string> Synonyms(const std::string& ord, bool byLength) = 0;
    virtual std::vector<std::string> Values(const std::string& ord, bool byLength) = 0;
    virtual std::vector<std::string> CategoriesOf(const std::string& ord) = 0;
    virtual std::vector<std::string> WordsOfCategory(const std::string& kategori) = 0;

    virtual bool SaveCategoryLink(const std::string& ord, const std::string& kategori) = 0;
    virtual RowId FindCategoryLink(const std::string& ord, const std::string& kategori) = 0;
    virtual bool EraseCategoryLink(const std::string& ord, const std::string& kategori) = 0;

    virtual bool SaveSynonymPair(const std::string& ord, const std::string& synonym) = 0;
    virtual RowId FindSynonymRow(const std::string& ord, const std::string& synonym) = 0;
    virtual int EraseSynonymPair(const std::string& ord, const std::string& synonym) = 0;

    virtual bool SaveValueLink(const std::string& ord, const std::string& verdi) = 0;
    virtual RowId FindValueLink(const std::string& ord, const std::string& verdi) = 0;
    virtual bool EraseValueLink(const std::string& ord, const std::string& verdi) = 0;

    virtual std::vector<std::string> CandidateSynonyms(const std::string& ord, int length) = 0;
    virtual std::vector<std::string> CandidateValues(const std::string& ord, int length) = 0;

    // Read in bulk for making puzzles.
    virtual std::vector<std::pair<std::string, std::string>> ClueLinks() = 0;
    virtual std::vector<std::pair<std::string, int>> Ranks() = 0;
    virtual std::vector<std::string> WordsWithSynonyms() = 0;
    virtual std::vector<std::string> ClueWordsFor(const std::string& answer) = 0;

    // The file that holds the words; "" for a database on a server.
    virtual std::string path() const = 0;
    // Throws DbError (ReadOnly, Denied) when the database is known to
    // refuse every change: a file opened read-only, a role that may only
    // read. Asked before a question whose answer could not be acted on.
    virtual void CheckWritable() = 0;
};

}  // namespace store
