#include "mkdb_server.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <numeric>

#include "store/pg_words.h"
#include "store/wordlists.h"

namespace fs = std::filesystem;

namespace {

// Removes "OPTION VALUE" (or "OPTION=VALUE") from args; "" when absent.
std::string takeOption(std::vector<std::string>& args, const std::string& option) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == option && i + 1 < args.size()) {
            std::string v = args[i + 1];
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return v;
        }
        if (args[i].rfind(option + "=", 0) == 0) {
            std::string v = args[i].substr(option.size() + 1);
            args.erase(args.begin() + long(i));
            return v;
        }
    }
    return {};
}

// A temporary folder removed with everything in it when it goes.
struct TempFolder {
    fs::path dir;
    TempFolder() {
        std::string tmpl = (fs::temp_directory_path() / "velmora-mkdb-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("no temporary folder could be made");
        dir = tmpl;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    TempFolder(TempFolder&&) = delete;
    TempFolder& operator=(TempFolder&&) = delete;
};

void progressBar(const std::string& table, double share) {
    static int last = -1;
    const int pct = int(share * 100);
    if (pct == last || !::isatty(2)) return;
    last = pct;
    const int width = 30, full = pct * width / 100;
    std::fprintf(stderr, "\r%-24.24s [%s%s] %3d%%", ("Copying " + table).c_str(),
                 std::string(size_t(full), '#').c_str(), std::string(size_t(width - full), ' ').c_str(), pct);
    if (pct >= 100) std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

bool NamesServer(const std::vector<std::string>& args) {
    for (const std::string& a : args)
        if (a == "--database" || a.rfind("--database=", 0) == 0) return true;
    return false;
}

int MakeOnServer(std::vector<std::string> args, const std::function<int(const std::vector<std::string>&)>& makeFile) {
    const auto start = std::chrono::steady_clock::now();
    const std::string url = takeOption(args, "--database");
    const std::string from = takeOption(args, "--from");
    if (url.empty()) {
        std::cerr << "velmora-mkdb: --database needs a connection string or postgresql:// URL\n";
        return 2;
    }
    if (!from.empty() && !args.empty()) {
        std::cerr << "velmora-mkdb: --from copies a word database as it is and takes no other word list\n";
        return 2;
    }
    try {
        store::pg::Connection server(url);
        if (!store::PgDatabaseEmpty(server)) {
            std::cerr << "velmora-mkdb: " << server.label()
                      << " holds word tables already; a word database is made only in an empty one, and this one "
                         "was left as it is\n";
            return 1;
        }
        store::TableCounts counts, source;
        if (!from.empty()) {
            store::Connection file(from, store::Connection::Mode::ReadWrite);
            source = store::CountRows(file);
            counts = store::CopyToServer(file, server, progressBar);
        } else {
            // Every source builds a SQLite file; the server gets a copy of it.
            TempFolder tmp;
            const std::string file = (tmp.dir / "velmora.mdb").string();
            std::vector<std::string> fileArgs{file};
            fileArgs.insert(fileArgs.end(), args.begin(), args.end());
            if (int rc = makeFile(fileArgs); rc != 0) return rc;
            store::Connection built(file, store::Connection::Mode::ReadWrite);
            counts = store::CopyToServer(built, server, progressBar);
        }
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "Made " << server.label() << (from.empty() ? "" : " from " + from) << ":";
        const auto& tables = store::Tables();
        for (size_t i = 0; i < tables.size(); ++i)
            std::cout << (i ? ", " : " ") << counts[i] << " rows in " << tables[i].table;
        std::printf(" (%.1f s)\n", secs);
        for (size_t i = 0; i < source.size(); ++i)
            if (source[i] > counts[i])
                std::cout << "Left out " << source[i] - counts[i] << " rows of " << tables[i].table
                          << " that repeat an earlier row's "
                          << (i == 4   ? "value"
                              : i == 0 ? "word"
                                       : "link")
                          << "; the server keeps each once\n";
        std::cout << std::flush;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "velmora-mkdb: " << e.what() << "\n";
        return 1;
    }
}
