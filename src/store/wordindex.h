// The words held in memory arranged for the composing tools: common words
// first (by T_Rang, then alphabetically), each word's letters without its
// blanks and hyphens, and the words made of letters grouped by how many
// they have. On that: exact patterns and anagrams for "Find words", and the
// words that fit an answer's squares for "Words that fit", each a scan of
// memory that returns its matches common first without sorting them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/wordcache.h"

namespace store {

class Connection;

// Whether a character is a letter that a grid square can show.
bool IsLetter(char32_t c);

class WordIndex {
public:
    // `ranks`: (word, rank), 1 the most common; a word may appear more than
    // once (the smallest rank counts) and words outside `words` are ignored.
    // `withSynonyms`: the words that have a synonym.
    static std::shared_ptr<const WordIndex> Build(std::shared_ptr<const WordSet> words,
                                                  const std::vector<std::pair<std::string, int>>& ranks,
                                                  const std::vector<std::string>& withSynonyms);

    const std::shared_ptr<const WordSet>& words() const { return set_; }
    // Positions run common first: 0 is the most common word.
    size_t size() const { return byRank_.size(); }
    std::string_view operator[](uint32_t pos) const { return (*set_)[byRank_[pos]]; }
    // The position of a stored word, if it is one.
    std::optional<uint32_t> Position(std::string_view word) const;
    // How many characters the word has besides blanks and hyphens.
    int LetterCount(uint32_t pos) const { return count_[pos]; }
    // The word as a grid takes it: its letters without blanks and hyphens
    // (SEA GOD: SEAGOD); "" when anything else in it is no letter.
    std::string Letters(uint32_t pos) const;
    bool HasSynonyms(uint32_t pos) const { return (flags_[pos] & kSynonyms) != 0; }

    // "Find words": every field that is not empty must hold. `pattern` is
    // matched against the whole word ("?" one character, "*" any run);
    // `anagram` takes tiles, "?" a blank one, and wants words whose letters
    // are exactly the tiles; `letters` is the letter count (0: any).
    struct Search {
        std::string pattern;
        std::string anagram;
        int letters = 0;
        bool withSynonyms = false;
    };
    // Positions of the words found, common first; none when nothing is asked.
    std::vector<uint32_t> Find(const Search& s) const;

    // "Words that fit": the words made of letters whose letters fill
    // `squares` (one character a square: "?" free, anything else the letter
    // that must stand there), common first. `filter` narrows them: with "?"
    // or "*" a pattern their letters must match, else letters each of them
    // must hold (as often as given).
    std::vector<uint32_t> Fit(std::string_view squares, std::string_view filter = {}) const;

private:
    enum : uint8_t { kLettersOnly = 1, kSynonyms = 2 };
    // Letters as small numbers, 1 to 255, in the order first met.
    uint8_t codeOf(char32_t c) const;
    // The words of one letter count made of letters: their letters as
    // codes back to back, and their positions, common first.
    struct Bucket {
        std::vector<uint8_t> codes;
        std::vector<uint32_t> pos;
    };
    const Bucket* bucket(size_t length) const {
        return length < buckets_.size() && !buckets_[length].pos.empty() ? &buckets_[length] : nullptr;
    }
    // The filters of Find on one position.
    bool keeps(uint32_t pos, const Search& s) const;

    std::shared_ptr<const WordSet> set_;
    std::vector<uint32_t> byRank_;   // position -> word of the set
    std::vector<uint32_t> rankPos_;  // word of the set -> position
    std::vector<uint8_t> count_, flags_;
    std::vector<std::pair<char32_t, uint8_t>> alphabet_;  // sorted by letter
    std::vector<char32_t> letterOf_;                      // code -> letter
    std::vector<Bucket> buckets_;
};

// What the index needs from a word database file besides its words.
std::vector<std::pair<std::string, int>> ReadRanks(Connection& c);
std::vector<std::string> ReadWordsWithSynonyms(Connection& c);

}  // namespace store
