// The benchmark grids as text, one answer a line: clue square, A (across)
// or D (down), letter count and clue word ("-" for an open answer). Clue
// squares with a clue word get their marks as the square dialog gives them.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "simulator/grid.h"

namespace bench {

inline sim::Grid ReadGridFile(const QString& path) {
    sim::Grid g;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return g;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
        if (parts.size() != 4) continue;
        const int n = parts[0].toInt();
        if (n < 1 || n > sim::kSquares) continue;
        sim::Square& sq = g[size_t(n)];
        const QString clue = parts[3] == "-" ? QString() : parts[3];
        if (parts[1] == "A") {
            sq.lengde1 = int16_t(parts[2].toInt());
            sq.ord1 = clue;
        } else {
            sq.lengde2 = int16_t(parts[2].toInt());
            sq.ord2 = clue;
        }
    }
    for (sim::Square& sq : g) {
        const bool a = !sq.ord1.isEmpty(), d = !sq.ord2.isEmpty();
        if (!a && !d) continue;
        sq.caption = a && d ? "XY" : a ? "X" : "Y";
        sq.back = QColor(255, 128, 0);
        sq.bold = true;
    }
    return g;
}

inline bool WriteGridFile(const QString& path, const sim::Grid& g, const QString& comment) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) return false;
    QTextStream out(&f);
    out << "# " << comment << "\n";
    for (int n = 1; n <= sim::kSquares; ++n) {
        const sim::Square& sq = g[size_t(n)];
        if (sq.lengde1 > 0) out << n << " A " << sq.lengde1 << ' ' << (sq.ord1.isEmpty() ? "-" : sq.ord1) << "\n";
        if (sq.lengde2 > 0) out << n << " D " << sq.lengde2 << ' ' << (sq.ord2.isEmpty() ? "-" : sq.ord2) << "\n";
    }
    return true;
}

}  // namespace bench
