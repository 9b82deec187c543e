// Making a puzzle: layouts drawn one after another, each filled by the fill
// search from the answers that have clue words (common first, in an order
// the seed stirs within each commonness), until one is filled whole; then
// each answer gets its clue word.
#include "grid/generate.h"

#include <QSet>
#include <algorithm>
#include <memory>
#include <random>
#include <tuple>

#include "grid/document.h"
#include "grid/fill.h"
#include "grid/genlayout.h"
#include "grid/search.h"

namespace sim::gen {

namespace {

bool lettersOnly(const QString& w) {
    return !w.isEmpty() && std::all_of(w.begin(), w.end(), [](QChar c) { return !c.isSurrogate() && c.isLetter(); });
}

uint64_t mix(uint64_t h, uint64_t seed) {
    h ^= seed + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    return h ^ (h >> 33);
}

uint64_t textId(const QString& w) {
    uint64_t h = 1469598103934665603ull;
    for (QChar c : w) h = (h ^ c.unicode()) * 1099511628211ull;
    return h;
}

// Letters as the search's small numbers, the first 255 met.
class Alphabet {
public:
    int add(QChar c) {
        auto it = ids_.find(c.unicode());
        if (it != ids_.end()) return it.value();
        if (ids_.size() >= 255) return -1;
        const int id = int(ids_.size());
        ids_.insert(c.unicode(), id);
        return id;
    }
    int of(QChar c) const { return ids_.value(c.unicode(), -1); }
    int size() const { return int(ids_.size()); }

private:
    QHash<char16_t, int> ids_;
};

struct List {
    std::vector<QString> text;
    std::shared_ptr<const search::WordList> words;
};

List makeList(const QStringList& words, int length, Alphabet& alphabet) {
    List l;
    std::vector<uint8_t> letters;
    std::vector<uint64_t> ids;
    for (const QString& w : words) {
        if (w.size() != length) continue;
        std::vector<uint8_t> code;
        for (QChar c : w) {
            const int id = alphabet.add(c);
            if (id < 0) break;
            code.push_back(uint8_t(id));
        }
        if (int(code.size()) != length) continue;
        letters.insert(letters.end(), code.begin(), code.end());
        ids.push_back(textId(w));
        l.text.push_back(w);
    }
    l.words = std::make_shared<search::WordList>(length, 255, std::move(letters), std::move(ids));
    return l;
}

// What the composer's grid holds that a kept puzzle keeps.
struct Kept {
    Fixes fixes{};
    // By answer: the clue word the user gave, or the word the user picked.
    std::map<std::pair<int, bool>, QString> clue, word;
};

Kept keptFrom(const Grid& g) {
    Kept k;
    for (const Slot& s : Slots(g)) {
        k.fixes[size_t(s.answer.clue)] = Fixed::Clue;
        if (!s.fits) continue;
        for (int t : s.squares) k.fixes[size_t(t)] = Fixed::Letter;
        const int last = s.squares.back();
        const int after = s.answer.across ? last + 1 : last + kColumns;
        const bool inLine = s.answer.across ? last % kColumns != 0 : after <= kSquares;
        if (inLine) k.fixes[size_t(after)] = Fixed::Clue;
        const std::pair<int, bool> key{s.answer.clue, s.answer.across};
        if (!s.open()) k.clue[key] = s.clue;
        if (s.kept) k.word[key] = s.keptWord;
    }
    return k;
}

// The grid a filled layout gives: letters written by their answers, each
// clue square with its counts, clue words and mark.
Grid written(const Grid& base, const Mask& m, const std::vector<Run>& runs, const std::vector<QString>& words,
             const std::vector<QString>& clueWords, const Kept& kept) {
    Grid g = base;
    for (int n = 1; n <= kSquares; ++n) {
        Square& sq = g[size_t(n)];
        const bool keepSquare = kept.fixes[size_t(n)] == Fixed::Clue && m[size_t(n)];
        Square fresh;
        if (keepSquare) {
            fresh.picked1 = sq.picked1;
            fresh.picked2 = sq.picked2;
        }
        sq = fresh;
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        const Run& r = runs[i];
        Square& c = g[size_t(r.answer.clue)];
        (r.answer.across ? c.lengde1 : c.lengde2) = int16_t(r.squares.size());
        (r.answer.across ? c.ord1 : c.ord2) = clueWords[i];
        for (size_t k = 0; k < r.squares.size(); ++k) {
            Square& sq = g[size_t(r.squares[k])];
            sq.caption = words[i].mid(qsizetype(k), 1);
            sq.writers.push_back(r.answer);
        }
    }
    for (int n = 1; n <= kSquares; ++n) {
        Square& sq = g[size_t(n)];
        if (!m[size_t(n)]) continue;
        const bool across = !sq.ord1.isEmpty(), down = !sq.ord2.isEmpty();
        if (across || down) {
            sq.caption = across && down ? "XY" : across ? "X" : "Y";
            sq.back = kClueColour;
            sq.bold = true;
        }
        const auto kept1 = kept.word.find({n, true}), kept2 = kept.word.find({n, false});
        sq.picked1 = sq.picked1 && kept1 != kept.word.end();
        sq.picked2 = sq.picked2 && kept2 != kept.word.end();
    }
    return g;
}

}  // namespace

WordData MakeWordData(const std::vector<Link>& links, const std::map<std::string, int>& ranks) {
    WordData d;
    d.ids_.reserve(links.size() / 2);
    const auto intern = [&](const std::string& w) {
        auto it = d.ids_.find(w);
        if (it == d.ids_.end()) {
            it = d.ids_.emplace(w, int(d.names_.size())).first;
            d.names_.push_back(w);
            auto r = ranks.find(w);
            d.ranks_.push_back(r == ranks.end() ? kNoRank : r->second);
            d.clues_.emplace_back();
            d.listed_.emplace_back();
        }
        return it->second;
    };
    // Whether an answer may go into a grid, by word number: 0 not known yet.
    std::vector<int8_t> fit;
    for (const Link& l : links) {
        if (l.word.empty() || l.answer.size() < 2) continue;
        if (l.word.find(l.answer) != std::string::npos || l.answer.find(l.word) != std::string::npos) continue;
        const int a = intern(l.answer);
        const int w = intern(l.word);
        if (fit.size() < d.names_.size()) fit.resize(d.names_.size(), 0);
        if (fit[size_t(a)] == 0) {
            const QString q = QString::fromStdString(l.answer);
            fit[size_t(a)] = q.size() >= 2 && q.size() < kColumns && lettersOnly(q) ? 1 : -1;
        }
        if (fit[size_t(a)] < 0) continue;
        d.clues_[size_t(a)].push_back(w);
        d.listed_[size_t(w)].push_back(a);
    }
    std::vector<std::pair<int, int>> order;  // (rank, word number)
    for (size_t a = 0; a < d.clues_.size(); ++a) {
        std::vector<int>& c = d.clues_[a];
        if (c.empty()) continue;
        std::sort(c.begin(), c.end(), [&](int x, int y) {
            // A clue square has room for one short word: names of several
            // words, numbers and single letters go after the rest.
            const auto key = [&](int w) {
                const std::string& n = d.names_[size_t(w)];
                const bool plain = n.size() >= 3 && std::all_of(n.begin(), n.end(), [](char ch) {
                                       return (ch >= 'A' && ch <= 'Z') || (ch & 0x80);
                                   });
                return std::tuple(!plain, d.ranks_[size_t(w)], n.size(), w);
            };
            return key(x) < key(y);
        });
        c.erase(std::unique(c.begin(), c.end()), c.end());
        order.push_back({d.ranks_[a], int(a)});
    }
    std::sort(order.begin(), order.end(), [&](const auto& x, const auto& y) {
        return x.first != y.first ? x.first < y.first : d.names_[size_t(x.second)] < d.names_[size_t(y.second)];
    });
    for (const auto& [rank, a] : order) {
        const QString q = QString::fromStdString(d.names_[size_t(a)]);
        d.answers[int(q.size())] << q;
    }
    return d;
}

int WordData::idOf(const QString& word) const {
    auto it = ids_.find(word.toStdString());
    return it == ids_.end() ? -1 : it->second;
}

QStringList WordData::CluesOf(const QString& answer) const {
    QStringList out;
    const int a = idOf(answer);
    if (a >= 0)
        for (int w : clues_[size_t(a)]) out << QString::fromStdString(names_[size_t(w)]);
    return out;
}

QStringList WordData::Listed(const QString& word) const {
    QStringList out;
    const int w = idOf(word);
    if (w >= 0)
        for (int a : listed_[size_t(w)]) out << QString::fromStdString(names_[size_t(a)]);
    out.removeDuplicates();
    return out;
}

int WordData::RankOf(const QString& word) const {
    const int w = idOf(word);
    return w < 0 ? kNoRank : ranks_[size_t(w)];
}

Made Generate(const Grid& start, const WordData& data, const Options& options,
              const std::function<bool(int, int)>& keepGoing) {
    Made made;
    const auto has = [&](int length) {
        auto it = data.answers.find(length);
        return it != data.answers.end() && !it->second.isEmpty();
    };
    QStringList missing;
    for (int length = 2; length <= 5; ++length)
        if (!has(length)) missing << QString::number(length);
    if (!missing.isEmpty()) {
        made.error =
            QString(
                "The word database has no words of %1 letters with clue words (stored words that list "
                "them as a synonym or value); a puzzle needs them.")
                .arg(missing.size() == 1 ? missing.front()
                                         : missing.mid(0, missing.size() - 1).join(", ") + " or " + missing.back());
        return made;
    }
    const Kept kept = options.keep ? keptFrom(start) : Kept{};

    // The answer lists, each stirred by the seed within its commonness.
    Alphabet alphabet;
    std::map<int, List> lists;
    for (const auto& [length, words] : data.answers) {
        // Common words first; among words of one commonness the seed decides.
        std::vector<std::pair<uint64_t, QString>> keyed;
        for (const QString& w : words)
            keyed.push_back({(uint64_t(data.RankOf(w)) << 32) | (mix(textId(w), options.seed) & 0xffffffffu), w});
        std::sort(keyed.begin(), keyed.end());
        QStringList ordered;
        for (auto& [k, w] : keyed) ordered << w;
        lists.emplace(length, makeList(ordered, length, alphabet));
    }

    std::mt19937_64 rng(options.seed);
    int lastDone = 0;
    for (int attempt = 0; attempt < options.layouts; ++attempt) {
        if (keepGoing && !keepGoing(lastDone, 100)) {
            made.cancelled = true;
            return made;
        }
        made.layoutsTried = attempt + 1;
        // Answers of at most six to eight letters: longer ones save clue
        // squares but cost the search far more than they save.
        const int longest = 6 + int(rng() % 3);
        const std::optional<Mask> mask = MakeLayout(kept.fixes, longest, rng);
        if (!mask) continue;
        const std::vector<Run> runs = Runs(*mask);
        search::Problem problem;
        problem.distinct = true;
        std::vector<List> own(runs.size());
        bool possible = true;
        std::vector<std::vector<std::pair<int, int>>> at(size_t(kSquares) + 1);
        for (size_t v = 0; v < runs.size() && possible; ++v) {
            const Run& r = runs[v];
            const int length = int(r.squares.size());
            const std::pair<int, bool> key{r.answer.clue, r.answer.across};
            search::Variable var;
            if (auto w = kept.word.find(key); w != kept.word.end()) {
                own[v] = makeList({w->second}, length, alphabet);
            } else if (auto c = kept.clue.find(key); c != kept.clue.end()) {
                own[v] = makeList(data.Listed(c->second), length, alphabet);
            } else if (auto l = lists.find(length); l != lists.end()) {
                own[v] = l->second;
            } else {
                possible = false;
                break;
            }
            var.words = own[v].words;
            var.allowed = var.words->all();
            for (int k = 0; k < length; ++k) at[size_t(r.squares[size_t(k)])].push_back({int(v), k});
            problem.vars.push_back(std::move(var));
        }
        if (!possible) continue;
        for (const auto& shared : at)
            for (size_t i = 0; i < shared.size(); ++i)
                for (size_t j = 0; j < shared.size(); ++j)
                    if (i != j)
                        problem.vars[size_t(shared[i].first)].crossings.push_back(
                            {shared[i].second, shared[j].first, shared[j].second});
        const auto progress = [&](int placed, int total) {
            lastDone = total > 0 ? 100 * placed / total : 0;
            return !keepGoing || keepGoing(lastDone, 100);
        };
        const search::Outcome o = search::Solve(problem, progress, options.nodesPerLayout);
        if (o.cancelled) {
            made.cancelled = true;
            return made;
        }
        if (std::any_of(o.choice.begin(), o.choice.end(), [](int c) { return c < 0; })) continue;

        std::vector<QString> words(runs.size()), clueWords(runs.size());
        QSet<QString> placed, usedClues;
        for (size_t v = 0; v < runs.size(); ++v) {
            words[v] = own[v].text[size_t(o.choice[v])];
            placed.insert(words[v]);
        }
        for (size_t v = 0; v < runs.size(); ++v) {
            const std::pair<int, bool> key{runs[v].answer.clue, runs[v].answer.across};
            if (auto c = kept.clue.find(key); c != kept.clue.end()) {
                clueWords[v] = c->second;
                usedClues.insert(c->second);
            }
        }
        for (size_t v = 0; v < runs.size(); ++v) {
            if (!clueWords[v].isEmpty()) continue;
            const QStringList candidates = data.CluesOf(words[v]);
            QString pick;
            for (const QString& c : candidates)
                if (!usedClues.contains(c) && !placed.contains(c)) {
                    pick = c;
                    break;
                }
            if (pick.isEmpty() && !candidates.isEmpty()) pick = candidates.front();
            if (pick.isEmpty())
                made.open << words[v];
            else
                usedClues.insert(pick);
            clueWords[v] = pick;
        }
        made.grid = written(start, *mask, runs, words, clueWords, kept);
        made.ok = true;
        return made;
    }
    made.error = QString(
                     "No puzzle could be made: %1 layouts were tried and none could be filled with the answers "
                     "the word database has clue words for.")
                     .arg(options.layouts);
    if (options.keep) made.error += " What you made may leave too little room; try again without keeping it.";
    return made;
}

}  // namespace sim::gen
