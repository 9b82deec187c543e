// The composing tools' word matching over 1.6 million words held in memory:
// "Find words" (an exact pattern, an anagram with a blank tile) and "Words
// that fit" (an answer's squares with crossing letters, and with a filter),
// each from the query to the list of positions, common first.
//
//   build/bench/velmora_wordbench
#include <benchmark/benchmark.h>

#include <random>

#include "store/wordindex.h"

namespace {

constexpr int kWords = 1'600'000;

// Words of 2 to 15 letters drawn by English letter frequencies, a few of
// two words; the first 100,000 ranked as SCOWL's lists rank them (1 to 5),
// 150,000 with synonyms.
struct Sample {
    std::shared_ptr<const store::WordSet> set;
    std::vector<std::pair<std::string, int>> ranks;
    std::vector<std::string> synonyms;
};
const Sample& sample() {
    static const Sample s = [] {
        const std::string freq =
            "EEEEEEEEEEEETTTTTTTTTAAAAAAAAOOOOOOOIIIIIIINNNNNNNSSSSSSHHHHHHRRRRRRDDDDLLLLCCCUUUMMMWWFFGGYYPPBVKJXQZ";
        std::mt19937 rng(11);
        std::vector<std::string> list;
        list.reserve(kWords);
        for (int i = 0; i < kWords; ++i) {
            std::string w;
            const int n = 2 + int(rng() % 14);
            for (int k = 0; k < n; ++k) {
                if (i % 50 == 0 && k == n / 2) w += ' ';
                w += freq[rng() % freq.size()];
            }
            list.push_back(std::move(w));
        }
        Sample out;
        for (int i = 0; i < 100'000; ++i) out.ranks.emplace_back(list[size_t(i) * 16], 1 + i % 5);
        out.synonyms.assign(list.begin(), list.begin() + 150'000);
        out.set = store::WordSet::Of(std::move(list));
        return out;
    }();
    return s;
}

const store::WordIndex& words() {
    static const auto ix = store::WordIndex::Build(sample().set, sample().ranks, sample().synonyms);
    return *ix;
}

// Once for the words read from a file, when first asked for.
void BuildIndex(benchmark::State& state) {
    const Sample& s = sample();
    for (auto _ : state) benchmark::DoNotOptimize(store::WordIndex::Build(s.set, s.ranks, s.synonyms));
}

void FindPattern(benchmark::State& state, const char* pattern) {
    const store::WordIndex& ix = words();
    size_t found = 0;
    for (auto _ : state) found = ix.Find({pattern, "", 0, false}).size();
    state.counters["matches"] = double(found);
}

void FindAnagram(benchmark::State& state, const char* tiles) {
    const store::WordIndex& ix = words();
    size_t found = 0;
    for (auto _ : state) found = ix.Find({"", tiles, 0, false}).size();
    state.counters["matches"] = double(found);
}

void FitSquares(benchmark::State& state, const char* squares, const char* filter) {
    const store::WordIndex& ix = words();
    size_t found = 0;
    for (auto _ : state) found = ix.Fit(squares, filter).size();
    state.counters["matches"] = double(found);
}

}  // namespace

BENCHMARK(BuildIndex)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FindPattern, exact_4, "?A?E")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindPattern, ends_ing, "*ING")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindPattern, every_word, "*")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindAnagram, five_tiles, "ELMNO")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindAnagram, eight_tiles_one_blank, "AEINRST?")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitSquares, five_open, "?????", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitSquares, nine_two_crossings, "??A???E??", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitSquares, nine_filter_pattern, "?????????", "S*T")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitSquares, nine_filter_letters, "?????????", "QZ")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
