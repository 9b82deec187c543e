// Pattern lookups through the real main window (offscreen) on the word
// database velmora.mdb in FOLDER: for each pattern, the time from the
// keystroke that completes it to the results window shown (the modal loop
// running), best and median of the runs; and the memory the program holds
// after start-up, once the words are read, and at its peak during "?".
//
//   velmora_patterns FOLDER [RUNS] PATTERN...
// Prints one line a pattern: "pattern<TAB>matches<TAB>best ms<TAB>median ms".
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lookup/Resultat.h"
#include "lookup/Velmora.h"
#include "shared/M.h"

namespace {

// A line of /proc/self/status in MB ("VmRSS", "VmHWM").
double statusMb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
    return 0;
}

// Lets the peak (VmHWM) start again from the memory held now.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velmora_patterns FOLDER [RUNS] PATTERN...\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setUpApplication();
    std::filesystem::current_path(argv[1]);
    int first = 2, runs = 5;
    if (argc > 3 && std::all_of(argv[2], argv[2] + std::strlen(argv[2]), ::isdigit)) {
        runs = std::max(1, std::atoi(argv[2]));
        first = 3;
    }

    Velmora& v = M::Velmora();
    v.Show();
    QApplication::processEvents();
    const double started = statusMb("VmRSS");
    std::printf("memory after start-up\t%.1f MB\n", started);
#if __has_include("store/wordcache.h")
    // What the program does once its window is up; a user takes longer
    // than the read to reach the "?" key.
    QElapsedTimer read;
    read.start();
    M::DBEngine().Words().Preload(store::kDatabaseFile);
    M::DBEngine().Words().Words(store::kDatabaseFile);
    std::printf("memory with the words read\t%.1f MB (read in %lld ms, off the window's thread)\n", statusMb("VmRSS"),
                read.elapsed());
#endif

    QElapsedTimer clock;
    qint64 shownAt = 0;
    ui::setModalDriver([&](ui::Form& f) {
        shownAt = clock.nsecsElapsed();
        f.Hide();
    });
    ui::setMsgBoxHandler([&](const ui::MsgBoxCall&) {
        shownAt = clock.nsecsElapsed();
        return ui::Answer::OK;
    });
    for (int a = first; a < argc; ++a) {
        const QString pattern = QString::fromUtf8(argv[a]);
        const QString wildcard = pattern.contains('*') ? "*" : "?";
        std::vector<double> ms;
        int found = 0;
        double peak = 0;
        for (int r = 0; r < runs; ++r) {
            v.T_Ord.setText("");
            M::Resultat().L_Resultat.Clear();
            resetPeak();
            // The field holds the pattern but its last character; the key
            // filter has set the lookup mode for the wildcard just typed.
            v.T_Ord.setText(pattern.chopped(1));
            M::SokModus = wildcard;
            clock.start();
            v.T_Ord.setText(pattern);
            ms.push_back(double(shownAt) / 1e6);
            peak = std::max(peak, statusMb("VmHWM"));
            found = M::Resultat().L_Resultat.ListCount();
        }
        std::sort(ms.begin(), ms.end());
        // The store's part alone: open the file, find the matches.
        double store = 1e9;
        for (int r = 0; r < runs; ++r) {
            clock.start();
            store::Database db = M::OpenDatabase();
#if __has_include("store/wordcache.h")
            const size_t n = M::DBEngine().Words().PatternLookup(db, M::s(pattern)).size();
#else
            const size_t n = db.PatternLookup(M::s(pattern)).size();
#endif
            store = std::min(store, double(clock.nsecsElapsed()) / 1e6);
            if (int(n) != found) std::fprintf(stderr, "%s: %zu matches in the store\n", argv[a], n);
        }
        std::printf("%s\t%d\t%.2f\t%.2f\tpeak %.1f MB\tstore %.2f ms\n", argv[a], found, ms.front(), ms[ms.size() / 2],
                    peak, store);
        std::fflush(stdout);
    }
    ui::setModalDriver(nullptr);
    ui::setMsgBoxHandler(nullptr);
    M::ResetAll();
    return 0;
}
