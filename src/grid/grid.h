// The simulator grid as plain data: what each square shows, its clue data
// and which answers wrote its letter, with the rules that say where an
// answer's letters go and whether a candidate fits the letters already
// there, and the history of grid changes that undo and redo walk. Nothing
// here touches a widget, so whatever reads, writes or fills whole grids
// works on these snapshots and records its changes in the same history.
#pragma once

#include <QColor>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// A grid's size. Squares are numbered 1 to size(), row by row; 15 by 15
// is the grid the windows show and the one every new grid has.
struct Geometry {
    int rows = 15;
    int columns = 15;
    int size() const { return rows * columns; }
    bool contains(int n) const { return n >= 1 && n <= size(); }
    int RowOf(int n) const { return (n - 1) / columns + 1; }
    int ColumnOf(int n) const { return (n - 1) % columns + 1; }
    // The number of the square in `row` and `column`, both from 1.
    int Number(int row, int column) const { return (row - 1) * columns + column; }
    // The longest answer: from a clue square at one edge to the other.
    int longest() const { return (rows > columns ? rows : columns) - 1; }
    bool operator==(const Geometry&) const = default;
};

// An answer: the clue square it starts next to, and its direction. Clue
// square 0 stands for a letter that no answer we know of wrote.
struct Answer {
    int16_t clue = 0;
    bool across = true;
    bool operator==(const Answer&) const = default;
};

// One square: its face as the window shows it and the clue data it carries.
struct Square {
    QString caption;
    std::optional<QColor> back;  // std::nullopt: the desktop's button face
    bool bold = false;
    QString ord1, ord2;
    int16_t lengde1 = 0, lengde2 = 0;
    // The answers that wrote the letter the square shows (empty for an
    // empty square, a clue mark, or a caption set by other means).
    std::vector<Answer> writers;
    // The across (1) or down (2) answer from this clue square was the
    // user's pick of a candidate: filling the grid keeps it.
    bool picked1 = false, picked2 = false;
    // A clue square whose answer the last fill could not fill: framed in red.
    bool flagged = false;
    // A block of another program's grid: a dark square that takes no
    // letter, where answers end as at the grid's edge.
    bool block = false;
    // What another program's file holds in the square's cell besides the
    // block and the letter: its number ("cell"), its style, anything else;
    // written back with the square.
    QJsonObject theirs{};

    bool operator==(const Square&) const = default;
    // Clue marks are bold; placed letters never are.
    bool isMark() const { return bold && !caption.isEmpty(); }
    // Shows a letter that only this answer wrote, so the answer may replace it.
    bool onlyWrittenBy(const Answer& a) const { return !writers.empty() && writers == std::vector<Answer>{a}; }
};

// The face of a block.
inline const QColor kBlockColour{64, 64, 64};

// Every square of a grid, by number: slots 0 to count(), where slot 0
// belongs to no square.
class Grid {
public:
    Grid() : Grid(Geometry{}) {}
    explicit Grid(const Geometry& geometry) : geometry_(geometry), squares_(size_t(geometry.size()) + 1) {}

    const Geometry& geometry() const { return geometry_; }
    int rows() const { return geometry_.rows; }
    int columns() const { return geometry_.columns; }
    // The number of squares (the last square's number).
    int count() const { return geometry_.size(); }
    // The number of slots, count() + 1.
    size_t size() const { return squares_.size(); }

    Square& operator[](size_t n) { return squares_[n]; }
    const Square& operator[](size_t n) const { return squares_[n]; }
    Square& at(size_t n) { return squares_.at(n); }
    const Square& at(size_t n) const { return squares_.at(n); }
    auto begin() { return squares_.begin(); }
    auto end() { return squares_.end(); }
    auto begin() const { return squares_.begin(); }
    auto end() const { return squares_.end(); }

    bool operator==(const Grid&) const = default;

private:
    Geometry geometry_;
    std::vector<Square> squares_;
};

// The characters of a word, one code point each, as squares hold them.
QStringList Letters(const QString& word);

// The square that letter k (from 1) of an answer goes into.
int Target(const Geometry& geometry, const Answer& a, int k);
inline int Target(const Grid& g, const Answer& a, int k) { return Target(g.geometry(), a, k); }
// Whether the grid's edges refuse letter k of `count` in `target`: beyond
// the last square, in the last column while letters follow, or an across
// answer from the last column (it would run on into the next row).
bool EdgeRefuses(const Geometry& geometry, const Answer& a, int target, int k, int count);
// The same, with the grid's blocks as walls too.
bool WallRefuses(const Grid& g, const Answer& a, int target, int k, int count);

// Whether a candidate fits the grid as it stands: every letter lands inside
// the edges and before any block, is a letter (no blank, digit or
// punctuation), and goes into a square that is empty, shows the same letter,
// or shows a letter that only this answer wrote.
bool Fits(const Grid& g, const Answer& a, const QString& word);
// The squares of an answer of `length` letters as the candidates must match
// them: "?" where anything may go, a letter where another answer put one,
// "#" for a clue mark and "_" for a blank; it ends where the edges or a
// block do.
QString Pattern(const Grid& g, const Answer& a, int length);

// One change to one square.
struct Change {
    int square = 0;
    Square before, after;
};
// One undoable step: every square it changed.
using Step = std::vector<Change>;
// The squares that differ between two grids of one size.
Step Diff(const Grid& before, const Grid& after);

// Steps done and undone, for the life of the process. The caller applies
// the steps; the history only keeps them in order.
class History {
public:
    // A new step; anything undone before it can no longer be redone.
    void record(Step s);
    // The step to take back (apply its `before`s), or null when none is left.
    const Step* undo();
    // The step to do again (apply its `after`s), or null.
    const Step* redo();
    size_t undoable() const { return done_.size(); }
    size_t redoable() const { return undone_.size(); }
    void clear();

private:
    std::vector<Step> done_, undone_;
};

}  // namespace sim
