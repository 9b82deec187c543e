// velmora-stress: several processes editing one word database at once, as
// several Velmora windows (and other programs holding locks) would, through
// the same store calls the windows make. Each worker logs what every call
// reported; the check then holds the file against the logs.
//
//   velmora-stress work DB LOG SEED OPS [ends]
//                                            random saves and erases; with
//                                            "ends", an error that is not a
//                                            refusal ends the process (exit
//                                            3), as it ends Velmora
//   velmora-stress lock DB SECONDS SEED      holds the file locked now and then
//   velmora-stress check DB LOG...           exit status 0 when all is explained
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "store/wordstore.h"

namespace {

using Clock = std::chrono::system_clock;

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A small vocabulary, so that the processes keep meeting on the same rows.
std::string word(int i) { return std::string("W").append(std::to_string(i)); }
std::string category(int i) { return std::string("C").append(std::to_string(i)); }
std::string value(int i) { return std::string("V").append(std::to_string(i)); }
constexpr int kWords = 24, kCategories = 4, kValues = 6;

// One logged call: start and end (wall clock, ns), what it was, what it said.
struct Entry {
    int64_t t0 = 0, t1 = 0;
    std::string op, a, b, result;  // result: done, not, busy, refused, error, ended
};

// What a failed call is logged as. Busy and refused calls leave the window
// open; any other error ends it (with `ends`) or is merely logged.
std::string failure(const store::DbError& e, bool ends) {
    switch (e.kind()) {
        case store::DbError::Kind::Busy:
            return "busy";
        case store::DbError::Kind::ReadOnly:
        case store::DbError::Kind::Denied:
            return "refused";
        default:
            return ends ? "ended" : "error";
    }
}

int work(const std::string& db, const std::string& logPath, unsigned seed, int ops, bool ends) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    std::ofstream log(logPath, std::ios::app);  // a process started again goes on with the log
    store::setBusyTimeout(200);                 // shorter than the longest lock: some calls give up
    for (int k = 0; k < ops; ++k) {
        static const char* const kOps[] = {"saveWord", "eraseWord", "saveCat", "eraseCat",
                                           "saveSyn",  "eraseSyn",  "saveVal", "eraseVal"};
        const int kind = pick(8);
        const std::string op = kOps[kind];
        const std::string a = word(pick(kWords));
        std::string b = "-";
        if (kind == 2 || kind == 3) b = category(pick(kCategories));
        if (kind == 6 || kind == 7) b = value(pick(kValues));
        if (kind == 4 || kind == 5) {
            do b = word(pick(kWords));
            while (b == a);
        }
        std::string result = "not";
        const int64_t t0 = nowNs();
        try {
            store::Database d(db);
            // The erases look first, ask (a pause), then erase, as the window does.
            auto ask = [&] {
                if (pick(4) == 0) sleepMs(pick(5));
            };
            auto said = [&](bool done) { result = done ? "done" : "not"; };
            switch (kind) {
                case 0:
                    said(d.SaveWord(a));
                    break;
                case 1:
                    if (d.FindWordRow(a)) {
                        ask();
                        said(d.EraseWord(a));
                    }
                    break;
                case 2:
                    said(d.SaveCategoryLink(a, b));
                    break;
                case 3:
                    ask();
                    said(d.EraseCategoryLink(a, b));
                    break;
                case 4:
                    said(d.SaveSynonymPair(a, b));
                    break;
                case 5:
                    ask();
                    said(d.EraseSynonymPair(a, b) > 0);
                    break;
                case 6:
                    said(d.SaveValueLink(a, b));
                    break;
                default:
                    ask();
                    said(d.EraseValueLink(a, b));
                    break;
            }
        } catch (const store::DbError& e) {
            result = failure(e, ends);
            if (result == "error" || result == "ended") std::cerr << "velmora-stress: " << e.what() << "\n";
        }
        log << t0 << ' ' << nowNs() << ' ' << op << ' ' << a << ' ' << b << ' ' << result << '\n';
        if (result == "ended") {
            log.flush();
            return 3;
        }
        if (pick(10) == 0) sleepMs(pick(3));
    }
    return 0;
}

int lock(const std::string& db, int seconds, unsigned seed) {
    std::mt19937 rng(seed);
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    int held = 0;
    while (Clock::now() < end) {
        sleepMs(100 + int(rng() % 400));
        try {
            store::Connection c(db);
            c.exec("BEGIN EXCLUSIVE");
            sleepMs(20 + int(rng() % 300));
            c.exec("COMMIT");
            ++held;
        } catch (const store::DbError&) {}
    }
    std::cout << "locks held: " << held << "\n";
    return 0;
}

// --- the check

using Key = std::pair<std::string, std::string>;  // (a, b); b "-" for words

struct Item {
    std::vector<const Entry*> present;  // calls after which the item was there
    std::vector<const Entry*> erased;   // erases reported done
};

