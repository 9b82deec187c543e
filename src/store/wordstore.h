// The word database: every operation that the windows send to velmora.mdb,
// or to a database on a PostgreSQL server chosen with --database.
//
// Texts are UTF-8. Comparison is exact (case counts) for equality and for
// patterns alike; everything the program writes is upper case anyway.
// Every value is bound as a parameter, so a quote is just a character.
// Each writing operation is one transaction: either all of it is in the
// file when it returns, or none of it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/engine.h"
#include "store/sqlite.h"
#include "store/utf8.h"
#include "store/wordcache.h"

namespace store {

inline constexpr const char* kDatabaseFile = "velmora.mdb";

class PgPool;

// One open word database. Opened per operation and closed when it goes out
// of scope; a nested operation simply opens a second one. Each call goes to
// the engine that holds the database.
class Database {
public:
    // The SQLite file at `path`, read-write; never creates it.
    explicit Database(const std::string& path);
    explicit Database(std::unique_ptr<Engine> engine) : e_(std::move(engine)) {}

    // --- T_Kategori
    // The whole table, in the store's order.
    std::vector<std::string> Categories() { return e_->Categories(); }

    // --- T_Ord
    bool WordExists(const std::string& ord) { return e_->WordExists(ord); }
    // Words matching pattern + "*", in alphabetical order (CompareWords). "*" is any run (none
    // included), "?" exactly one character; nothing else is special.
    std::vector<std::string> PatternLookup(const std::string& pattern) { return e_->PatternLookup(pattern); }
    // Word save: adds (Ord, Notat NULL, Star NULL) unless the word is there.
    // Returns false when it existed already (nothing written).
    bool SaveWord(const std::string& ord) { return e_->SaveWord(ord); }
    RowId FindWordRow(const std::string& ord) { return e_->FindWordRow(ord); }
    // The erases take the texts the user was asked about and remove the row
    // holding them as it is now, in one transaction: a row number found
    // before the question may belong to another word by the answer, since
    // another program may have changed the file meanwhile. They return
    // whether anything was removed; nothing is when the texts are gone.
    bool EraseWord(const std::string& ord) { return e_->EraseWord(ord); }

    // --- details of a word
    // byLength: by number of characters, ties alphabetically; else alphabetically.
    std::vector<std::string> Synonyms(const std::string& ord, bool byLength) { return e_->Synonyms(ord, byLength); }
    std::vector<std::string> Values(const std::string& ord, bool byLength) { return e_->Values(ord, byLength); }
    // Ordered by Kategori.
    std::vector<std::string> CategoriesOf(const std::string& ord) { return e_->CategoriesOf(ord); }
    // Ordered by Ord.
    std::vector<std::string> WordsOfCategory(const std::string& kategori) { return e_->WordsOfCategory(kategori); }

    // --- links. The save operations take texts already upper-cased by the
    // caller. Words (and values) missing from their tables are added with
    // Notat "X" and stay added even when the link itself is refused.
    // Return true when the link was added, false when it was registered before.
    bool SaveCategoryLink(const std::string& ord, const std::string& kategori) {
        return e_->SaveCategoryLink(ord, kategori);
    }
    RowId FindCategoryLink(const std::string& ord, const std::string& kategori) {
        return e_->FindCategoryLink(ord, kategori);
    }
    bool EraseCategoryLink(const std::string& ord, const std::string& kategori) {
        return e_->EraseCategoryLink(ord, kategori);
    }

    // Adds (S, W) then (W, S) unless (W, S) is there; the reverse row is
    // added without a check.
    bool SaveSynonymPair(const std::string& ord, const std::string& synonym) {
        return e_->SaveSynonymPair(ord, synonym);
    }
    RowId FindSynonymRow(const std::string& ord, const std::string& synonym) {
        return e_->FindSynonymRow(ord, synonym);
    }
    // Removes the first (ord, synonym) row and the first (synonym, ord) row,
    // whichever are there; returns how many rows went.
    int EraseSynonymPair(const std::string& ord, const std::string& synonym) {
        return e_->EraseSynonymPair(ord, synonym);
    }

    bool SaveValueLink(const std::string& ord, const std::string& verdi) { return e_->SaveValueLink(ord, verdi); }
    RowId FindValueLink(const std::string& ord, const std::string& verdi) { return e_->FindValueLink(ord, verdi); }
    bool EraseValueLink(const std::string& ord, const std::string& verdi) { return e_->EraseValueLink(ord, verdi); }

    // --- simulator candidates: length 0 means any length. Rows in the order
    // they were stored.
    std::vector<std::string> CandidateSynonyms(const std::string& ord, int length) {
        return e_->CandidateSynonyms(ord, length);
    }
    std::vector<std::string> CandidateValues(const std::string& ord, int length) {
        return e_->CandidateValues(ord, length);
    }

    // --- in bulk, for making puzzles: every (word, answer) where the word
    // lists the answer as a synonym or value, synonyms then values in stored
    // order; and every word's commonness (1 the most common, the smallest
    // given), none when the database keeps no commonness.
    std::vector<std::pair<std::string, std::string>> ClueLinks() { return e_->ClueLinks(); }
    // --- the composing tools. Each word's commonness (T_Rang: word, rank,
    // 1 the most common; none when the database has no ranks), the words
    // that have a synonym, and the words that list `answer` as a synonym or
    // a value, alphabetically.
    std::vector<std::pair<std::string, int>> Ranks() { return e_->Ranks(); }
    std::vector<std::string> WordsWithSynonyms() { return e_->WordsWithSynonyms(); }
    std::vector<std::string> ClueWordsFor(const std::string& answer) { return e_->ClueWordsFor(answer); }

    // The file that holds the words; "" for a database on a server.
    std::string path() const { return e_->path(); }
    // Throws DbError (ReadOnly, Denied) when the database is known to
    // refuse every change, so that the user is told before being asked.
    void CheckWritable() { e_->CheckWritable(); }

private:
    std::unique_ptr<Engine> e_;
};

// The one engine object of the process (kept in module M).
class DBEngine {
public:
    // Word databases in files, by name.
    DBEngine();
    // The word database on a PostgreSQL server that `conninfo` names (a
    // libpq connection string or postgresql:// URL); checked, not yet
    // connected. An empty text means files, as above.
    explicit DBEngine(const std::string& conninfo);
    ~DBEngine();
    DBEngine(const DBEngine&) = delete;
    DBEngine& operator=(const DBEngine&) = delete;

    // On a server: its database, on a connection kept from an earlier
    // operation when the server still has it open, else a new one. Without
    // a server: the file by the name given, resolved against the current
    // directory, read-write; never created.
    Database OpenDatabase(const std::string& name = kDatabaseFile);
    bool onServer() const { return pool_ != nullptr; }
    int opens() const { return opens_; }
    // The words of the file held in memory for pattern lookups.
    WordCache& Words() { return words_; }

private:
    std::shared_ptr<PgPool> pool_;
    int opens_ = 0;
    WordCache words_;
};

// Creates a new, empty word database with the six tables and their indexes.
// Refuses (DbError) when the file exists. For the command-line tools only:
// the program itself never creates a database.
void CreateDatabase(const std::string& path);
// The schema's statements, for tools that build a database in place:
// the tables, then the indexes (a bulk load adds them after the rows).
void CreateSchema(Connection& c);
void CreateTables(Connection& c);
void CreateIndexes(Connection& c);

}  // namespace store
