// From the grid to the search and back: which answers there are, what
// binds them (the letters of kept answers, the squares two answers share),
// the word lists turned into numbered letters, and the chosen words
// written into a copy of the grid.
#include "simulator/fill.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <memory>

#include "simulator/search.h"

namespace sim {

namespace {

bool worded(const Square& sq) { return sq.isMark() || !sq.ord1.isEmpty() || !sq.ord2.isEmpty(); }

int countOf(const Square& sq, bool across) { return across ? sq.lengde1 : sq.lengde2; }

// Squares a clued answer runs over, within the edges.
std::vector<int> reach(const Answer& a, int length) {
    std::vector<int> out;
    for (int k = 1; k <= length; ++k) {
        const int t = Target(a, k);
        if (EdgeRefuses(a, t, k, length)) break;
        out.push_back(t);
    }
    return out;
}

bool writtenBy(const Square& sq, const Answer& a) {
    return !sq.caption.isEmpty() && !sq.bold && std::find(sq.writers.begin(), sq.writers.end(), a) != sq.writers.end();
}

}  // namespace

std::vector<Slot> Slots(const Grid& g) {
    // Plain squares with a count inside a clued answer are letter squares.
    std::vector<bool> inClued(size_t(kSquares) + 1, false);
    for (int n = 1; n <= kSquares; ++n) {
        if (!worded(g[size_t(n)])) continue;
        for (bool across : {true, false})
            for (int t : reach({int16_t(n), across}, countOf(g[size_t(n)], across))) inClued[size_t(t)] = true;
    }
    std::vector<bool> clue(size_t(kSquares) + 1, false);
    for (int n = 1; n <= kSquares; ++n) {
        const Square& sq = g[size_t(n)];
        clue[size_t(n)] = worded(sq) || ((sq.lengde1 > 0 || sq.lengde2 > 0) && !inClued[size_t(n)]);
    }
    std::vector<Slot> answers;
    for (int n = 1; n <= kSquares; ++n) {
        if (!clue[size_t(n)]) continue;
        const Square& sq = g[size_t(n)];
        for (bool across : {true, false}) {
            const int length = countOf(sq, across);
            if (length <= 0) continue;
            Slot s;
            s.answer = {int16_t(n), across};
            s.clue = across ? sq.ord1 : sq.ord2;
            s.length = length;
            for (int t : reach(s.answer, length)) {
                if (clue[size_t(t)]) break;
                s.squares.push_back(t);
            }
            s.fits = int(s.squares.size()) == length;
            if (s.fits && (across ? sq.picked1 : sq.picked2)) {
                s.kept = std::all_of(s.squares.begin(), s.squares.end(),
                                     [&](int t) { return writtenBy(g[size_t(t)], s.answer); });
                if (s.kept)
                    for (int t : s.squares) s.keptWord += g[size_t(t)].caption;
            }
            answers.push_back(std::move(s));
        }
    }
    return answers;
}

std::set<std::pair<QString, int>> CluesNeeded(const std::vector<Slot>& answers) {
    std::set<std::pair<QString, int>> out;
    for (const Slot& s : answers)
        if (s.fits && !s.kept && !s.open()) out.insert({s.clue, s.length});
    return out;
}

std::set<int> OpenLengthsNeeded(const std::vector<Slot>& answers) {
    std::set<int> out;
    for (const Slot& s : answers)
        if (s.fits && !s.kept && s.open()) out.insert(s.length);
    return out;
}

int FillResult::unfilled() const {
    return int(std::count_if(words.begin(), words.end(), [](const QString& w) { return w.isEmpty(); }));
}

namespace {

// Letters and words as numbers for the search.
class Numbering {
public:
    int letter(char32_t c) {
        auto it = letters_.find(c);
        if (it != letters_.end()) return it.value();
        if (letters_.size() >= 255) return -1;  // more than a list can index
        const int id = int(letters_.size());
        letters_.insert(c, id);
        return id;
    }
    int letterIfKnown(char32_t c) const { return letters_.value(c, -1); }
    int word(const QString& w) {
        auto it = words_.find(w);
        if (it != words_.end()) return it.value();
        const int id = int(words_.size());
        words_.insert(w, id);
        return id;
    }
    int words() const { return int(words_.size()); }
    int letters() const { return int(letters_.size()); }

private:
    QHash<char32_t, int> letters_;
    QHash<QString, int> words_;
};

// A list's words that fit an answer of `length` squares: that many
// characters, each a letter or digit a square can show; each word once.
struct Prepared {
    std::vector<QString> text;
    std::vector<std::vector<char32_t>> letters;
};

Prepared prepare(const QStringList& words, int length) {
    Prepared p;
    QSet<QString> seen;
    for (const QString& w : words) {
        const QList<uint> cps = w.toUcs4();
        if (int(cps.size()) != length) continue;
        if (!std::all_of(cps.begin(), cps.end(), [](uint c) { return QChar::isLetterOrNumber(char32_t(c)); }))
            continue;
        if (seen.contains(w)) continue;
        seen.insert(w);
        p.text.push_back(w);
        p.letters.emplace_back(cps.begin(), cps.end());
    }
    return p;
}

}  // namespace

FillResult Fill(const Grid& g, const std::vector<Slot>& answers, const FillWords& words,
                const std::function<bool(int, int)>& keepGoing) {
    FillResult result;
    result.words.assign(answers.size(), QString());

    // Letters fixed before the search: those of kept answers.
    std::vector<QString> fixed(size_t(kSquares) + 1);
    for (size_t i = 0; i < answers.size(); ++i) {
        if (!answers[i].kept) continue;
        result.words[i] = answers[i].keptWord;
        for (int t : answers[i].squares) fixed[size_t(t)] = g[size_t(t)].caption;
    }

    // The word lists, each built once however many answers share it.
    Numbering numbers;
    std::map<std::pair<QString, int>, Prepared> prepared;
    std::vector<int> varOf(answers.size(), -1);
    std::vector<size_t> slotOf;
    for (size_t i = 0; i < answers.size(); ++i) {
        const Slot& s = answers[i];
        if (!s.fits || s.kept) continue;
        const std::pair<QString, int> key{s.clue, s.length};
        if (!prepared.count(key)) {
            static const QStringList none;
            const QStringList* list = &none;
            if (s.open()) {
                auto it = words.byLength.find(s.length);
                if (it != words.byLength.end()) list = &it->second;
            } else {
                auto it = words.byClue.find(key);
                if (it != words.byClue.end()) list = &it->second;
            }
            prepared.emplace(key, prepare(*list, s.length));
        }
        varOf[i] = int(slotOf.size());
        slotOf.push_back(i);
    }
    // Letters are numbered before the lists are built: every list indexes
    // the whole alphabet.
    for (auto& [key, p] : prepared)
        for (auto& w : p.letters)
            for (char32_t c : w) numbers.letter(c);
    std::map<std::pair<QString, int>, std::shared_ptr<const search::WordList>> lists;
    const int alphabet = std::max(1, numbers.letters());
    for (auto& [key, p] : prepared) {
        std::vector<uint8_t> letters;
        std::vector<int> ids;
        std::vector<QString> usable;  // the texts in the order of the list
        letters.reserve(p.letters.size() * size_t(key.second));
        for (size_t w = 0; w < p.letters.size(); ++w) {
            const auto& cs = p.letters[w];
            if (!std::all_of(cs.begin(), cs.end(), [&](char32_t c) { return numbers.letterIfKnown(c) >= 0; }))
                continue;
            for (char32_t c : cs) letters.push_back(uint8_t(numbers.letterIfKnown(c)));
            ids.push_back(numbers.word(p.text[w]));
            usable.push_back(p.text[w]);
        }
        lists[key] = std::make_shared<search::WordList>(key.second, alphabet, std::move(letters), std::move(ids));
        p.text = std::move(usable);
        p.letters.clear();
    }

    search::Problem problem;
    std::vector<std::vector<std::pair<int, int>>> at(size_t(kSquares) + 1);  // (variable, position)
    for (size_t v = 0; v < slotOf.size(); ++v) {
        const Slot& s = answers[slotOf[v]];
        search::Variable var;
        var.words = lists.at({s.clue, s.length});
        var.allowed = var.words->all();
        for (int k = 0; k < s.length; ++k) {
            const int t = s.squares[size_t(k)];
            at[size_t(t)].push_back({int(v), k});
            if (fixed[size_t(t)].isEmpty()) continue;
            const QList<uint> cps = fixed[size_t(t)].toUcs4();
            const int letter = cps.size() == 1 ? numbers.letterIfKnown(char32_t(cps[0])) : -1;
            if (letter < 0)
                std::fill(var.allowed.begin(), var.allowed.end(), 0);
            else
                search::AndInto(var.allowed, var.words->with(k, letter));
        }
        problem.vars.push_back(std::move(var));
    }
    for (const auto& shared : at)
        for (size_t i = 0; i < shared.size(); ++i)
            for (size_t j = 0; j < shared.size(); ++j)
                if (i != j && shared[i].first != shared[j].first)
                    problem.vars[size_t(shared[i].first)].crossings.push_back(
                        {shared[i].second, shared[j].first, shared[j].second});
    problem.wordIds = numbers.words();

    const int keptCount = int(answers.size() - slotOf.size());
    const auto progress = [&](int placed, int) {
        return !keepGoing || keepGoing(placed + keptCount, int(answers.size()));
    };
    const search::Outcome o = search::Solve(problem, progress);
    result.cancelled = o.cancelled;
    result.settled = o.settled;
    result.nodes = o.nodes;
    for (size_t v = 0; v < slotOf.size(); ++v) {
        const int w = o.choice[v];
        if (w < 0) continue;
        const Slot& s = answers[slotOf[v]];
        result.words[slotOf[v]] = prepared.at({s.clue, s.length}).text[size_t(w)];
    }
    return result;
}

Grid Filled(const Grid& g, const std::vector<Slot>& answers, const FillResult& r) {
    Grid out = g;
    for (int n = 1; n <= kSquares; ++n) out[size_t(n)].flagged = false;
    std::vector<bool> fixed(size_t(kSquares) + 1, false);
    for (const Slot& s : answers)
        if (s.kept)
            for (int t : s.squares) fixed[size_t(t)] = true;
    for (const Slot& s : answers) {
        if (s.kept) continue;
        for (int t : s.squares)
            if (!fixed[size_t(t)]) {
                Square& sq = out[size_t(t)];
                sq.caption.clear();
                sq.bold = false;
                sq.writers.clear();
            }
    }
    for (size_t i = 0; i < answers.size(); ++i) {
        const Slot& s = answers[i];
        const QString& word = r.words[i];
        if (s.kept) continue;
        if (word.isEmpty()) {
            out[size_t(s.answer.clue)].flagged = true;
            continue;
        }
        const QStringList letters = Letters(word);
        for (size_t k = 0; k < s.squares.size() && k < size_t(letters.size()); ++k) {
            Square& sq = out[size_t(s.squares[k])];
            if (sq.caption != letters[qsizetype(k)]) {
                sq.caption = letters[qsizetype(k)];
                sq.writers.clear();
            }
            sq.bold = false;
            if (std::find(sq.writers.begin(), sq.writers.end(), s.answer) == sq.writers.end())
                sq.writers.push_back(s.answer);
        }
    }
    return out;
}

QString FillReport(const std::vector<Slot>& answers, const FillResult& r) {
    QStringList names;
    for (size_t i = 0; i < answers.size(); ++i) {
        if (!r.words[i].isEmpty()) continue;
        const Slot& s = answers[i];
        const QString way = s.answer.across ? "across" : "down";
        names << (s.open() ? QString("an open answer of %1 letters (%2)").arg(s.length).arg(way)
                           : QString("%1 (%2)").arg(s.clue, way));
    }
    if (names.isEmpty()) return {};
    const int n = int(names.size());
    QString text = n == 1 ? QString("1 answer could not be filled: %1. Its clue square is framed in red.")
                                .arg(names.front())
                          : QString("%1 answers could not be filled: %2. Their clue squares are framed in red.")
                                .arg(n)
                                .arg(names.join(", "));
    if (!r.settled) text += " The search stopped at its limit; a fuller fill may exist.";
    return text;
}

QString OpenAnswerShown(const Grid& g, const Answer& a, int length) {
    if (a.clue < 1 || a.clue > kSquares || length <= 0) return {};
    QString word;
    for (int k = 1; k <= length; ++k) {
        const int t = Target(a, k);
        if (EdgeRefuses(a, t, k, length) || !writtenBy(g[size_t(t)], a)) return {};
        word += g[size_t(t)].caption;
    }
    return word;
}

}  // namespace sim
