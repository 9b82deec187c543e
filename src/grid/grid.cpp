// Where answers go, whether a candidate fits, and the undo history: plain
// data, so the window, the tests and the benchmarks share the same rules.
#include "grid/grid.h"

#include <algorithm>

namespace sim {

QStringList Letters(const QString& word) {
    QStringList out;
    for (char32_t c : word.toUcs4()) out << QString::fromUcs4(&c, 1);
    return out;
}

int Target(const Geometry& geometry, const Answer& a, int k) {
    return a.across ? a.clue + k : a.clue + geometry.columns * k;
}

bool EdgeRefuses(const Geometry& geometry, const Answer& a, int target, int k, int count) {
    const int columns = geometry.columns;
    if (target < 1 || target > geometry.size()) return true;
    if (a.across && ((target % columns == 0 && k != count) || a.clue % columns == 0)) return true;
    return false;
}

bool WallRefuses(const Grid& g, const Answer& a, int target, int k, int count) {
    return EdgeRefuses(g.geometry(), a, target, k, count) || g[size_t(target)].block;
}

namespace {

// A letter square takes letters only: a blank would leave it looking empty
// while it blocks every crossing, and a digit or a dot is no letter.
bool showable(const QString& letter) {
    const QList<uint> cps = letter.toUcs4();
    return cps.size() == 1 && QChar::isLetter(char32_t(cps[0]));
}

}  // namespace

bool Fits(const Grid& g, const Answer& a, const QString& word) {
    if (!g.geometry().contains(a.clue)) return false;
    const QStringList letters = Letters(word);
    const int count = int(letters.size());
    if (count == 0) return false;
    for (int k = 1; k <= count; ++k) {
        const int t = Target(g, a, k);
        if (WallRefuses(g, a, t, k, count)) return false;
        const QString& letter = letters[k - 1];
        if (!showable(letter)) return false;
        const Square& sq = g[size_t(t)];
        if (sq.caption.isEmpty() || sq.onlyWrittenBy(a)) continue;
        if (sq.isMark() || sq.caption != letter) return false;
    }
    return true;
}

QString Pattern(const Grid& g, const Answer& a, int length) {
    QString out;
    if (!g.geometry().contains(a.clue)) return out;
    for (int k = 1; k <= length; ++k) {
        const int t = Target(g, a, k);
        if (WallRefuses(g, a, t, k, length)) break;
        const Square& sq = g[size_t(t)];
        if (sq.caption.isEmpty() || sq.onlyWrittenBy(a))
            out += '?';
        else if (sq.isMark())
            out += '#';
        else if (sq.caption.trimmed().isEmpty())
            out += '_';
        else
            out += sq.caption;
    }
    return out;
}

Step Diff(const Grid& before, const Grid& after) {
    Step s;
    for (int n = 1; n <= std::min(before.count(), after.count()); ++n)
        if (!(before[size_t(n)] == after[size_t(n)])) s.push_back({n, before[size_t(n)], after[size_t(n)]});
    return s;
}

void History::record(Step s) {
    if (s.empty()) return;
    done_.push_back(std::move(s));
    undone_.clear();
}

const Step* History::undo() {
    if (done_.empty()) return nullptr;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return &undone_.back();
}

const Step* History::redo() {
    if (undone_.empty()) return nullptr;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return &done_.back();
}

void History::clear() {
    done_.clear();
    undone_.clear();
}

}  // namespace sim
