// velmora-mkdb: makes word databases for Velmora from word data a composer
// can work with, and copies them to and from CSV files.
//
//   velmora-mkdb PATH                       a new, empty word database
//   velmora-mkdb PATH SOURCE...             ... filled from the sources, in order:
//     --demo                                the demo word list in data/
//     --thesaurus FILE.dat                  a MyThes thesaurus
//     --wordnet DIR                         WordNet's data.* and index.* files
//     --codes DIR                           iso-codes' JSON lists
//     --facts                               data/facts-LANG.txt (elements, Roman numerals),
//                                           and data/offensive-LANG.txt's words kept out
//     --wordlist FILE [--encoding NAME]     one word a line
//     --rank FILE                           a SCOWL size list: its words' commonness (the
//                                           first list given ranks 1, the next 2, ...)
//     --translate DICT                      WordNet's values in the language of a dictd
//                                           dictionary from English (DICT.index, .dict.dz)
//     --installed                           the facts and every word-data package
//                                           installed at its Debian path
//   velmora-mkdb PATH --import DIR          ... from DIR/T_*.csv
//   velmora-mkdb --export PATH DIR          writes DIR/T_*.csv from PATH
//   velmora-mkdb --database URL [SOURCE...] the same, into an empty database on
//                                           a PostgreSQL server
//   velmora-mkdb --database URL --from PATH copies the word database PATH there
// Each source may be given more than once. --language LANG (default en)
// names codes and facts in that language, the translations read from
// --locale DIR (default /usr/share/locale); --categories FILE chooses the
// puzzle subjects that --wordnet fills (default data/categories-en.txt).
// Senses WordNet marks as offensive are left out unless --offensive.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "datadir.h"
#include "mkdb_server.h"
#include "sources/codes.h"
#include "sources/csv.h"
#include "sources/demo.h"
#include "sources/dictd.h"
#include "sources/mo.h"
#include "sources/thesaurus.h"
#include "sources/wordlist.h"
#include "sources/wordnet.h"
#include "store/wordlists.h"
#include "store/wordstore.h"

#ifndef VELMORA_DATA_DIR
#define VELMORA_DATA_DIR "data"
#endif

namespace {

using Clock = std::chrono::steady_clock;

int usage() {
    std::cerr << "usage: velmora-mkdb PATH [--demo] [--thesaurus FILE.dat]... [--wordnet DIR]... [--codes DIR]...\n"
                 "                    [--facts] [--wordlist FILE [--encoding NAME]]... [--installed]\n"
                 "                    [--rank FILE]... [--translate DICT]... [--offensive]\n"
                 "                    [--language LANG] [--locale DIR] [--categories FILE]\n"
                 "       velmora-mkdb PATH --import DIR\n"
                 "       velmora-mkdb --export PATH DIR\n"
                 "       velmora-mkdb --version\n"
                 "       velmora-mkdb --database URL [SOURCE...] | [--import DIR] | [--from PATH]\n";
    return 2;
}

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// One line on a terminal that tells how far a source has come: its name, the
// share done and the entries a second. Quiet when stderr is no terminal.
class ProgressLine {
public:
    explicit ProgressLine(std::string label) : label_(std::move(label)), tty_(::isatty(2)), start_(Clock::now()) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() {
        if (shown_) std::fprintf(stderr, "\r%*s\r", 79, "");
    }
    sources::Progress callback() {
        return [this](double share, long entries) { show(share, entries); };
    }

private:
    void show(double share, long entries) {
        const int pct = int(share * 100);
        if (!tty_ || pct == last_) return;
        last_ = pct;
        shown_ = true;
        const double secs = since(start_);
        const long rate = secs > 0.05 ? long(double(entries) / secs) : 0;
        std::fprintf(stderr, "\r%-44.44s %3d%%  %9ld entries/s", label_.c_str(), pct, rate);
        std::fflush(stderr);
    }

