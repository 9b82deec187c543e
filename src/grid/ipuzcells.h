// What reading and writing ipuz share: how a square's cell is told apart
// (a block, a number, Velmora's own field), the square a cell gives
// without Velmora's own field, and where Velmora's answers start, which
// the file numbers.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <set>

#include "grid/grid.h"

namespace sim::ipuz::cells {

// Velmora's own field of a square: everything the square holds.
inline const QString kSquareField = QStringLiteral("app.velmora:square");

// The fields Velmora writes itself, or that describe a grid and would be
// stale after it changed; every other field of a file read is written again,
// "clues" with the clues Velmora did not make.
inline const std::set<QString> kOwnFields{"version",  "kind",   "dimensions", "puzzle", "solution",
                                          "checksum", "answer", "answers",    "zones",  "saved"};

// A reason to refuse the file.
struct Refusal {
    QString why;
};

QString where(const Geometry& geometry, int n);
// A text of the file as a message quotes it: control characters escaped
// and a long one cut.
QString quoted(const QString& text);

inline bool isClue(const Square& s) { return !s.ord1.isEmpty() || !s.ord2.isEmpty() || s.isMark(); }
inline bool isLetter(const Square& s) { return !s.caption.isEmpty() && !s.isMark(); }

// Whether a cell's value is a number of the puzzle: neither the block nor
// the empty value. The same number as text, so that 7 and "7" are one.
bool isLabel(const QJsonValue& v, const QJsonValue& block, const QJsonValue& empty);
QString labelKey(const QJsonValue& v);
// The number an entry of the "clues" lists refers to: [7, "text"] or {"number": 7, ...}.
QJsonValue clueNumber(const QJsonValue& clue);

std::optional<QColor> colourOf(const QString& hex);
// A colour as the file's styles give it.
QString styleColour(const QColor& c);

// The square a cell without Velmora's own field gives: a block, or its
// style's colour and the letter `solution` holds. Throws Refusal.
Square plainSquare(const Geometry& geometry, int n, bool isBlock, const QJsonObject& style, QJsonValue solution,
                   const QJsonValue& block);

// The square the answer starts in, when it has a clue word and that square
// is a letter square inside the walls; 0 otherwise.
int opening(const Grid& g, const Answer& a);

}  // namespace sim::ipuz::cells
