// From the grid to the search and back: which answers there are, what
// binds them (the letters of kept answers, the squares two answers share),
// the word lists turned into numbered letters, and the chosen words
// written into a copy of the grid.
#include "grid/fill.h"

#include <QSet>
#include <algorithm>
#include <memory>

#include "grid/search.h"

namespace sim {

namespace {

bool worded(const Square& sq) { return sq.isMark() || !sq.ord1.isEmpty() || !sq.ord2.isEmpty(); }

int countOf(const Square& sq, bool across) { return across ? sq.lengde1 : sq.lengde2; }

// Squares a clued answer runs over, within the edges and blocks.
std::vector<int> reach(const Grid& g, const Answer& a, int length) {
    std::vector<int> out;
    for (int k = 1; k <= length; ++k) {
        const int t = Target(g, a, k);
        if (WallRefuses(g, a, t, k, length)) break;
        out.push_back(t);
    }
    return out;
}

bool writtenBy(const Square& sq, const Answer& a) {
    return !sq.caption.isEmpty() && !sq.bold && std::find(sq.writers.begin(), sq.writers.end(), a) != sq.writers.end();
}

}  // namespace

QString AnswerLetters(const QString& candidate) {
    const auto joiner = [](char32_t c) { return QChar::isSpace(c) || c == '-' || c == '\'' || c == 0x2019; };
    QString out;
    bool joined = false;
    for (qsizetype i = 0; i < candidate.size(); ++i) {
        const qsizetype from = i;
        char32_t c = candidate[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < candidate.size() && candidate[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(candidate[i], candidate[i + 1]);
            ++i;
        }
        if (joiner(c)) {
            if (!joined) out = candidate.left(from);
            joined = true;
        } else if (!QChar::isLetter(c)) {
            return {};
        } else if (joined) {
            out += QStringView(candidate).mid(from, i - from + 1);
        }
    }
    return joined ? out : candidate;  // most words are letters only: no copy
}

std::vector<Slot> Slots(const Grid& g) {
    // Plain squares with a count inside a clued answer are letter squares.
    std::vector<bool> inClued(g.size(), false);
    for (int n = 1; n <= g.count(); ++n) {
        if (!worded(g[size_t(n)])) continue;
        for (bool across : {true, false})
            for (int t : reach(g, {int16_t(n), across}, countOf(g[size_t(n)], across))) inClued[size_t(t)] = true;
    }
    std::vector<bool> clue(g.size(), false);
    for (int n = 1; n <= g.count(); ++n) {
        const Square& sq = g[size_t(n)];
        clue[size_t(n)] = worded(sq) || ((sq.lengde1 > 0 || sq.lengde2 > 0) && !inClued[size_t(n)]);
    }
    std::vector<Slot> answers;
    for (int n = 1; n <= g.count(); ++n) {
        if (!clue[size_t(n)]) continue;
        const Square& sq = g[size_t(n)];
        for (bool across : {true, false}) {
            const int length = countOf(sq, across);
            if (length <= 0) continue;
            Slot s;
            s.answer = {int16_t(n), across};
            s.clue = across ? sq.ord1 : sq.ord2;
            s.length = length;
            for (int t : reach(g, s.answer, length)) {
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

// The words an answer may take: an open answer's of its length, else its
// clue word's of its length; none when there are none.
const QStringList& wordsFor(const FillWords& words, const Slot& s) {
    static const QStringList none;
    if (s.open()) {
        auto it = words.byLength.find(s.length);
        return it != words.byLength.end() ? it->second : none;
    }
    auto it = words.byClue.find({s.clue, s.length});
    return it != words.byClue.end() ? it->second : none;
}

// Letters as small numbers for the search: the first 255 the fill meets.
class Alphabet {
public:
    Alphabet() : ids_(65536, -1) {}
    void add(QChar c) {
        int16_t& id = ids_[c.unicode()];
        if (id < 0 && count_ < 255) id = int16_t(count_++);
    }
    int of(QChar c) const { return ids_[c.unicode()]; }
    int size() const { return count_; }

private:
    std::vector<int16_t> ids_;
    int count_ = 0;
};

// Whether a word can fill an answer of `length` squares: that many letters,
// each one a square can show.
bool usable(const QString& w, int length) {
    const QString letters = AnswerLetters(w);
    return letters.size() == length &&
           std::none_of(letters.begin(), letters.end(), [](QChar c) { return c.isSurrogate(); });
}

// The same number for the same word in every list.
uint64_t textId(const QString& w) {
    uint64_t h = 1469598103934665603ull;
    for (QChar c : w) h = (h ^ c.unicode()) * 1099511628211ull;
    return h;
}

// One word list of the fill: the words' texts and the search's view of them.
struct Built {
    std::vector<QString> text;
    std::shared_ptr<const search::WordList> list;
};

// Small lists lose their repeats; in a long list a repeat costs less than
// looking for it.
Built build(const QStringList& words, int length, const Alphabet& alphabet) {
    Built b;
    std::vector<uint8_t> letters;
    std::vector<uint64_t> ids;
    QSet<QString> seen;
    const bool small = words.size() < 2000;
    for (const QString& w : words) {
        if (!usable(w, length)) continue;
        const QString l = AnswerLetters(w);
        if (!std::all_of(l.begin(), l.end(), [&](QChar c) { return alphabet.of(c) >= 0; })) continue;
        if (small) {
            if (seen.contains(l)) continue;
            seen.insert(l);
        }
        for (QChar c : l) letters.push_back(uint8_t(alphabet.of(c)));
        ids.push_back(textId(l));
        b.text.push_back(w);
    }
    b.list =
        std::make_shared<search::WordList>(length, std::max(1, alphabet.size()), std::move(letters), std::move(ids));
    return b;
}

}  // namespace

FillResult Fill(const Grid& g, const std::vector<Slot>& answers, const FillWords& words,
                const std::function<bool(int, int)>& keepGoing) {
    FillResult result;
    result.words.assign(answers.size(), QString());

    // Letters fixed before the search: those of kept answers.
    std::vector<QString> fixed(g.size());
    for (size_t i = 0; i < answers.size(); ++i) {
        if (!answers[i].kept) continue;
        result.words[i] = answers[i].keptWord;
        for (int t : answers[i].squares) fixed[size_t(t)] = g[size_t(t)].caption;
    }

    // The word lists, each built once however many answers share it. The
    // letters are numbered first, so that every list indexes them all.
    std::map<std::pair<QString, int>, const QStringList*> sources;
    std::vector<size_t> slotOf;
    for (size_t i = 0; i < answers.size(); ++i) {
        const Slot& s = answers[i];
        if (!s.fits || s.kept) continue;
        const std::pair<QString, int> key{s.clue, s.length};
        if (!sources.count(key)) sources.emplace(key, &wordsFor(words, s));
        slotOf.push_back(i);
    }
    Alphabet alphabet;
    for (const auto& [key, list] : sources)
        for (const QString& w : *list)
            if (usable(w, key.second))
                for (QChar c : AnswerLetters(w)) alphabet.add(c);
    std::map<std::pair<QString, int>, Built> built;
    for (const auto& [key, list] : sources) built.emplace(key, build(*list, key.second, alphabet));

    search::Problem problem;
    std::vector<std::vector<std::pair<int, int>>> at(g.size());  // (variable, position)
    for (size_t v = 0; v < slotOf.size(); ++v) {
        const Slot& s = answers[slotOf[v]];
        search::Variable var;
        var.words = built.at({s.clue, s.length}).list;
        var.allowed = var.words->all();
        for (int k = 0; k < s.length; ++k) {
            const int t = s.squares[size_t(k)];
            at[size_t(t)].push_back({int(v), k});
            if (fixed[size_t(t)].isEmpty()) continue;
            const QString& f = fixed[size_t(t)];
            const int letter = f.size() == 1 ? alphabet.of(f[0]) : -1;
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
        result.words[slotOf[v]] = built.at({s.clue, s.length}).text[size_t(w)];
    }
    return result;
}

void PreferForOpenAnswers(const std::vector<Slot>& answers, const FillWords& words, FillResult& r,
                          const std::function<bool(const QString&)>& wanted, int tries) {
    // How many filled answers pass through each square.
    std::map<int, int> passing;
    QSet<QString> placed;
    for (size_t i = 0; i < answers.size(); ++i) {
        if (r.words[i].isEmpty()) continue;
        placed.insert(r.words[i]);
        for (int t : answers[i].squares) ++passing[t];
    }
    for (size_t i = 0; i < answers.size(); ++i) {
        const Slot& s = answers[i];
        const QString word = r.words[i];
        if (!s.open() || s.kept || word.isEmpty() || wanted(word)) continue;
        const QString shown = AnswerLetters(word);
        auto list = words.byLength.find(s.length);
        if (list == words.byLength.end()) continue;
        int asked = 0;
        for (const QString& other : list->second) {
            if (asked >= tries) break;
            if (!usable(other, s.length) || placed.contains(other)) continue;
            const QString letters = AnswerLetters(other);
            bool same = true;
            for (int k = 0; k < s.length && same; ++k)
                same = passing[s.squares[size_t(k)]] < 2 || letters[k] == shown[k];
            if (!same) continue;
            ++asked;
            if (!wanted(other)) continue;
            placed.remove(word);
            placed.insert(other);
            r.words[i] = other;
            break;
        }
    }
}

Grid Filled(const Grid& g, const std::vector<Slot>& answers, const FillResult& r) {
    Grid out = g;
    for (Square& sq : out) sq.flagged = false;
    std::vector<bool> fixed(g.size(), false);
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
        const QStringList letters = Letters(AnswerLetters(word));
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

namespace {

QString place(const Geometry& g, int n) { return QString("row %1, column %2").arg(g.RowOf(n)).arg(g.ColumnOf(n)); }

// Why an answer stayed empty: no room, no word of its length, or the
// crossing whose letter, after those before it, leaves none of its words.
QString why(const Grid& filled, const Slot& s, const FillWords& words) {
    if (!s.fits) return QString("no room for %1 letters").arg(s.length);
    const QStringList* list = &wordsFor(words, s);
    // Each word fails at its first crossing in the answer's order; the
    // crossing named is the last of these, where no word is left.
    int last = -1;
    bool any = false;
    for (const QString& w : *list) {
        if (!usable(w, s.length)) continue;
        any = true;
        const QString letters = AnswerLetters(w);
        int k = 0;
        while (k < s.length && (filled[size_t(s.squares[size_t(k)])].caption.isEmpty() ||
                                filled[size_t(s.squares[size_t(k)])].caption == letters[k]))
            ++k;
        if (k == s.length) return "no word that fits its crossings was reached";
        last = std::max(last, k);
    }
    if (!any) return "no word of that length";
    return "the crossing at " + place(filled.geometry(), s.squares[size_t(last)]);
}

}  // namespace

QString FillReport(const Grid& filled, const std::vector<Slot>& answers, const FillWords& words, const FillResult& r) {
    QStringList lines;
    for (size_t i = 0; i < answers.size(); ++i) {
        if (!r.words[i].isEmpty()) continue;
        const Slot& s = answers[i];
        const QString name = s.open() ? QString("an open answer of %1 letters").arg(s.length) : s.clue;
        lines << QString("%1, %2 from %3: %4")
                     .arg(name, s.answer.across ? "across" : "down", place(filled.geometry(), s.answer.clue),
                          why(filled, s, words));
    }
    if (lines.isEmpty()) return {};
    const int n = int(lines.size());
    // A message box has room for a list of about this many.
    constexpr int kListed = 20;
    QString list = lines.mid(0, kListed).join("\n");
    if (n > kListed) list += QString("\nand %1 more").arg(n - kListed);
    QString text =
        n == 1 ? QString("1 answer could not be filled:\n%1\nIts clue square is framed in red.").arg(list)
               : QString("%1 answers could not be filled:\n%2\nTheir clue squares are framed in red.").arg(n).arg(list);
    if (!r.settled) text += " The search stopped at its limit; a fuller fill may exist.";
    return text;
}

QString OpenAnswerShown(const Grid& g, const Answer& a, int length) {
    if (!g.geometry().contains(a.clue) || length <= 0) return {};
    QString word;
    for (int k = 1; k <= length; ++k) {
        const int t = Target(g, a, k);
        if (WallRefuses(g, a, t, k, length) || !writtenBy(g[size_t(t)], a)) return {};
        word += g[size_t(t)].caption;
    }
    return word;
}

}  // namespace sim