    std::string label_;
    bool tty_;
    bool shown_ = false;
    int last_ = -1;
    Clock::time_point start_;
};

struct Source {
    std::string kind;  // the option without its dashes
    std::string path;
    std::string encoding = "UTF-8";
    int rank = 0;  // for a size list: the commonness its words get
};

std::string describe(const store::ImportCounts& before, const store::ImportCounts& after) {
    std::string s = std::to_string(after.words - before.words) + " words, " +
                    std::to_string(after.pairs - before.pairs) + " pairs, " +
                    std::to_string(after.values - before.values) + " values, " +
                    std::to_string(after.categories - before.categories) + " categories, " +
                    std::to_string(after.links - before.links) + " links, " +
                    std::to_string(after.skipped - before.skipped) + " skipped";
    std::string why;
    for (const auto& [reason, n] : after.reasons) {
        auto it = before.reasons.find(reason);
        const long added = n - (it == before.reasons.end() ? 0 : it->second);
        if (added > 0) why += (why.empty() ? "" : ", ") + std::to_string(added) + " " + reason;
    }
    return why.empty() ? s : s + " (" + why + ")";
}

struct Settings {
    std::string language = "en";
    std::string locale = "/usr/share/locale";
    std::string categories = tools::dataDir() + "/categories-en.txt";
    bool offensive = false;
    // WordNet, read once for every source that needs it.
    std::map<std::string, sources::WordNetData> wordnets;
    const sources::WordNetData& wordnet(const std::string& dir, const sources::Progress& progress = {}) {
        auto it = wordnets.find(dir);
        if (it == wordnets.end()) it = wordnets.emplace(dir, sources::LoadWordNet(dir, progress)).first;
        return it->second;
    }
};

constexpr const char* kWordNet = "/usr/share/wordnet";

sources::CodeNames codeNames(const Settings& s) {
    sources::CodeNames n;
    if (s.language == "en") return n;
    if (s.language == "nb" || s.language == "nn" || s.language == "no") {
        n.countries = "LAND";
        n.currencies = "VALUTAER";
        n.languages = "SPRÅK";
        n.country = "LAND";
        n.currency = "VALUTA";
    }
    const std::string dir = s.locale + "/" + s.language + "/LC_MESSAGES/";
    n.countryNames = sources::ReadMo(dir + "iso_3166-1.mo");
    n.currencyNames = sources::ReadMo(dir + "iso_4217.mo");
    n.languageNames = sources::ReadMo(dir + "iso_639-2.mo");
    return n;
}

void read(const Source& src, Settings& settings, store::WordListBuilder& words) {
    const std::string name = src.path.empty() ? src.kind : src.kind + " " + src.path;
    ProgressLine bar("Reading " + src.kind + " " + std::filesystem::path(src.path).filename().string());
    const store::ImportCounts before = words.counts();
    const auto start = Clock::now();
    if (src.kind == "demo") {
        sources::ReadDemo(tools::dataDir() + "/demo-words.txt", words);
    } else if (src.kind == "facts") {
        sources::ReadDemo(tools::dataDir() + "/facts-" + settings.language + ".txt", words);
    } else if (src.kind == "thesaurus") {
        sources::ReadThesaurus(src.path, words, bar.callback());
    } else if (src.kind == "wordnet") {
        sources::ReadWordNet(settings.wordnet(src.path, bar.callback()), sources::ReadCategoryList(settings.categories),
                             words, settings.offensive);
    } else if (src.kind == "codes") {
        sources::ReadCodes(src.path, codeNames(settings), words);
    } else if (src.kind == "wordlist") {
        sources::ReadWordList(src.path, src.encoding, words, bar.callback());
    } else if (src.kind == "rank") {
        sources::ReadRanks(src.path, src.rank, words);
    } else if (src.kind == "translate") {
        const sources::Dictionary dict = sources::ReadDictd(src.path);
        sources::TranslateWordNet(settings.wordnet(kWordNet, bar.callback()),
                                  sources::ReadCategoryList(settings.categories), dict, words, settings.language);
    }
    const double secs = since(start);
    std::printf("  %s: %s (%.1f s)\n", name.c_str(), describe(before, words.counts()).c_str(), secs);
    std::fflush(stdout);
}

// The word data that Debian installs, where it installs it.
void addInstalled(std::vector<Source>& out) {
    out.push_back({"facts", ""});
    std::error_code ec;
    auto found = [&](const char* p) { return std::filesystem::exists(p, ec); };
    if (found("/usr/share/mythes/th_en_US_v2.dat")) out.push_back({"thesaurus", "/usr/share/mythes/th_en_US_v2.dat"});
    if (found("/usr/share/wordnet/data.noun")) out.push_back({"wordnet", "/usr/share/wordnet"});
    if (found("/usr/share/iso-codes/json/iso_3166-1.json")) out.push_back({"codes", "/usr/share/iso-codes/json"});
    int rank = 0;
    for (const char* size : {"-small", "", "-large", "-huge", "-insane"}) {
        const std::string list = std::string("/usr/share/dict/american-english") + size;
        if (found(list.c_str())) out.push_back({"rank", list, "UTF-8", ++rank});
    }
}

}  // namespace

