// velmora-mkdb: makes word databases for Velmora, and copies them to and
// from CSV files.
//
//   velmora-mkdb PATH                       a new, empty word database
//   velmora-mkdb PATH --demo                ... filled with the demo word list
//   velmora-mkdb PATH --thesaurus FILE.dat  ... with a MyThes thesaurus (repeatable)
//   velmora-mkdb PATH --import DIR          ... from DIR/T_*.csv
//   velmora-mkdb --export PATH DIR          writes DIR/T_*.csv from PATH
//   velmora-mkdb --database URL [...]       the same word lists into an empty
//                                           database on a PostgreSQL server
//   velmora-mkdb --database URL --from PATH copies the SQLite word database PATH there
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "mkdb_server.h"
#include "store/wordlists.h"
#include "store/wordstore.h"

#ifndef VELMORA_DATA_DIR
#define VELMORA_DATA_DIR "data"
#endif

namespace {

int usage() {
    std::cerr << "usage: velmora-mkdb PATH [--demo] [--thesaurus FILE.dat]... [--import DIR]\n"
                 "       velmora-mkdb --export PATH DIR\n"
                 "       velmora-mkdb --database URL [--demo] [--thesaurus FILE.dat]... [--import DIR]\n"
                 "       velmora-mkdb --database URL --from PATH\n";
    return 2;
}

class Progress {
public:
    explicit Progress(std::string label) : label_(std::move(label)), tty_(::isatty(2)) {}
    void operator()(double share) {
        int pct = int(share * 100);
        if (pct == last_) return;
        last_ = pct;
        if (!tty_) return;
        const int width = 30;
        int full = pct * width / 100;
        std::fprintf(stderr, "\r%-24.24s [%s%s] %3d%%", label_.c_str(), std::string(size_t(full), '#').c_str(),
                     std::string(size_t(width - full), ' ').c_str(), pct);
        if (pct >= 100) std::fputc('\n', stderr);
        std::fflush(stderr);
    }

private:
    std::string label_;
    bool tty_;
    int last_ = -1;
};

}  // namespace

// Builds a SQLite word database as the arguments say.
int makeFile(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") return usage();
    const auto start = std::chrono::steady_clock::now();
    try {
        if (args[0] == "--export") {
            if (args.size() != 3) return usage();
            store::Connection c(args[1], store::Connection::Mode::ReadWrite);
            store::ExportCsv(c, args[2]);
            std::cout << "Exported " << args[1] << " to " << args[2] << "\n";
            return 0;
        }
        const std::string path = args[0];
        bool demo = false;
        std::vector<std::string> thesauri;
        std::string importDir;
        for (size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "--demo") {
                demo = true;
            } else if (args[i] == "--thesaurus" && i + 1 < args.size()) {
                thesauri.push_back(args[++i]);
            } else if (args[i] == "--import" && i + 1 < args.size()) {
                importDir = args[++i];
            } else {
                std::cerr << "velmora-mkdb: unknown argument \"" << args[i] << "\"\n";
                return usage();
            }
        }
        if (!importDir.empty() && (demo || !thesauri.empty())) {
            std::cerr << "velmora-mkdb: --import restores a database as it was and takes no other word list\n";
            return 2;
        }
        store::WordListBuilder words;
        if (demo) words.readDemo(std::string(VELMORA_DATA_DIR) + "/demo-words.txt");
        for (const std::string& t : thesauri) {
            Progress bar("Reading " + t.substr(t.find_last_of('/') + 1));
            words.readThesaurus(t, [&](double s) { bar(s); });
        }
        store::BuildDatabase(path, [&](store::Connection& c) {
            if (!importDir.empty())
                store::ImportCsv(c, importDir);
            else
                words.write(c);
        });
        const double secs =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (importDir.empty()) {
            store::ImportCounts n = words.counts();
            std::cout << "Made " << path << ": " << n.words << " words, " << n.pairs << " synonym pairs, "
                      << n.categories << " categories, " << n.links << " category links, " << n.values
                      << " values, " << n.skipped << " skipped";
        } else {
            std::cout << "Made " << path << " from " << importDir;
        }
        std::printf(" (%.1f s)\n", secs);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "velmora-mkdb: " << e.what() << "\n";
        return 1;
    }
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (NamesServer(args)) return MakeOnServer(args, makeFile);
    return makeFile(args);
}
