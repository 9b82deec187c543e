// The rules of the form, read back off a finished grid: what is a clue
// square and what a letter square, which runs of letters are answers, and
// whether counts, words and clue words agree with them.
#include <QSet>
#include <algorithm>

#include "grid/generate.h"
#include "grid/genlayout.h"

namespace sim::gen {

namespace {

bool isClue(const Square& sq) {
    return sq.isMark() || sq.lengde1 > 0 || sq.lengde2 > 0 || !sq.ord1.isEmpty() || !sq.ord2.isEmpty();
}

bool isLetter(const Square& sq) { return !isClue(sq) && !sq.bold && !sq.caption.isEmpty(); }

QString where(int n) { return QString("row %1, column %2").arg((n - 1) / kColumns + 1).arg((n - 1) % kColumns + 1); }

Mask maskOf(const Grid& g) {
    Mask m{};
    for (int n = 1; n <= kSquares; ++n) m[size_t(n)] = isClue(g[size_t(n)]);
    return m;
}

QString wordOf(const Grid& g, const Run& r) {
    QString w;
    for (int t : r.squares) w += g[size_t(t)].caption;
    return w;
}

}  // namespace

QStringList BrokenRules(const Grid& g, const WordData* words) {
    QStringList out;
    const Mask m = maskOf(g);
    const std::vector<Run> runs = Runs(m);
    std::vector<int> starts(size_t(kSquares) + 1, 0), inAnswer(size_t(kSquares) + 1, 0);
    std::array<std::array<int, 2>, kSquares + 1> runLength{};
    for (const Run& r : runs) {
        ++starts[size_t(r.answer.clue)];
        runLength[size_t(r.answer.clue)][r.answer.across ? 0 : 1] = int(r.squares.size());
        for (int t : r.squares) ++inAnswer[size_t(t)];
    }
    int clues = 0;
    for (int n = 1; n <= kSquares; ++n) {
        const Square& sq = g[size_t(n)];
        if (m[size_t(n)]) {
            ++clues;
            if (!starts[size_t(n)]) out << QString("The clue square at %1 starts no answer.").arg(where(n));
            for (int d = 0; d < 2; ++d) {
                const int count = d == 0 ? sq.lengde1 : sq.lengde2;
                if (count != runLength[size_t(n)][size_t(d)])
                    out << QString("The clue square at %1 counts %2 letters %3, where %4 follow.")
                               .arg(where(n))
                               .arg(count)
                               .arg(d == 0 ? "across" : "down")
                               .arg(runLength[size_t(n)][size_t(d)]);
            }
        } else if (!isLetter(sq)) {
            out << QString("The square at %1 is blank.").arg(where(n));
        } else if (!inAnswer[size_t(n)]) {
            out << QString("The letter at %1 is in no answer.").arg(where(n));
        }
    }
    if (clues > kMaxClueSquares) out << QString("%1 clue squares, more than %2.").arg(clues).arg(kMaxClueSquares);
    QSet<QString> seen;
    for (const Run& r : runs) {
        const QString w = wordOf(g, r);
        const Square& c = g[size_t(r.answer.clue)];
        const QString& clue = r.answer.across ? c.ord1 : c.ord2;
        const QString name =
            QString("%1 (%2 from %3)").arg(w, r.answer.across ? "across" : "down", where(r.answer.clue));
        if (!std::all_of(w.begin(), w.end(), [](QChar ch) { return ch.isLetter(); }))
            out << QString("The answer %1 is not letters only.").arg(name);
        if (seen.contains(w)) out << QString("The answer %1 is there twice.").arg(name);
        seen.insert(w);
        if (clue.isEmpty()) continue;
        if (clue.contains(w) || w.contains(clue))
            out << QString("The clue word %1 of %2 contains it or is part of it.").arg(clue, name);
        if (words && !words->CluesOf(w).contains(clue))
            out << QString("The clue word %1 does not list %2.").arg(clue, name);
    }
    return out;
}

Figures Measure(const Grid& g) {
    Figures f;
    const Mask m = maskOf(g);
    const std::vector<Run> runs = Runs(m);
    std::vector<int> inAnswer(size_t(kSquares) + 1, 0);
    for (const Run& r : runs) {
        ++f.answers;
        const Square& c = g[size_t(r.answer.clue)];
        if (!(r.answer.across ? c.ord1 : c.ord2).isEmpty()) ++f.clued;
        for (int t : r.squares) ++inAnswer[size_t(t)];
    }
    for (int n = 1; n <= kSquares; ++n) {
        const Square& sq = g[size_t(n)];
        if (m[size_t(n)]) {
            ++f.clueSquares;
        } else if (isLetter(sq)) {
            ++f.letterSquares;
            f.inAnswer += inAnswer[size_t(n)] > 0;
            f.inTwo += inAnswer[size_t(n)] > 1;
        } else {
            ++f.blank;
        }
    }
    return f;
}

}  // namespace sim::gen
