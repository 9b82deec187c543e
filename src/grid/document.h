// The grid being composed, the one place it is kept: for every square its
// face (caption, colour, bold), its clue data, which answers wrote its
// letter, the user's picks and the frame of an answer a fill left empty;
// the active and the selected square; and the history that undo and redo
// walk. Every change goes through here and is recorded; the simulator
// window only shows what the document holds and is told of each change.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "grid/grid.h"

namespace sim {

// The face of a clue square.
inline const QColor kClueColour{255, 128, 0};

class Document {
public:
    // An empty grid of 15 by 15 squares, or of the size given.
    Document() : Document(Geometry{}) {}
    explicit Document(const Geometry& geometry);

    // The grid's size; squares are numbered 1 to size(), row by row.
    const Geometry& geometry() const { return g_.geometry(); }
    int columns() const { return geometry().columns; }
    int rows() const { return geometry().rows; }
    int size() const { return geometry().size(); }
    bool contains(int n) const { return geometry().contains(n); }
    int RowOf(int n) const { return geometry().RowOf(n); }
    int ColumnOf(int n) const { return geometry().ColumnOf(n); }

    const Grid& squares() const { return g_; }
    const Square& at(int n) const { return g_.at(size_t(n)); }

    // ---- clue data: the clue words, letter counts and directions (2 to
    // the right, 8 down) of the answers from each square.
    const QString& RuteOrd1(int n) const { return at(n).ord1; }
    const QString& RuteOrd2(int n) const { return at(n).ord2; }
    int16_t RuteLengde1(int n) const { return at(n).lengde1; }
    int16_t RuteLengde2(int n) const { return at(n).lengde2; }
    int16_t RuteRetning1(int n) const { return retning_.at(size_t(n))[0]; }
    int16_t RuteRetning2(int n) const { return retning_.at(size_t(n))[1]; }
    void setRuteOrd(int n, bool across, const QString& word);
    void setRuteLengde(int n, bool across, int16_t count);
    // Start values of one square's clue data.
    void InitialiseSquare(int n);

    // The square whose clue data the square dialog edits (999 when none
    // was clicked since start-up), and the one Simulate works from.
    int16_t AktivRute = 0;
    int16_t ValgtRute = 0;

    // ---- changes to squares, each recorded for undo.
    // A caption set by other means: no answer wrote it.
    void setCaption(int n, const QString& caption);
    void setBackColor(int n, const std::optional<QColor>& back);
    // As Done! leaves a square: a bold orange "X", "Y" or "XY" for the clue
    // words it has, else a plain empty square (a block stays one).
    void MarkClueSquare(int n);
    // Empties a square and its clue words and counts; bold, directions and
    // what another program's file holds in its cell stay.
    void ClearSquare(int n);
    // Every square empty, with the start values of its clue data.
    void ClearAll();
    void setPicked(int n, bool across, bool on);
    void setSquare(int n, const Square& sq);
    // A whole grid of the document's size as one step (std::invalid_argument
    // for a grid of another size).
    void setSquares(const Grid& g);
    // Writes a word letter by letter into the squares to the right of
    // (across) or below the clue square `clue`, `count` letters (empty ones
    // past the word's end). Stops at the first letter that the edges or a
    // block refuse or, unless `overwrite`, that another letter is in the way of; false then.
    bool Write(const QString& word, int count, int clue, bool overwrite, bool across);

    // ---- undo: the changes made while an Edit lives are one step (nested
    // edits join the outermost one).
    class Edit {
    public:
        explicit Edit(Document& d) : d_(d) { d_.beginEdit(); }
        ~Edit() { d_.endEdit(); }
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;

    private:
        Document& d_;
    };
    bool editing() const { return editDepth_ > 0; }
    // Each takes back or does again one step; nothing while an edit is under way.
    bool Undo();
    bool Redo();
    const History& history() const { return history_; }

    // Told of every square that changed, and after every step, undo and redo.
    std::function<void(int n)> squareChanged;
    std::function<void()> stepped;

    // As a new process has it: an empty grid of the same size and no history.
    void reset();
    // A grid brought back as a new process's own: nothing to undo.
    void Restore(const Grid& g);

private:
    void beginEdit();
    void endEdit();
    void put(int n, Square sq);
    void apply(const Step& s, bool forward);

    Grid g_;
    std::vector<std::array<int16_t, 2>> retning_;
    History history_;
    Grid editStart_;
    int editDepth_ = 0;
};

}  // namespace sim
