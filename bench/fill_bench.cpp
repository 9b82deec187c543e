// Speed of Fill grid on saved grids over a word database: the words read
// (clued answers' candidates, every stored word of the open answers'
// lengths, from the words the program holds in memory), the search, and
// the grid written, as the window does them, for each grid file given; the
// best of three runs.
//   velmora_fillbench DB GRID...      (goals: a fill under 1 s, or what
//   cannot be filled reported under 2 s; ten open answers under 2 s)
#include <QCoreApplication>
#include <chrono>
#include <cstdio>

#include "grid/fill.h"
#include "grid/fillwords.h"
#include "gridfile.h"

namespace {
double msSince(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: velmora_fillbench DB GRID...\n");
        return 2;
    }
    // The words held in memory, as the program reads them after start-up.
    store::WordCache held;
    {
        const auto t = std::chrono::steady_clock::now();
        held.Words(argv[1]);
        std::printf("words read into memory at start-up: %.0f ms\n", msSince(t));
    }
    std::printf("%-28s %7s %5s %6s %8s %9s %9s %9s\n", "grid", "answers", "open", "empty", "nodes", "words ms",
                "search ms", "total ms");
    for (int i = 2; i < argc; ++i) {
        const sim::Grid g = bench::OpenGridFile(argv[i]);
        double best = 1e18, bestWords = 0, bestSearch = 0;
        sim::FillResult r;
        sim::FillWords words;
        sim::Grid out;
        std::vector<sim::Slot> answers;
        for (int run = 0; run < 3; ++run) {
            const auto t0 = std::chrono::steady_clock::now();
            answers = sim::Slots(g);
            store::Database db(argv[1]);
            words = sim::ReadFillWords(db, answers, &held);
            const double tWords = msSince(t0);
            const auto t1 = std::chrono::steady_clock::now();
            r = sim::Fill(g, answers, words);
            sim::PreferForOpenAnswers(
                answers, words, r, [&](const QString& w) { return !db.CandidateSynonyms(w.toStdString(), 0).empty(); });
            out = sim::Filled(g, answers, r);
            const QString report = sim::FillReport(out, answers, words, r);
            const double tSearch = msSince(t1), total = msSince(t0);
            if (total < best) {
                best = total;
                bestWords = tWords;
                bestSearch = tSearch;
            }
        }
        int open = 0;
        for (const sim::Slot& s : answers) open += s.open();
        const QString name = QString(argv[i]).section('/', -1);
        std::printf("%-28s %7zu %5d %6d %8ld %9.1f %9.1f %9.1f\n", qPrintable(name), answers.size(), open, r.unfilled(),
                    r.nodes, bestWords, bestSearch, best);
        if (r.unfilled() > 0) std::printf("    %s\n", qPrintable(sim::FillReport(out, answers, words, r)));
        QStringList opens;
        for (size_t k = 0; k < answers.size(); ++k)
            if (answers[k].open()) opens << r.words[k];
        if (!opens.isEmpty()) std::printf("    open answers: %s\n", qPrintable(opens.join(' ')));
        // A small grid's answers one by one, to judge what Fill chose.
        if (answers.size() <= 12)
            for (size_t k = 0; k < answers.size(); ++k)
                std::printf("    %s, %d letters from square %d: %s\n", qPrintable(answers[k].clue), answers[k].length,
                            answers[k].squares.empty() ? 0 : answers[k].squares.front(), qPrintable(r.words[k]));
    }
    return 0;
}
