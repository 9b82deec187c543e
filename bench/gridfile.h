// The benchmark grids: kept as ipuz files, as Velmora saves grids, and
// readable from a text form too, one answer a line: clue square, A (across)
// or D (down), letter count and clue word ("-" for an open answer). Clue
// squares with a clue word get their marks as the square dialog gives them.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "grid/grid.h"
#include "grid/ipuz.h"

namespace bench {

// Clue marks as the square dialog gives them.
inline void MarkClueSquares(sim::Grid& g) {
    for (sim::Square& sq : g) {
        const bool a = !sq.ord1.isEmpty(), d = !sq.ord2.isEmpty();
        if (!a && !d) continue;
        sq.caption = a && d ? "XY" : a ? "X" : "Y";
        sq.back = QColor(255, 128, 0);
        sq.bold = true;
    }
}

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
        if (!g.geometry().contains(n)) continue;
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
    MarkClueSquares(g);
    return g;
}

// The benchmark grids are kept as Velmora saves grids: ipuz.
inline bool WriteGridFile(const QString& path, sim::Grid g, const QString& title) {
    MarkClueSquares(g);
    QString error;
    return sim::ipuz::WriteFile(path, g, QJsonObject{{"title", title}}, &error);
}

// A grid file: ipuz, or the text form above.
inline sim::Grid OpenGridFile(const QString& path) {
    if (!path.endsWith(".ipuz")) return ReadGridFile(path);
    const sim::ipuz::Loaded l = sim::ipuz::ReadFile(path);
    return l.grid ? *l.grid : sim::Grid{};
}

}  // namespace bench
