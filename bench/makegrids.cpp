// Makes a benchmark grid: a random arrow-word layout (clue squares along
// the top row and the left column and scattered inside, no run of letters
// longer than ten), filled from every word the database gives as some clue
// word's synonym or value, after which each answer gets a clue word that
// lists it. Answers the fill left empty are dropped, so a fill exists.
// With OPEN, that many answers of 4 to 7 letters are left without a clue
// word, to be filled from every stored word; with SWAPS, the clue words of
// that many pairs of answers of one length change places, so that some
// answers clash (a grid that cannot be filled whole).
//   velmora_makegrids DB OUT.ipuz SEED [DENSITY [OPEN [SWAPS]]]
//   velmora_makegrids --convert IN.grid OUT.ipuz     (the text form to ipuz)
#include <QString>
#include <algorithm>
#include <cstdio>
#include <random>

#include "grid/fill.h"
#include "gridfile.h"
#include "store/wordstore.h"

namespace {

bool plainWord(const std::string& w, size_t most) {
    return w.size() >= 2 && w.size() <= most &&
           std::all_of(w.begin(), w.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--convert")
        return bench::WriteGridFile(argv[3], bench::ReadGridFile(argv[2]), QString(argv[3]).section('/', -1)) ? 0 : 1;
    if (argc < 4) {
        std::fprintf(stderr, "usage: velmora_makegrids DB OUT.ipuz SEED [DENSITY [OPEN]]\n");
        return 2;
    }
    store::Connection db(argv[1]);  // a SQLite word database, read with its own SQL
    std::mt19937 rng(unsigned(std::stoul(argv[3])));
    const double density = argc > 4 ? std::stod(argv[4]) : 0.2;
    int open = argc > 5 ? std::stoi(argv[5]) : 0;
    const int swaps = argc > 6 ? std::stoi(argv[6]) : 0;

    sim::FillWords words;
    {
        auto st = db.prepare("SELECT Synonym FROM T_OrdSynonym UNION SELECT Verdi FROM T_OrdVerdi");
        std::map<int, std::vector<QString>> byLength;
        while (st.step()) {
            const std::string w = st.text(0);
            if (plainWord(w, 10)) byLength[int(w.size())].push_back(QString::fromStdString(w));
        }
        for (auto& [n, list] : byLength) {
            std::shuffle(list.begin(), list.end(), rng);
            words.byLength[n] = QStringList(list.begin(), list.end());
        }
    }

    // The layout, on the grid the windows show.
    const sim::Geometry geometry;
    const int size = geometry.size(), columns = geometry.columns;
    std::vector<bool> clue(size_t(size) + 1, false);
    std::bernoulli_distribution inside(density);
    for (int n = 1; n <= size; ++n)
        clue[size_t(n)] = geometry.RowOf(n) == 1 || geometry.ColumnOf(n) == 1 || inside(rng);
    // The clue flag of square n (1-based).
    const auto at = [&](int n) { return clue[static_cast<size_t>(n)]; };
    const auto runAcross = [&](int n) {
        int k = 0;
        while ((n + k) % columns != 0 && !at(n + k + 1)) ++k;
        return k;
    };
    const auto runDown = [&](int n) {
        int k = 0;
        while (n + columns * (k + 1) <= size && !at(n + columns * (k + 1))) ++k;
        return k;
    };
    for (bool changed = true; changed;) {
        changed = false;
        for (int n = 1; n <= size; ++n) {
            if (!at(n)) continue;
            if (runAcross(n) > 10) clue[size_t(n) + 5 + size_t(rng() % 5)] = changed = true;
            if (runDown(n) > 10) clue[size_t(n) + size_t(columns) * (5 + size_t(rng() % 5))] = changed = true;
        }
        // A letter in no answer of two letters or more becomes a clue square.
        for (int n = 1; n <= size; ++n) {
            if (clue[size_t(n)]) continue;
            int l = n, u = n;
            while (!clue[size_t(l)]) --l;
            while (!clue[size_t(u)]) u -= columns;
            const int acrossLen = runAcross(l), downLen = runDown(u);
            if (acrossLen < 2 && downLen < 2) clue[size_t(n)] = changed = true;
        }
    }
    sim::Grid g(geometry);
    for (int n = 1; n <= size; ++n) {
        if (!clue[size_t(n)]) continue;
        const int a = n % columns == 0 ? 0 : runAcross(n), d = runDown(n);
        if (a >= 2) g[size_t(n)].lengde1 = int16_t(a);
        if (d >= 2) g[size_t(n)].lengde2 = int16_t(d);
    }
    const std::vector<sim::Slot> answers = sim::Slots(g);
    const sim::FillResult r = sim::Fill(g, answers, words);
    std::printf("%zu answers, %d left empty, %ld nodes\n", answers.size(), r.unfilled(), r.nodes);

    // A clue word for each answer filled.
    int clued = 0;
    for (size_t i = 0; i < answers.size(); ++i) {
        const sim::Slot& s = answers[i];
        sim::Square& sq = g[size_t(s.answer.clue)];
        QString chosen;
        const bool leaveOpen = open > 0 && !r.words[i].isEmpty() && s.length >= 4 && s.length <= 7 && rng() % 3 == 0;
        if (leaveOpen) {
            --open;
        } else if (!r.words[i].isEmpty()) {
            auto st = db.prepare(
                "SELECT Ord FROM T_OrdSynonym WHERE Synonym = ?1 UNION SELECT Ord FROM T_OrdVerdi WHERE Verdi = ?1");
            st.bind(1, r.words[i].toStdString());
            std::vector<std::string> clues;
            while (st.step())
                if (plainWord(st.text(0), 14)) clues.push_back(st.text(0));
            if (!clues.empty()) chosen = QString::fromStdString(clues[rng() % clues.size()]);
        }
        (s.answer.across ? sq.ord1 : sq.ord2) = chosen;
        if (chosen.isEmpty() && !leaveOpen) (s.answer.across ? sq.lengde1 : sq.lengde2) = 0;
        clued += !chosen.isEmpty() || leaveOpen;
    }
    std::printf("%d answers kept, %d open ones still wanted\n", clued, open);
    for (int k = 0, tries = 0; k < swaps && tries < 10000; ++tries) {
        const sim::Slot& a = answers[rng() % answers.size()];
        const sim::Slot& b = answers[rng() % answers.size()];
        QString& wa = a.answer.across ? g[size_t(a.answer.clue)].ord1 : g[size_t(a.answer.clue)].ord2;
        QString& wb = b.answer.across ? g[size_t(b.answer.clue)].ord1 : g[size_t(b.answer.clue)].ord2;
        if (&wa == &wb || a.length != b.length || wa.isEmpty() || wb.isEmpty() || wa == wb) continue;
        std::swap(wa, wb);
        ++k;
    }
    return bench::WriteGridFile(argv[2], g,
                                QString("made by velmora_makegrids, seed %1, %2 answers").arg(argv[3]).arg(clued))
               ? 0
               : 1;
}
