// Depth-first branch and bound with forward checking. The answer with the
// fewest words left goes first (ties: the one crossing most open answers);
// its words are tried least constraining first, words already placed
// elsewhere last, and "no word" after every word. Each choice narrows the
// crossing answers to the words with the chosen letter in the shared
// square, one AND of bit sets; an answer left with no word can only stay
// empty. The first complete fill ends the search; otherwise the fill with
// the fewest empty answers found within the budget is the outcome.
#include "grid/search.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <unordered_map>

namespace sim::search {

int Count(const Bits& b) {
    int n = 0;
    for (uint64_t w : b) n += std::popcount(w);
    return n;
}

void AndInto(Bits& dst, const Bits& src) {
    if (src.empty()) {
        std::fill(dst.begin(), dst.end(), 0);
        return;
    }
    for (size_t i = 0; i < dst.size(); ++i) dst[i] &= src[i];
}

namespace {

int CountAnd(const Bits& a, const Bits& b) {
    if (b.empty()) return 0;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += std::popcount(a[i] & b[i]);
    return n;
}

}  // namespace

WordList::WordList(int length, int alphabet, std::vector<uint8_t> letters, std::vector<uint64_t> ids)
    : length_(length),
      alphabet_(alphabet),
      size_(length > 0 ? int(letters.size() / size_t(length)) : 0),
      letters_(std::move(letters)),
      ids_(std::move(ids)),
      index_(size_t(length) * size_t(alphabet)) {
    const size_t words = (size_t(size_) + 63) / 64;
    for (int w = 0; w < size_; ++w)
        for (int p = 0; p < length_; ++p) {
            Bits& b = index_[size_t(p) * size_t(alphabet_) + letter(w, p)];
            if (b.empty()) b.assign(words, 0);
            b[size_t(w) / 64] |= uint64_t(1) << (w % 64);
        }
}

Bits WordList::all() const {
    Bits b((size_t(size_) + 63) / 64, ~uint64_t(0));
    if (size_ % 64) b.back() = (uint64_t(1) << (size_ % 64)) - 1;
    return b;
}

namespace {

class Search {
public:
    Search(const Problem& p, const std::function<bool(int, int)>& keepGoing, long budget)
        : p_(p), keepGoing_(keepGoing), budget_(budget), n_(int(p.vars.size())) {
        live_.reserve(size_t(n_));
        for (const Variable& v : p.vars) {
            live_.push_back(v.allowed);
            count_.push_back(Count(v.allowed));
        }
        value_.assign(size_t(n_), kOpen);
    }

    Outcome run() {
        dfs();
        Outcome o;
        o.choice = best_;
        for (int& c : o.choice)
            if (c < 0) c = -1;
        if (o.choice.empty()) o.choice.assign(size_t(n_), -1);
        o.cancelled = cancelled_;
        o.settled = !cancelled_ && !overBudget_;
        o.nodes = nodes_;
        return o;
    }

private:
    static constexpr int kOpen = -1, kEmpty = -2;

    const Variable& var(int v) const { return p_.vars[size_t(v)]; }

    void dfs() {
        if (stop_) return;
        ++nodes_;
        if (nodes_ % 512 == 0 && keepGoing_) {
            const int placed = bestEmpties_ == INT_MAX ? 0 : n_ - bestEmpties_;
            if (!keepGoing_(placed, n_)) {
                cancelled_ = stop_ = true;
                return;
            }
        }
        if (nodes_ > budget_ && bestEmpties_ != INT_MAX) {
            overBudget_ = stop_ = true;
            return;
        }
        int v = -1, zeros = 0, bestDegree = -1;
        for (int u = 0; u < n_; ++u) {
            if (value_[size_t(u)] != kOpen) continue;
            const int c = count_[size_t(u)];
            if (c == 0) ++zeros;
            if (v >= 0 && c > count_[size_t(v)]) continue;
            int degree = 0;
            for (const Crossing& x : var(u).crossings) degree += value_[size_t(x.other)] == kOpen;
            if (v < 0 || c < count_[size_t(v)] || degree > bestDegree) {
                v = u;
                bestDegree = degree;
            }
        }
        if (v < 0) {
            if (empties_ < bestEmpties_) {
                bestEmpties_ = empties_;
                best_ = value_;
                if (empties_ == 0) stop_ = true;
            }
            return;
        }
        if (empties_ + zeros >= bestEmpties_) return;
        if (count_[size_t(v)] > 0) {
            for (int w : order(v)) {
                assign(v, w);
                if (stop_) return;
            }
        }
        // No word for v: it stays empty and binds none of its squares.
        if (empties_ + 1 + zeros - (count_[size_t(v)] == 0) >= bestEmpties_) return;
        value_[size_t(v)] = kEmpty;
        ++empties_;
        dfs();
        --empties_;
        value_[size_t(v)] = kOpen;
    }