// Builds a SQLite word database as the arguments say.
int makeFile(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") return usage();
    if (args[0] == "--version") {
        std::cout << "velmora-mkdb " << VELMORA_VERSION << "\n";
        return 0;
    }
    const auto start = Clock::now();
    try {
        if (args[0] == "--export") {
            if (args.size() != 3) return usage();
            store::Connection c(args[1], store::Connection::Mode::ReadWrite);
            sources::ExportCsv(c, args[2]);
            std::cout << "Exported " << args[1] << " to " << args[2] << "\n";
            return 0;
        }
        // An option in the target's place is a forgotten target, never a
        // file name (./-name is one).
        if (args[0].starts_with("-")) {
            std::cerr << "velmora-mkdb: " << args[0] << " needs the word database to make first: velmora-mkdb PATH "
                      << args[0] << "\n";
            return usage();
        }
        const std::string& path = args[0];
        std::vector<Source> list;
        Settings settings;
        std::string importDir;
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& a = args[i];
            const bool more = i + 1 < args.size();
            if (a == "--demo" || a == "--facts") {
                list.push_back({a.substr(2), ""});
            } else if ((a == "--thesaurus" || a == "--wordnet" || a == "--codes" || a == "--wordlist") && more) {
                list.push_back({a.substr(2), args[++i]});
            } else if (a == "--encoding" && more && args[i + 1].empty()) {
                std::cerr << "velmora-mkdb: --encoding needs the name of an encoding (UTF-8, ISO-8859-1, CP1252...)\n";
                return 2;
            } else if (a == "--encoding" && more && !list.empty() && list.back().kind == "wordlist" &&
                       args[i - 2] == "--wordlist") {
                list.back().encoding = args[++i];
            } else if ((a == "--rank" || a == "--translate") && more) {
                list.push_back({a.substr(2), args[++i]});
                if (a == "--rank")
                    list.back().rank = 1 + int(std::count_if(list.begin(), list.end() - 1,
                                                             [](const Source& x) { return x.kind == "rank"; }));
            } else if (a == "--offensive") {
                settings.offensive = true;
            } else if (a == "--installed") {
                addInstalled(list);
            } else if (a == "--language" && more) {
                settings.language = args[++i];
            } else if (a == "--locale" && more) {
                settings.locale = args[++i];
            } else if (a == "--categories" && more) {
                settings.categories = args[++i];
            } else if (a == "--import" && more) {
                importDir = args[++i];
            } else {
                std::cerr << "velmora-mkdb: unknown argument \"" << a << "\""
                          << (a == "--encoding" ? " (it follows the --wordlist FILE it is for)" : "") << "\n";
                return usage();
            }
        }
        if (!importDir.empty() && !list.empty()) {
            std::cerr << "velmora-mkdb: --import restores a database as it was and takes no other word list\n";
            return 2;
        }
        // Refuse a target that cannot be made before minutes of reading.
        store::CheckNewDatabase(path);
        store::WordListBuilder words;
        // WordNet's marks hold for every source, whichever comes first.
        for (const Source& src : list) {
            if (src.kind == "wordnet") sources::MarkWordNet(settings.wordnet(src.path), words, settings.offensive);
            const std::string blocked = tools::dataDir() + "/offensive-" + settings.language + ".txt";
            std::error_code ec;
            if (src.kind == "facts" && !settings.offensive && std::filesystem::exists(blocked, ec))
                sources::ReadBlocked(blocked, words);
        }
        // The size lists first: WordNet's values are held to their ranks.
        std::stable_partition(list.begin(), list.end(), [](const Source& s) { return s.kind == "rank"; });
        for (const Source& src : list) read(src, settings, words);
        std::vector<store::TableRows> copy;
        if (!importDir.empty()) copy = sources::ReadCsvTables(importDir);
        {
            ProgressLine bar("Writing " + path);
            bar.callback()(0.0, 0);
            store::BuildDatabase(path, [&](store::Connection& c) {
                if (!importDir.empty())
                    store::WriteTables(c, copy);
                else
                    words.write(c);
            });
        }
        const double secs = since(start);
        if (importDir.empty()) {
            store::ImportCounts n = words.counts();
            std::cout << "Made " << path << ": " << n.words << " words, " << n.pairs << " synonym pairs, "
                      << n.categories << " categories, " << n.links << " category links, " << n.values << " values, "
                      << n.skipped << " skipped";
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
