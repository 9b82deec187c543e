#include "support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace testing_support {

Rows queryRows(store::Connection& c, const std::string& sql, const std::vector<std::string>& values) {
    auto st = c.prepare(sql);
    for (size_t i = 0; i < values.size(); ++i) st.bind(int(i + 1), values[i]);
    Rows out;
    while (st.step()) {
        out.emplace_back();
        for (int i = 0; i < st.columns(); ++i) out.back().push_back(st.isNull(i) ? "<null>" : st.text(i));
    }
    return out;
}

Rows fileRows(const std::string& file, const std::string& sql, const std::vector<std::string>& values) {
    store::Connection c(file);
    return queryRows(c, sql, values);
}

int RowStore::count(const std::string& table) { return std::stoi(rows("SELECT COUNT(*) FROM " + table)[0][0]); }

void RowStore::addWord(const std::string& ord, const char* notat) {
    if (notat)
        exec("INSERT INTO T_Ord(Ord, Notat) VALUES(?, ?)", {ord, notat});
    else
        exec("INSERT INTO T_Ord(Ord) VALUES(?)", {ord});
}
void RowStore::addCategory(const std::string& k) { exec("INSERT INTO T_Kategori(Kategori) VALUES(?)", {k}); }
void RowStore::link(const std::string& o, const std::string& k) {
    exec("INSERT INTO T_OrdKategori(Ord, Kategori, Notat) VALUES(?, ?, 'X')", {o, k});
}
void RowStore::synonym(const std::string& o, const std::string& s) {
    exec("INSERT INTO T_OrdSynonym(Ord, Synonym, Notat) VALUES(?, ?, 'X')", {o, s});
}
void RowStore::value(const std::string& o, const std::string& v) {
    exec("INSERT INTO T_OrdVerdi(Ord, Verdi, Notat) VALUES(?, ?, 'X')", {o, v});
}

void RowStore::addWords(const std::string& prefix, int from, int to, const std::string& suffix) {
    exec(
        "WITH RECURSIVE n(i) AS (SELECT CAST(? AS INTEGER) UNION ALL SELECT i + 1 FROM n WHERE i + 1 < CAST(? AS "
        "INTEGER)) INSERT INTO T_Ord(Ord) SELECT CAST(? AS TEXT) || i || CAST(? AS TEXT) FROM n",
        {std::to_string(from), std::to_string(to), prefix, suffix});
}

Thrown thrown(const std::function<void()>& f) {
    try {
        f();
    } catch (const store::DbError& e) {
        return {e.kind(), e.what()};
    }
    return {};
}

pid_t spawn(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 4;
        try {
            status = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child %d: %s\n", int(::getpid()), e.what());  // says why in the test's log
        } catch (...) {}
        ::_exit(status);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int st = 0;
    ::waitpid(pid, &st, 0);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 100 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
}

TempDb::TempDb() {
    std::random_device rd;
    old_ = fs::current_path();
    for (;;) {
        dir_ = fs::temp_directory_path() / ("velmora-test-" + std::to_string(rd()));
        if (fs::create_directory(dir_)) break;
    }
    store::CreateDatabase((dir_ / "velmora.mdb").string());
    fs::current_path(dir_);
}

TempDb::~TempDb() {
    std::error_code ec;
    fs::current_path(old_, ec);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(dir_ / "velmora.mdb", fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
}

std::string binaryPath(const std::string& name) { return std::string(VELMORA_BINARY_DIR) + "/tools/" + name; }
std::string sourcePath(const std::string& rel) { return std::string(VELMORA_SOURCE_DIR) + "/" + rel; }

int mkdb(const std::string& args, std::string* output, const std::string& runner) {
    const std::string log = "mkdb.log";
    const int rc = std::system((runner + binaryPath("velmora-mkdb") + " " + args + " >" + log + " 2>&1").c_str());
    if (output) {
        std::ifstream in(log);
        *output = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace testing_support
