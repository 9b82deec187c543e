// The lookups of lookup_bench.cpp on both engines: the same word database as
// a file and as a database on a PostgreSQL server, through the real windows.
// VELMORA_BENCH_PG names the server (a superuser's connection string); the
// benchmarks on it skip without it.
//
//   export VELMORA_BENCH_PG="host=/tmp/pg user=velmora_admin dbname=postgres"
//   build/bench/velmora_bench --benchmark_filter=Engines
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <map>

#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "shared/M.h"
#include "store/pg_words.h"
#include "store/wordstore.h"

std::string BenchDatabaseFile(int words);  // lookup_bench.cpp
std::string BenchWord(int i);

namespace {

enum { kFile = 0, kServer = 1 };

// The server's copy of the bench database of `words` words, made once.
std::string serverDatabase(int words) {
    static std::map<int, std::string> made;
    if (auto it = made.find(words); it != made.end()) return it->second;
    const char* admin = std::getenv("VELMORA_BENCH_PG");
    const std::string name = "velmora_bench_" + std::to_string(words);
    std::string conninfo = std::string(admin) + " dbname=" + name;
    store::Connection file(BenchDatabaseFile(words));
    bool fresh = false;
    {
        store::pg::Connection a(admin);
        fresh = a.exec("SELECT 1 FROM pg_database WHERE datname = $1", {name}).rows() == 0;
        if (fresh) a.exec("CREATE DATABASE " + name);
    }
    if (fresh) {
        store::pg::Connection c(conninfo);
        store::CopyToServer(file, c);
    }
    made[words] = conninfo;
    return conninfo;
}

// The main window on the bench database of state.range(0) words, on the
// engine state.range(1) names; null (and the benchmark skipped) without a server.
Velmora* window(benchmark::State& state) {
    static std::pair<int64_t, int64_t> loadedFor{-1, -1};
    const auto want = std::make_pair(state.range(0), state.range(1));
    if (want.second == kServer && !std::getenv("VELMORA_BENCH_PG")) {
        state.SkipWithError("VELMORA_BENCH_PG names no server");
        return nullptr;
    }
    if (loadedFor != want) {
        M::ResetAll();
        const std::string file = BenchDatabaseFile(int(want.first));  // enters its folder
        if (want.second == kServer) M::UseServer(serverDatabase(int(want.first)));
        loadedFor = want;
    }
    return &M::Velmora();
}

void Keystroke(benchmark::State& state) {
    Velmora* v = window(state);
    if (!v) return;
    int i = 0;
    for (auto _ : state) {
        v->T_Ord.setText("");
        v->T_Ord.setText(QString::fromStdString(BenchWord(i++ % int(state.range(0)))));
        benchmark::DoNotOptimize(v->L_Synonymer.ListCount());
    }
}

void pattern(benchmark::State& state, const char* mode, const char* text) {
    Velmora* v = window(state);
    if (!v) return;
    ui::setModalDriver([](ui::Form& f) { f.Hide(); });
    int found = 0;
    for (auto _ : state) {
        v->T_Ord.setText("");
        M::SokModus = mode;
        v->T_Ord.setText(text);
        found = M::Resultat().L_Resultat.ListCount();
    }
    state.counters["matches"] = found;
    ui::setModalDriver(nullptr);
}

void PatternPrefix(benchmark::State& state) { pattern(state, "*", "AB*"); }
void PatternInside(benchmark::State& state) { pattern(state, "*", "*ABC"); }
void PatternOneLetterThenLiteral(benchmark::State& state) { pattern(state, "?", "?AB"); }
void PatternEveryWord(benchmark::State& state) { pattern(state, "?", "?"); }

void engines(benchmark::internal::Benchmark* b) {
    for (int words : {1500, 150000})
        for (int engine : {kFile, kServer}) b->Args({words, engine});
    b->ArgNames({"words", "server"});
}

}  // namespace

BENCHMARK(Keystroke)->Name("Engines/Keystroke")->Apply(engines)->Unit(benchmark::kMicrosecond);
BENCHMARK(PatternPrefix)->Name("Engines/PatternPrefix")->Apply(engines)->Unit(benchmark::kMillisecond);
BENCHMARK(PatternInside)->Name("Engines/PatternInside")->Apply(engines)->Unit(benchmark::kMillisecond);
BENCHMARK(PatternOneLetterThenLiteral)
    ->Name("Engines/PatternOneLetterThenLiteral")
    ->Apply(engines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PatternEveryWord)->Name("Engines/PatternEveryWord")->Apply(engines)->Unit(benchmark::kMillisecond);
