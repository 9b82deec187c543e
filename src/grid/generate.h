// Making a whole arrow-word puzzle: where the clue squares go, the answers
// that fill the letter squares, and a clue word for each answer, from the
// word database's links read in bulk. Plain data and no widget, so the
// window, the command line, the tests and the benchmark make puzzles alike
// and the work may run off the window's thread.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "grid/grid.h"

namespace sim::gen {

// Puzzles are made 15 × 15, the grid the simulator shows.
inline constexpr int kColumns = 15;
inline constexpr int kSquares = kColumns * kColumns;
inline const Geometry kGeometry{kColumns, kColumns};

// The share of the grid that clue squares may take, at most.
inline constexpr int kMaxClueSquares = kSquares * 30 / 100;

// A commonness no word list gave: after every rank given.
inline constexpr int kNoRank = 100;

struct Link;

// What a puzzle is made from.
class WordData {
public:
    // Answers a grid can take (letters only) that some stored word lists as
    // a synonym or value, common first, by length.
    std::map<int, QStringList> answers;
    // The stored words that list `answer`, best first: common, then short;
    // none contains the answer or is contained in it.
    QStringList CluesOf(const QString& answer) const;
    // The answers `word` lists (a clue word the user put in the grid is
    // answered from these).
    QStringList Listed(const QString& word) const;
    // A word's commonness, 1 the most common.
    int RankOf(const QString& word) const;

private:
    friend WordData MakeWordData(const std::vector<Link>&, const std::map<std::string, int>&);
    int idOf(const QString& word) const;
    std::unordered_map<std::string, int> ids_;
    std::vector<std::string> names_;
    std::vector<int> ranks_;
    std::vector<std::vector<int>> clues_, listed_;
};

// One link: `word` lists `answer` as a synonym or value.
struct Link {
    std::string word, answer;
};
// The word data from the links and each word's rank (1 the most common).
WordData MakeWordData(const std::vector<Link>& links, const std::map<std::string, int>& ranks);

struct Options {
    uint64_t seed = 1;
    // The clue squares, their clue words and the picked answers of the
    // grid given stay; otherwise the grid given is not looked at.
    bool keep = false;
    // How hard one layout is tried before the next one is drawn.
    long nodesPerLayout = 20000;
    int layouts = 60;
};

struct Made {
    Grid grid{};  // valid when ok
    bool ok = false;
    bool cancelled = false;
    QString error;     // why no puzzle was made
    QStringList open;  // answers left without a clue word
    int layoutsTried = 0;
};

// Makes a puzzle. `keepGoing(done, total)` is asked now and then; false
// cancels, and the result then holds no grid.
Made Generate(const Grid& start, const WordData& words, const Options& options,
              const std::function<bool(int done, int total)>& keepGoing = {});

// The rules of the form that `g` breaks, one line each; empty when it
// keeps them all. `words`, when given, also checks each clue word.
QStringList BrokenRules(const Grid& g, const WordData* words = nullptr);

// Figures about a made grid, for the benchmark and the command line.
struct Figures {
    int clueSquares = 0, letterSquares = 0, blank = 0, inAnswer = 0, inTwo = 0;
    int answers = 0, clued = 0;
};
Figures Measure(const Grid& g);

}  // namespace sim::gen
