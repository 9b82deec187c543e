// The search behind "Fill grid", on numbers only: each answer to fill is a
// variable whose values are the words of a word list of its length, two
// answers that share a square must put the same letter there, and the
// search chooses one word for as many answers as it can. Kept apart from
// the grid and the window so that it can run on a thread of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace sim::search {

// A set of word numbers, one bit a word.
using Bits = std::vector<uint64_t>;

// Words of one length with, for every position and letter, the words that
// have that letter there.
class WordList {
public:
    // `letters`: the words back to back, `length` letter numbers each, every
    // number below `alphabet`.
    WordList(int length, int alphabet, std::vector<uint8_t> letters, std::vector<uint64_t> ids);
    int length() const { return length_; }
    int size() const { return size_; }
    uint8_t letter(int word, int pos) const { return letters_[size_t(word) * size_t(length_) + size_t(pos)]; }
    // Which word of the whole fill this is (the same word in two lists has
    // the same number), so that a word used once is tried last elsewhere.
    uint64_t id(int word) const { return ids_[size_t(word)]; }
    // The words with `letter` at `pos`; empty when there are none.
    const Bits& with(int pos, int letter) const { return index_[size_t(pos) * size_t(alphabet_) + size_t(letter)]; }
    Bits all() const;

private:
    int length_, alphabet_, size_;
    std::vector<uint8_t> letters_;
    std::vector<uint64_t> ids_;
    std::vector<Bits> index_;
};

// Letter `pos` of one answer goes into the same square as letter
// `otherPos` of answer `other`.
struct Crossing {
    int pos, other, otherPos;
};

struct Variable {
    std::shared_ptr<const WordList> words;
    Bits allowed;  // the words that fit the letters fixed before the search
    std::vector<Crossing> crossings;
};

struct Problem {
    std::vector<Variable> vars;
    // No word may fill two answers: a word placed is not tried elsewhere.
    bool distinct = false;
};

struct Outcome {
    std::vector<int> choice;  // per variable: a word of its list, or -1 for none
    bool cancelled = false;
    // Every variable has a word, or the search went through every choice
    // and none gives more; false when it stopped at its budget.
    bool settled = false;
    long nodes = 0;
};

// `keepGoing(placed, total)` is asked now and then, with the most answers
// placed so far; false stops the search, which then reports cancelled.
// `nodeBudget` bounds the work when no choice fills every answer: the
// best fill found by then is the outcome.
Outcome Solve(const Problem& p, const std::function<bool(int placed, int total)>& keepGoing,
              long nodeBudget = 2'000'000);

// Helpers on bit sets, shared with whoever builds a Problem.
int Count(const Bits& b);
void AndInto(Bits& dst, const Bits& src);  // an empty src clears dst

}  // namespace sim::search