int check(const std::string& db, const std::vector<std::string>& logs) {
    std::vector<Entry> entries;
    for (const std::string& p : logs) {
        std::ifstream in(p);
        Entry e;
        while (in >> e.t0 >> e.t1 >> e.op >> e.a >> e.b >> e.result) entries.push_back(e);
    }
    std::map<std::string, int> counts;
    // table -> key -> item
    std::map<std::string, std::map<Key, Item>> items;
    int64_t first = INT64_MAX, last = 0;
    for (const Entry& e : entries) {
        ++counts[e.op + " " + e.result];
        first = std::min(first, e.t0);
        last = std::max(last, e.t1);
        if (e.result != "done" && e.result != "not") continue;  // wrote nothing
        const bool save = e.op.rfind("save", 0) == 0;
        auto note = [&](const std::string& table, const std::string& a, const std::string& b) {
            Item& it = items[table][{a, b}];
            if (save)
                it.present.push_back(&e);
            else if (e.result == "done")
                it.erased.push_back(&e);
        };
        if (e.op == "saveWord" || e.op == "eraseWord") note("T_Ord", e.a, "-");
        if (e.op == "saveCat" || e.op == "eraseCat") note("T_OrdKategori", e.a, e.b);
        if (e.op == "saveVal" || e.op == "eraseVal") note("T_OrdVerdi", e.a, e.b);
        if (e.op == "saveSyn" || e.op == "eraseSyn") {
            note("T_OrdSynonym", e.a, e.b);
            note("T_OrdSynonym", e.b, e.a);
        }
        // Every link save puts its words in place, added or not.
        if (save && e.op != "saveWord") {
            items["T_Ord"][{e.a, "-"}].present.push_back(&e);
            if (e.op == "saveSyn") items["T_Ord"][{e.b, "-"}].present.push_back(&e);
        }
    }

    store::Connection c(db);
    int faults = 0;
    auto fault = [&](const std::string& what) {
        if (++faults <= 20) std::cout << "FAULT: " << what << "\n";
    };
    auto rowsOf = [&](const std::string& table, const char* sql) {
        std::map<Key, int> out;
        store::Stmt st = c.prepare(sql);
        while (st.step()) out[{st.text(0), st.columns() > 1 ? st.text(1) : "-"}]++;
        for (const auto& [k, n] : out) {
            if (n > 1) fault(table + " holds " + k.first + "/" + k.second + " " + std::to_string(n) + " times");
            if (!items[table].count(k) || items[table][k].present.empty())
                fault(table + " holds " + k.first + "/" + k.second + ", which no log saved");
        }
        return out;
    };
    std::map<std::string, std::map<Key, int>> now;
    now["T_Ord"] = rowsOf("T_Ord", "SELECT Ord FROM T_Ord");
    now["T_OrdKategori"] = rowsOf("T_OrdKategori", "SELECT Ord, Kategori FROM T_OrdKategori");
    now["T_OrdSynonym"] = rowsOf("T_OrdSynonym", "SELECT Ord, Synonym FROM T_OrdSynonym");
    now["T_OrdVerdi"] = rowsOf("T_OrdVerdi", "SELECT Ord, Verdi FROM T_OrdVerdi");
    for (const auto& [k, n] : now["T_OrdSynonym"])
        if (now["T_OrdSynonym"][{k.second, k.first}] != n) fault("synonym " + k.first + "/" + k.second + " one-way");

    // Every item reported there must still be there, unless an erase
    // reported done that may have run after it (ended after it began).
    for (auto& [table, byKey] : items)
        for (auto& [k, it] : byKey) {
            if (it.present.empty() || now[table].count(k)) continue;
            const Entry* latest = it.present.front();
            for (const Entry* p : it.present)
                if (p->t0 > latest->t0) latest = p;
            bool explained = false;
            for (const Entry* er : it.erased) explained = explained || er->t1 > latest->t0;
            if (!explained) {
                fault(table + " lost " + k.first + "/" + k.second);
            }
        }
    store::Stmt ic = c.prepare("PRAGMA integrity_check");
    ic.step();
    if (ic.text(0) != "ok") fault("integrity_check: " + ic.text(0));

    const double secs = double(last - first) / 1e9;
    std::cout << "calls: " << entries.size() << " in " << secs << " s = " << int(double(entries.size()) / secs)
              << " calls/s over " << logs.size() << " processes\n";
    for (const auto& [k, n] : counts) std::cout << "  " << k << ": " << n << "\n";
    std::cout << "rows at the end: " << now["T_Ord"].size() << " words, " << now["T_OrdKategori"].size()
              << " category links, " << now["T_OrdSynonym"].size() << " synonym rows, " << now["T_OrdVerdi"].size()
              << " value links\n";
    std::cout << (faults ? "FAILED: " + std::to_string(faults) + " faults" : std::string("all explained, nothing lost"))
              << "\n";
    return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    try {
        if ((a.size() == 5 || (a.size() == 6 && a[5] == "ends")) && a[0] == "work")
            return work(a[1], a[2], unsigned(std::stoul(a[3])), std::stoi(a[4]), a.size() == 6);
        if (a.size() == 4 && a[0] == "lock") return lock(a[1], std::stoi(a[2]), unsigned(std::stoul(a[3])));
        if (a.size() >= 3 && a[0] == "check") return check(a[1], {a.begin() + 2, a.end()});
    } catch (const std::exception& e) {
        std::cerr << "velmora-stress: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "usage: velmora-stress work DB LOG SEED OPS [ends] | lock DB SECONDS SEED | check DB LOG...\n";
    return 2;
}
