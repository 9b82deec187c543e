// Filling the whole grid at once: the answers the clue squares ask for,
// the words each may take, one word chosen for as many answers as possible
// so that every shared square gets one letter, and the grid as it looks
// afterwards. Plain data and no widget, so the window, the tests and the
// benchmarks fill grids alike and the search may run off the window's thread.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "grid/grid.h"

namespace sim {

// One answer to fill: a clue square's across or down answer with a letter
// count. Without a clue word it is an open answer, filled from every stored
// word of its length.
struct Slot {
    Answer answer;
    QString clue;
    int length = 0;
    // The squares its letters go into, as far as the edges and clue
    // squares let it run; `fits` when that is the whole length.
    std::vector<int> squares;
    bool fits = false;
    // The user picked this answer from a candidate list and it still stands
    // in the grid whole: it stays as it is.
    bool kept = false;
    QString keptWord;
    bool open() const { return clue.isEmpty(); }
};

// The letters a candidate puts into an answer's squares: its letters, the
// blanks, hyphens and apostrophes between the words of a multi-word
// candidate left out (SEA GOD fills six squares as SEAGOD); "" when it holds
// anything else, a digit or a dot, which no letter square takes.
QString AnswerLetters(const QString& candidate);

// Every answer of the grid, by clue square, across before down. A clue
// square is one with a clue mark or clue word, or a plain square with a
// letter count that no clued answer runs through (a plain square inside an
// answer keeps a count from before only as the dialog leaves counts).
std::vector<Slot> Slots(const Grid& g);

// The words an answer may take: for a clue word and length, its values
// then its synonyms with that many letters; for an open answer, every
// stored word with that many letters. Each is kept as stored; the fill
// writes its AnswerLetters.
struct FillWords {
    std::map<std::pair<QString, int>, QStringList> byClue;
    std::map<int, QStringList> byLength;
};
// What the answers ask for: clue words with lengths, and open lengths.
std::set<std::pair<QString, int>> CluesNeeded(const std::vector<Slot>& answers);
std::set<int> OpenLengthsNeeded(const std::vector<Slot>& answers);

struct FillResult {
    std::vector<QString> words;  // per slot, as stored; "" where it stays empty
    bool cancelled = false;
    bool settled = true;  // false: the search stopped at its limit
    long nodes = 0;
    int unfilled() const;
};

// Chooses the words. `keepGoing(placed, total)` is asked now and then;
// false cancels (the result then says so and holds nothing to write).
FillResult Fill(const Grid& g, const std::vector<Slot>& answers, const FillWords& words,
                const std::function<bool(int placed, int total)>& keepGoing = {});

// After the search: an open answer whose word `wanted` refuses takes
// another stored word of its length with the same letters in every square
// it shares with a filled answer, one that `wanted` accepts and that is
// not placed elsewhere, when one of the first `tries` such words is.
// (Velmora wants words it can offer clue words for.)
void PreferForOpenAnswers(const std::vector<Slot>& answers, const FillWords& words, FillResult& r,
                          const std::function<bool(const QString&)>& wanted, int tries = 2000);

// The grid with the result written: every free answer's squares emptied,
// the chosen words written (each letter remembering its answers), kept
// answers and everything outside the answers left alone, and the clue
// squares of the answers left empty flagged.
Grid Filled(const Grid& g, const std::vector<Slot>& answers, const FillResult& r);

// The one message about the answers left empty, each named by its clue
// word, direction and clue square, with why it is empty: no room, no word
// of its length, or the crossing whose letter the last of its words
// clashed with in `filled` (the grid as the result leaves it); "" when
// every answer is filled.
QString FillReport(const Grid& filled, const std::vector<Slot>& answers, const FillWords& words, const FillResult& r);

// The word an open answer shows, when every one of its letters is in the
// grid as that answer wrote it; "" otherwise.
QString OpenAnswerShown(const Grid& g, const Answer& a, int length);

}  // namespace sim
