// A simulator grid as an ipuz file (JSON, ipuz.org v2), the exchange format
// that other puzzle programs read: the letters in "puzzle" and "solution",
// clue squares as blocks with their clue words in "clues", and everything
// else a square holds in Velmora's own field of each square, so that opening
// a saved grid gives back exactly the grid that was saved. Fields of the file
// that Velmora does not know are handed back to be written again.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

#include "grid/grid.h"

namespace sim::ipuz {

// The largest file that is read at all.
inline constexpr qint64 kMaxFileSize = qint64(1024) * 1024;

// The grid as ipuz JSON; the fields of `kept` that Velmora does not write
// itself (a title, an author, another program's fields) go along.
QByteArray Write(const Grid& g, const QJsonObject& kept = {});

struct Loaded {
    std::optional<Grid> grid;  // none when refused
    QJsonObject kept;          // the fields that Velmora does not write
    QString error;             // what is wrong, when refused
};
// Reads ipuz JSON. A text that is not JSON, not an ipuz crossword, not of
// the size given (the windows show 15 by 15) or not of the types the format
// gives is refused, as is a square that shows something no square can show.
Loaded Read(const QByteArray& json, const Geometry& geometry = {});

// The same with a file; a failed write leaves an existing file as it was.
Loaded ReadFile(const QString& path, const Geometry& geometry = {});
bool WriteFile(const QString& path, const Grid& g, const QJsonObject& kept, QString* error);

// Whether a square may show this caption: nothing, one printable
// character, or a clue mark.
bool Showable(const QString& caption, bool bold);

}  // namespace sim::ipuz