    void assign(int v, int w) {
        const size_t mark = trail_.size();
        value_[size_t(v)] = w;
        const WordList& words = *var(v).words;
        ++used_[words.id(w)];
        for (const Crossing& x : var(v).crossings) {
            if (value_[size_t(x.other)] != kOpen) continue;
            const size_t u = size_t(x.other);
            trail_.push_back({x.other, live_[u], count_[u]});
            AndInto(live_[u], var(x.other).words->with(x.otherPos, words.letter(w, x.pos)));
            count_[u] = Count(live_[u]);
        }
        dfs();
        while (trail_.size() > mark) {
            Saved& s = trail_.back();
            live_[size_t(s.var)] = std::move(s.live);
            count_[size_t(s.var)] = s.count;
            trail_.pop_back();
        }
        if (--used_[words.id(w)] == 0) used_.erase(words.id(w));
        value_[size_t(v)] = kOpen;
    }

    // The words left for v, in the order to try them.
    std::vector<int> order(int v) {
        const Bits& b = live_[size_t(v)];
        std::vector<int> ws;
        ws.reserve(size_t(count_[size_t(v)]));
        for (size_t i = 0; i < b.size(); ++i)
            for (uint64_t x = b[i]; x; x &= x - 1) ws.push_back(int(i * 64 + size_t(std::countr_zero(x))));
        const WordList& words = *var(v).words;
        const auto used = [&](int w) { return used_.count(words.id(w)) > 0; };
        if (p_.distinct) std::erase_if(ws, used);
        if (ws.size() > 512) {
            std::stable_partition(ws.begin(), ws.end(), [&](int w) { return !used(w); });
            return ws;
        }
        // Least constraining first: the more words a choice leaves the
        // crossing answers, the better; a choice that leaves one of them
        // none goes after all others.
        struct Scored {
            int word;
            bool used;
            int wipes;
            double score;
        };
        std::vector<Scored> scored;
        scored.reserve(ws.size());
        std::vector<std::vector<int>> cache;
        for (const Crossing& x : var(v).crossings) cache.emplace_back(value_[size_t(x.other)] == kOpen ? 256 : 0, -1);
        for (int w : ws) {
            Scored s{w, used(w), 0, 0.0};
            for (size_t k = 0; k < var(v).crossings.size(); ++k) {
                const Crossing& x = var(v).crossings[k];
                if (cache[k].empty()) continue;
                const uint8_t letter = words.letter(w, x.pos);
                int& c = cache[k][letter];
                if (c < 0) c = CountAnd(live_[size_t(x.other)], var(x.other).words->with(x.otherPos, letter));
                if (c == 0) ++s.wipes;
                s.score += std::log(1.0 + c);
            }
            scored.push_back(s);
        }
        std::stable_sort(scored.begin(), scored.end(), [](const Scored& x, const Scored& y) {
            if (x.used != y.used) return !x.used;
            if (x.wipes != y.wipes) return x.wipes < y.wipes;
            return x.score > y.score;
        });
        for (size_t i = 0; i < scored.size(); ++i) ws[i] = scored[i].word;
        return ws;
    }

    struct Saved {
        int var;
        Bits live;
        int count;
    };

    const Problem& p_;
    const std::function<bool(int, int)>& keepGoing_;
    const long budget_;
    const int n_;
    std::vector<Bits> live_;
    std::vector<int> count_;
    std::vector<int> value_;
    std::unordered_map<uint64_t, int> used_;  // words placed, by id
    std::vector<Saved> trail_;
    std::vector<int> best_;
    int empties_ = 0;
    int bestEmpties_ = INT_MAX;
    long nodes_ = 0;
    bool stop_ = false, cancelled_ = false, overBudget_ = false;
};

}  // namespace

Outcome Solve(const Problem& p, const std::function<bool(int, int)>& keepGoing, long nodeBudget) {
    return Search(p, keepGoing, nodeBudget).run();
}

}  // namespace sim::search
