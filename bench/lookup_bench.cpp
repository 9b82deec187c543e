// Speed of the lookup and the simulation on word databases of 1,500, 150,000
// and 1,500,000 words (about seven synonym rows a word), through the real
// windows on the offscreen platform.
//
//   build/bench/velmora_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <random>

#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "store/wordstore.h"

namespace fs = std::filesystem;

namespace {

// Words made of letters from a fixed seed: "W" + base-26 digits, so every
// two-letter prefix holds a share of them.
std::string wordNo(int i) {
    std::string w;
    int n = i;
    do {
        w += char('A' + n % 26);
        n /= 26;
    } while (n);
    while (w.size() < 5) w += char('A' + (i * 7 + int(w.size())) % 26);
    return w;
}

// Builds (once) and enters the folder of a word database of `words` words.
void enterDatabase(int words) {
    static fs::path home = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("velmora-bench-" + std::to_string(words));
    fs::path file = dir / "velmora.mdb";
    if (!fs::exists(file)) {
        fs::create_directories(dir);
        store::CreateDatabase(file.string());
        store::Connection c(file.string());
        store::Transaction t(c);
        auto ord = c.prepare("INSERT INTO T_Ord(Ord) VALUES(?)");
        auto syn = c.prepare("INSERT INTO T_OrdSynonym(Ord, Synonym, Notat) VALUES(?, ?, 'X')");
        auto val = c.prepare("INSERT INTO T_OrdVerdi(Ord, Verdi, Notat) VALUES(?, ?, 'X')");
        auto cat = c.prepare("INSERT INTO T_OrdKategori(Ord, Kategori, Notat) VALUES(?, ?, 'X')");
        std::mt19937 rng(7);
        for (int i = 0; i < words; ++i) {
            const std::string w = wordNo(i);
            ord.bind(1, w).run();
            ord.reset();
            for (int k = 0; k < 7; ++k) {  // ~7 synonyms a word, each pair both ways: ~1M rows at 150,000 words
                const std::string s = wordNo(int(rng() % unsigned(words)));
                syn.bind(1, w).bind(2, s).run();
                syn.reset();
            }
            for (int k = 0; k < 2; ++k) {
                val.bind(1, w).bind(2, wordNo(int(rng() % unsigned(words))).substr(0, size_t(3) + size_t(k))).run();
                val.reset();
            }
            cat.bind(1, w).bind(2, "CATEGORY" + std::to_string(i % 40)).run();
            cat.reset();
        }
        c.exec("INSERT INTO T_Kategori(Kategori) SELECT DISTINCT Kategori FROM T_OrdKategori");
        t.commit();
        c.exec("ANALYZE");
    }
    fs::current_path(dir);
    (void)home;
}

Velmora& window(int words) {
    static int loadedFor = -1;
    if (loadedFor != words) {
        M::ResetAll();
        enterDatabase(words);
        loadedFor = words;
        M::Velmora();
        // As the program does once its window is up.
        M::DBEngine().Words().Preload(store::kDatabaseFile);
    }
    return M::Velmora();
}

void StoredWordKeystroke(benchmark::State& state) {
    Velmora& v = window(int(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const QString w = QString::fromStdString(wordNo(i++ % int(state.range(0))));
        v.T_Ord.setText("");
        v.T_Ord.setText(w);  // open, find, three queries, fill the lists, close
        benchmark::DoNotOptimize(v.L_Synonymer.ListCount());
    }
}

void PatternLookupTwoLetters(benchmark::State& state) {
    Velmora& v = window(int(state.range(0)));
    ui::setModalDriver([](ui::Form& f) { f.Hide(); });
    int found = 0;
    for (auto _ : state) {
        v.T_Ord.setText("");
        M::SokModus = "*";
        v.T_Ord.setText("AB*");
        found = M::Resultat().L_Resultat.ListCount();
    }
    state.counters["matches"] = found;
    ui::setModalDriver(nullptr);
}

void EveryWordIntoTheResults(benchmark::State& state) {
    Velmora& v = window(int(state.range(0)));
    ui::setModalDriver([](ui::Form& f) { f.Hide(); });
    int found = 0;
    for (auto _ : state) {
        v.T_Ord.setText("");
        M::SokModus = "?";
        v.T_Ord.setText("?");
        found = M::Resultat().L_Resultat.ListCount();
    }
    state.counters["matches"] = found;
    ui::setModalDriver(nullptr);
}

void Simulation(benchmark::State& state) {
    window(int(state.range(0)));
    F_Ruter& r = M::F_Ruter();
    ui::setMsgBoxHandler([](const ui::MsgBoxCall&) { return ui::Answer::OK; });
    int i = 0;
    for (auto _ : state) {
        const int words = int(state.range(0));
        sim::Document& doc = M::Rutenett;
        doc.ValgtRute = 17;
        doc.setRuteOrd(17, true, QString::fromStdString(wordNo(i++ % words)));
        doc.setRuteLengde(17, true, 5);
        doc.setRuteOrd(17, false, QString::fromStdString(wordNo(i++ % words)));
        doc.setRuteLengde(17, false, 5);
        r.K_Simuler_Click();  // four queries, four lists, both words placed
        benchmark::DoNotOptimize(r.L_Synonymer1.ListCount());
    }
    ui::setMsgBoxHandler(nullptr);
}

// From nothing to the main window on the screen: its start-up reads the
// categories and prepares the simulator's 225 squares.
void StartUp(benchmark::State& state) {
    window(int(state.range(0)));
    for (auto _ : state) {
        M::ResetAll();
        Velmora& v = M::Velmora();
        v.Show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(v.C_Kategori.ListCount());
    }
}

}  // namespace

// The folder's word database of `words` words and its words, for the
// server's benchmarks.
std::string BenchWord(int i) { return wordNo(i); }
std::string BenchDatabaseFile(int words) {
    enterDatabase(words);
    return (fs::current_path() / "velmora.mdb").string();
}

BENCHMARK(StartUp)->Arg(1500)->Arg(150000)->Arg(1500000)->Unit(benchmark::kMillisecond);
BENCHMARK(StoredWordKeystroke)->Arg(1500)->Arg(150000)->Arg(1500000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PatternLookupTwoLetters)->Arg(1500)->Arg(150000)->Arg(1500000)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryWordIntoTheResults)->Arg(1500)->Arg(150000)->Arg(1500000)->Unit(benchmark::kMillisecond);
BENCHMARK(Simulation)->Arg(1500)->Arg(150000)->Arg(1500000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    M::ResetAll();
    return 0;
}
