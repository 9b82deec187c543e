// An evening's grid, composed on the document as the windows compose it:
// square 1 asks for LARGE across and SEA down; RAT down from 20 and RUG
// across from 34 share the R in square 35; ARE across from 48 clashes with
// the A of RAT in square 50 and stops; square 100 has a colour of its own,
// and square 101 was a clue square cleared, which leaves it bold.
#pragma once

#include "grid/document.h"

namespace evening {

inline void Clue(sim::Document& d, int n, const QString& across, int k1, const QString& down, int k2) {
    d.setRuteOrd(n, true, across);
    d.setRuteLengde(n, true, int16_t(k1));
    d.setRuteOrd(n, false, down);
    d.setRuteLengde(n, false, int16_t(k2));
    d.MarkClueSquare(n);
}

inline void Compose(sim::Document& d) {
    Clue(d, 1, "BIG", 5, "OCEAN", 3);
    d.Write("LARGE", 5, 1, false, true);
    d.Write("SEA", 3, 1, false, false);
    Clue(d, 20, "", 0, "RODENT", 3);
    d.Write("RAT", 3, 20, false, false);
    Clue(d, 34, "CARPET", 3, "", 0);
    d.Write("RUG", 3, 34, false, true);
    Clue(d, 48, "EXIST", 3, "", 0);
    d.Write("ARE", 3, 48, false, true);
    d.setBackColor(100, QColor(0, 160, 0));
    Clue(d, 101, "GONE", 2, "", 0);
    d.ClearSquare(101);
}

// The evening's grid as a file keeps it: with a pick across and one down,
// a frame, and a block carrying another program's cell data.
inline sim::Grid Kept() {
    sim::Document d;
    Compose(d);
    sim::Grid g = d.squares();
    g[34].picked1 = g[20].picked2 = g[20].flagged = g[200].block = true;
    g[200].back = sim::kBlockColour;
    g[200].theirs = {{"style", QJsonObject{{"shapebg", "circle"}}}};
    return g;
}

// The captions of squares from..to, every step-th; "." for an empty one.
inline QString Captions(const sim::Grid& g, int from, int to, int step = 1) {
    QString s;
    for (int n = from; n <= to; n += step) s += g[size_t(n)].caption.isEmpty() ? QString(".") : g[size_t(n)].caption;
    return s;
}

}  // namespace evening
