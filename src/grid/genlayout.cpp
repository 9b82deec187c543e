// The layout is found by annealing: squares of the grid flip between clue
// and letter while a cost made of the rules' faults (a broken rule costs
// far more than a clue square) mostly falls. The top row and the left
// column start as clue squares, where every answer along the edges must
// start; the corner shows that a few letters there cannot have both.
#include "grid/genlayout.h"

#include <algorithm>
#include <cmath>

#include "grid/generate.h"

namespace sim::gen {

namespace {

constexpr int kSide = kColumns;

int at(int r, int c) { return r * kSide + c + 1; }

// One direction's runs of letter squares, each with where it starts.
template <typename F>
void eachRun(const Mask& m, bool across, F&& f) {
    for (int line = 0; line < kSide; ++line) {
        int k = 0;
        while (k < kSide) {
            const auto sq = [&](int i) { return across ? at(line, i) : at(i, line); };
            if (m[size_t(sq(k))]) {
                ++k;
                continue;
            }
            const int start = k;
            while (k < kSide && !m[size_t(sq(k))]) ++k;
            f(sq(start), k - start, start == 0);
        }
    }
}

// The top left corner, where the edges meet: its two answers from the
// corner square leave two letters that no clue square can start an across
// answer for, the fewest any corner can.
constexpr const char* kCorner[] = {"#..#", ".##.", "..#.", "#..."};

long cost(const LayoutFaults& f) {
    return 10000L * f.hard + 400L * f.over + 400L * f.edge + 40L * f.single + 4L * f.two + 5L * f.clues;
}

}  // namespace

std::vector<Run> Runs(const Mask& m) {
    std::vector<Run> runs;
    for (bool across : {true, false})
        eachRun(m, across, [&](int first, int length, bool atEdge) {
            if (atEdge || length < 2) return;
            Run r;
            r.answer = {int16_t(across ? first - 1 : first - kSide), across};
            for (int k = 0; k < length; ++k) r.squares.push_back(across ? first + k : first + k * kSide);
            runs.push_back(std::move(r));
        });
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return a.answer.clue != b.answer.clue ? a.answer.clue < b.answer.clue : a.answer.across > b.answer.across;
    });
    return runs;
}

LayoutFaults Faults(const Mask& m, int longest) {
    LayoutFaults f;
    std::array<uint8_t, kSquares + 1> inAnswer{}, starts{};
    for (bool across : {true, false})
        eachRun(m, across, [&](int first, int length, bool atEdge) {
            const int step = across ? 1 : kSide;
            if (length == 1) {
                ++f.single;
                return;
            }
            if (atEdge) {
                f.edge += length;
                return;
            }
            ++starts[size_t(first) - size_t(step)];
            for (int k = 0; k < length; ++k) ++inAnswer[size_t(first) + size_t(k) * size_t(step)];
            if (length > longest) f.over += length - longest;
            if (length == 2) ++f.two;
        });
    for (int n = 1; n <= kSquares; ++n) {
        if (m[size_t(n)]) {
            ++f.clues;
            if (!starts[size_t(n)]) ++f.hard;
        } else if (!inAnswer[size_t(n)]) {
            ++f.hard;
        }
    }
    if (f.clues > kMaxClueSquares) f.hard += f.clues - kMaxClueSquares;
    return f;
}

std::optional<Mask> MakeLayout(const Fixes& fixes, int longest, std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Mask m{};
    std::vector<int> free;
    // The corner as above, unless the composer's grid fixes a square of it.
    bool cornerFree = true;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) cornerFree = cornerFree && fixes[size_t(at(r, c))] == Fixed::Free;
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) {
            const int n = at(r, c);
            if (fixes[size_t(n)] != Fixed::Free) {
                m[size_t(n)] = fixes[size_t(n)] == Fixed::Clue;
                continue;
            }
            if (r < 4 && c < 4) {
                m[size_t(n)] = kCorner[r][c] == '#';
                if (!cornerFree) free.push_back(n);
                continue;
            }
            m[size_t(n)] = r == 0 || c == 0 || unit(rng) < 0.15;
            free.push_back(n);
        }
    if (free.empty()) return Faults(m, longest).hard == 0 ? std::optional<Mask>(m) : std::nullopt;
    std::uniform_int_distribution<size_t> pick(0, free.size() - 1);
    std::uniform_int_distribution<int> edgeAt(4, kSide - 2);
    const auto isFree = [&](int n) { return fixes[size_t(n)] == Fixed::Free; };
    long now = cost(Faults(m, longest));
    Mask best = m;
    long bestCost = now;
    constexpr int kSteps = 40000;
    const double hot = 60.0, cold = 0.5;
    std::vector<int> flip;
    for (int i = 0; i < kSteps; ++i) {
        const double t = hot * std::pow(cold / hot, double(i) / kSteps);
        flip.clear();
        // Mostly one square; now and then two squares of the top row or left
        // column swapped with the two beside them, since an answer along an
        // edge and the clue squares it needs beneath only come together.
        if (unit(rng) < 0.2) {
            const int k = edgeAt(rng);
            const bool top = unit(rng) < 0.5;
            for (int d = 0; d < 2; ++d)
                for (int e = 0; e < 2; ++e) flip.push_back(top ? at(d, k + e) : at(k + e, d));
            if (!std::all_of(flip.begin(), flip.end(), isFree)) continue;
        } else {
            flip.push_back(free[pick(rng)]);
        }
        for (int n : flip) m[size_t(n)] = !m[size_t(n)];
        const long next = cost(Faults(m, longest));
        if (next <= now || unit(rng) < std::exp(double(now - next) / t)) {
            now = next;
            if (now < bestCost) {
                bestCost = now;
                best = m;
            }
        } else {
            for (int n : flip) m[size_t(n)] = !m[size_t(n)];
        }
    }
    const LayoutFaults f = Faults(best, longest);
    if (f.hard > 0 || f.over > 0) return std::nullopt;
    return best;
}

}  // namespace sim::gen
