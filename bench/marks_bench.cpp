// Speed of the fit marks: every entry of a candidate list checked against
// the letters in the grid, the list's tooltip written and its repaint asked
// for, as after every change to the grid. It must not be felt: under 5 ms
// for a list of 500 candidates.
//
//   build/bench/velmora_bench --benchmark_filter=MarkCandidates
#include <benchmark/benchmark.h>

#include "shared/M.h"
#include "simulator/F_Ruter.h"

namespace {

void MarkCandidates(benchmark::State& state) {
    M::ResetAll();
    F_Ruter& r = M::F_Ruter();
    ui::setMsgBoxHandler([](const ui::MsgBoxCall&) { return ui::Answer::OK; });
    // Clue square 17 asks for 7 letters across; crossings put A, C and E
    // into three of its squares, and the first across letter is written.
    M::Rutenett.ValgtRute = 17;
    M::Rutenett.setRuteLengde(17, true, 7);
    r.fyll_velmora2("AB", 2, 4, false);
    r.fyll_velmora2("CD", 2, 6, false);
    r.fyll_velmora2("EF", 2, 8, false);
    r.fyll_velmora1("QBRDSFT", 7, 17, false);
    QStringList entries;
    for (int i = 0; i < int(state.range(0)); ++i) {
        QString w;
        for (int k = 0; k < 7; ++k) w += QChar('A' + (i * 7 + k * 3 + i / 26) % 26);
        if (i % 4 == 0) {  // a quarter matches the crossings A, C and E
            w[1] = 'A';
            w[3] = 'C';
            w[5] = 'E';
        }
        entries << w;
    }
    r.L_Synonymer1.Clear();
    r.L_Synonymer1.AddItems(entries);
    for (auto _ : state) {
        r.MarkCandidates();
        benchmark::DoNotOptimize(r.Fits(r.L_Synonymer1, 0));
    }
    int fitting = 0;
    for (int i = 0; i < r.L_Synonymer1.ListCount(); ++i) fitting += r.Fits(r.L_Synonymer1, i);
    state.counters["fitting"] = fitting;
    ui::setMsgBoxHandler(nullptr);
    M::ResetAll();
}

}  // namespace

BENCHMARK(MarkCandidates)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);
