#include "store/wordlists.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "store/order.h"
#include "store/parts.h"
#include "store/shown.h"
#include "store/utf8.h"
#include "store/wordstore.h"

namespace store {

namespace fs = std::filesystem;

namespace {

std::string located(const std::string& file, long line, const std::string& what) {
    std::string s = file;
    if (line > 0) s += ", line " + std::to_string(line);
    return s + ": " + what;
}

uint64_t key(int a, int b) { return (uint64_t(uint32_t(a)) << 32) | uint32_t(b); }

// The engine says only "unable to open database file" when the folder
// changed since it was checked; the reason is looked for again.
Connection createPart(const std::string& part) {
    try {
        return Connection(part, Connection::Mode::Create);
    } catch (const DbError& e) {
        const std::string why = WhyNotWritable(fs::path(part).parent_path().string());
        if (why.empty()) throw;
        throw ImportError(part, 0, std::string(e.detail()) + ": " + why);
    }
}

}  // namespace

ImportError::ImportError(const std::string& file, long line, const std::string& what)
    : std::runtime_error(located(file, line, what)), file_(file), line_(line) {}

std::optional<std::string> Typeable(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(s[i]);
        if (ch >= 'a' && ch <= 'z') {
            out += UpperAscii(char(ch));
        } else if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == ' ') {
            out += char(ch);
        } else if (ch == 0xC3 && i + 1 < s.size()) {
            // å æ ø and their capitals: the three letters beyond Z.
            unsigned char next = static_cast<unsigned char>(s[i + 1]);
            switch (next) {
                case 0xA5:
                case 0x85:
                    out += "\xC3\x85";
                    break;  // å Å
                case 0xA6:
                case 0x86:
                    out += "\xC3\x86";
                    break;  // æ Æ
                case 0xB8:
                case 0x98:
                    out += "\xC3\x98";
                    break;  // ø Ø
                default:
                    return std::nullopt;
            }
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// --- builder

int WordListBuilder::id(const std::string& w) {
    auto [it, added] = ids_.try_emplace(w, int(words_.size()));
    if (added) {
        words_.push_back(w);
        listed_.push_back(false);
    }
    return it->second;
}

void WordListBuilder::addWord(const std::string& w, bool listed) {
    if (w.empty()) return;
    const int x = id(w);
    if (listed) listed_[size_t(x)] = true;
}

void WordListBuilder::skip(const std::string& reason, long n) {
    if (n <= 0) return;
    skipped_ += n;
    reasons_[reason] += n;
}

namespace {
std::string pairKey(const std::string& a, const std::string& b) { return a < b ? a + '\n' + b : b + '\n' + a; }
}  // namespace

void WordListBuilder::block(const std::string& w) { blockedWords_.insert(w); }

void WordListBuilder::blockPair(const std::string& a, const std::string& b) { blockedPairs_.insert(pairKey(a, b)); }

bool WordListBuilder::blocked(const std::string& a, const std::string& b) const {
    return blockedWords_.count(a) || blockedWords_.count(b) ||
           (!blockedPairs_.empty() && blockedPairs_.count(pairKey(a, b)));
}

void WordListBuilder::setRank(const std::string& w, int r) {
    auto [it, added] = ranks_.try_emplace(w, r);
    if (!added && r < it->second) it->second = r;
}

int WordListBuilder::rankOf(const std::string& w) const {
    auto it = ranks_.find(w);
    return it == ranks_.end() ? 0 : it->second;
}

void WordListBuilder::setSenseOrder(const std::string& w, std::vector<int> senses) {
    senseOrder_[w] = std::move(senses);
}

void WordListBuilder::addPair(const std::string& a, const std::string& b, int senseA, int senseB) {
    if (a.empty() || b.empty() || a == b) return;
    if (blocked(a, b)) return skip(kOffensive);
    int x = id(a), y = id(b);
    if (x > y) {
        std::swap(x, y);
        std::swap(senseA, senseB);
    }
    auto [it, added] = pairAt_.try_emplace(key(x, y), pairs_.size());
    if (added) return pairs_.push_back({x, y, senseA, senseB});
    // The same pair from another sense: the more frequent sense counts.
    Pair& p = pairs_[it->second];
    auto better = [](int have, int got) { return got != 0 && (have == 0 || got < have) ? got : have; };
    p.senseA = better(p.senseA, senseA);
    p.senseB = better(p.senseB, senseB);
}

void WordListBuilder::addCategory(const std::string& w, const std::string& kategori) {
    if (w.empty() || kategori.empty()) return;
    if (blockedWords_.count(w)) return skip(kOffensive);
    int x = id(w);
    auto [it, added] = categoryIds_.try_emplace(kategori, int(categories_.size()));
    if (added) categories_.push_back(kategori);
    if (linkSeen_.insert(key(x, it->second)).second) links_.emplace_back(x, it->second);
}

void WordListBuilder::addValue(const std::string& w, const std::string& verdi, int tier) {
    if (w.empty() || verdi.empty() || w == verdi) return;
    if (blocked(w, verdi)) return skip(kOffensive);
    int x = id(w);
    id(verdi);
    auto [it, added] = valueAt_.try_emplace(std::to_string(x) + '|' + verdi, values_.size());
    if (added) {
        values_.emplace_back(x, verdi);
        valueTiers_.push_back(tier);
    } else {
        valueTiers_[it->second] = std::min(valueTiers_[it->second], tier);
    }
}

int WordListBuilder::rank(int word) const {
    auto it = ranks_.find(words_[size_t(word)]);
    return it == ranks_.end() ? 1000 : it->second;
}

// The place of a sense among its word's senses; senses the word's order
// does not know come after those it knows, in their own order.
int WordListBuilder::senseRank(int word, int sense) const {
    if (sense == 0) return 1 << 20;
    auto it = senseOrder_.find(words_[size_t(word)]);
    if (it != senseOrder_.end()) {
        auto at = std::find(it->second.begin(), it->second.end(), sense);
        if (at != it->second.end()) return int(at - it->second.begin());
    }
    return (1 << 16) + sense;
}

ImportCounts WordListBuilder::counts() const {
    ImportCounts c;
    c.words = long(words_.size());
    c.pairs = long(pairs_.size());
    c.categories = long(categories_.size());
    c.links = long(links_.size());
    c.values = long(values_.size());
    c.skipped = skipped_;
    c.reasons = reasons_;
    return c;
}

void WordListBuilder::write(Connection& c) const {
    Transaction t(c);
    {
        Stmt st = c.prepare("INSERT INTO T_Ord (Ord, Notat) VALUES (?1, ?2)");
        for (size_t i = 0; i < words_.size(); ++i) {
            st.bind(1, words_[i]);
            if (listed_[i])
                st.bind(2, "X");
            else
                st.bindNull(2);
            st.run();
            st.reset();
        }
    }
    {
        // The category box lists them in the order they are stored.
        std::vector<std::string> sorted = categories_;
        std::sort(sorted.begin(), sorted.end(), WordLess);
        Stmt st = c.prepare("INSERT INTO T_Kategori (Kategori) VALUES (?1)");
        for (const std::string& k : sorted) {
            st.bind(1, k).run();
            st.reset();
        }
    }
    {
        Stmt st = c.prepare("INSERT INTO T_OrdKategori (Ord, Kategori, Notat) VALUES (?1, ?2, 'X')");
        for (auto [w, k] : links_) {
            st.bind(1, words_[size_t(w)]).bind(2, categories_[size_t(k)]).run();
            st.reset();
        }
    }
    {
        // Both directions; each word's synonyms in the order of their senses
        // and then common first.
        struct Row {
            int ord, synonym, order, rank;
        };
        std::vector<Row> rows;
        rows.reserve(pairs_.size() * 2);
        for (const Pair& p : pairs_) {
            rows.push_back({p.b, p.a, senseRank(p.b, p.senseB), rank(p.a)});
            rows.push_back({p.a, p.b, senseRank(p.a, p.senseA), rank(p.b)});
        }
        std::stable_sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) {
            return x.order != y.order ? x.order < y.order : x.rank < y.rank;
        });
        Stmt st = c.prepare("INSERT INTO T_OrdSynonym (Ord, Synonym, Notat) VALUES (?1, ?2, 'X')");
        for (const Row& r : rows) {
            st.bind(1, words_[size_t(r.ord)]).bind(2, words_[size_t(r.synonym)]).run();
            st.reset();
        }
    }
    {
        std::vector<std::pair<int, size_t>> order;  // tier and rank, index into values_
        order.reserve(values_.size());
        for (size_t i = 0; i < values_.size(); ++i)
            order.emplace_back(valueTiers_[i] * 4096 + rank(ids_.at(values_[i].second)), i);
        std::stable_sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        std::unordered_set<std::string> known;
        Stmt verdi = c.prepare("INSERT INTO T_Verdi (Verdi, Notat) VALUES (?1, 'X')");
        Stmt link = c.prepare("INSERT INTO T_OrdVerdi (Ord, Verdi, Notat) VALUES (?1, ?2, 'X')");
        for (const auto& [r, i] : order) {
            const auto& [w, v] = values_[i];
            if (known.insert(v).second) {
                verdi.bind(1, v).run();
                verdi.reset();
            }
            link.bind(1, words_[size_t(w)]).bind(2, v).run();
            link.reset();
        }
    }
    {
        // Commonness lives in a table of its own, which the windows never read.
        c.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kRankTable + " (Ord TEXT, Rang INTEGER)");
        Stmt st = c.prepare(std::string("INSERT INTO ") + kRankTable + " (Ord, Rang) VALUES (?1, ?2)");
        for (size_t i = 0; i < words_.size(); ++i) {
            auto it = ranks_.find(words_[i]);
            if (it == ranks_.end()) continue;
            st.bind(1, words_[i]).bind(2, int64_t(it->second)).run();
            st.reset();
        }
    }
    t.commit();
}

const std::vector<TableColumns>& Tables() {
    static const std::vector<TableColumns> tables = {
        {"T_Ord", {"Ord", "Notat", "Star"}, 1},
        {"T_Kategori", {"Kategori"}, 1},
        {"T_OrdKategori", {"Ord", "Kategori", "Notat"}, 2},
        {"T_OrdSynonym", {"Ord", "Synonym", "Notat"}, 2},
        {"T_Verdi", {"Verdi", "Notat"}, 1},
        {"T_OrdVerdi", {"Ord", "Verdi", "Notat"}, 2},
    };
    return tables;
}

void ForEachRow(Connection& c, const TableColumns& t, const std::function<void(const FieldRow&)>& row) {
    std::string cols;
    for (const char* col : t.columns) cols += (cols.empty() ? "" : ", ") + std::string(col);
    Stmt st = c.prepare("SELECT " + cols + " FROM " + t.table + " ORDER BY rowid");
    FieldRow fields(t.columns.size());
    while (st.step()) {
        for (int i = 0; i < int(t.columns.size()); ++i) {
            if (st.isNull(i))
                fields[size_t(i)].reset();
            else
                fields[size_t(i)] = st.text(i);
        }
        row(fields);
    }
}

void WriteTables(Connection& c, const std::vector<TableRows>& tables) {
    Transaction tr(c);
    for (const TableRows& t : tables) {
        if (t.columns.empty()) continue;
        std::string cols, marks;
        for (size_t k = 0; k < t.columns.size(); ++k) {
            cols += (cols.empty() ? "" : ", ") + std::string(t.table->columns.at(t.columns[k]));
            marks += (marks.empty() ? "?" : ", ?") + std::to_string(k + 1);
        }
        std::string sql = "INSERT INTO ";
        sql.append(t.table->table).append(" (").append(cols).append(") VALUES (").append(marks).append(")");
        Stmt st = c.prepare(sql);
        for (const FieldRow& row : t.rows) {
            for (size_t k = 0; k < t.columns.size(); ++k) {
                const Field& f = k < row.size() ? row[k] : Field();
                if (f)
                    st.bind(int(k + 1), *f);
                else
                    st.bindNull(int(k + 1));
            }
            st.run();
            st.reset();
        }
    }
    tr.commit();
}

void CheckNewDatabase(const std::string& path) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec)))
        throw ImportError(path, 0, "the file exists already; it was left as it is");
    if (const std::string why = WhyNotWritable(fs::path(path).parent_path().string()); !why.empty())
        throw ImportError(path, 0, "cannot be made: " + why);
}

void BuildDatabase(const std::string& path, const std::function<void(Connection&)>& fill) {
    CheckNewDatabase(path);
    // A killed build of a word database here leaves its part behind.
    RemoveDeadParts(fs::path(path).parent_path().string(), fs::path(path).filename().string());
    std::error_code ec;
    const std::string part = PartFile(path);
    fs::remove(part, ec);
    try {
        {
            Connection c = createPart(part);
            // The half-built file is thrown away on any failure, so it needs
            // no journal while it is filled.
            c.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
            c.exec("BEGIN");
            CreateTables(c);
            c.exec("COMMIT");
            fill(c);
            c.exec("BEGIN");
            CreateIndexes(c);
            c.exec("COMMIT");
            c.exec("PRAGMA journal_mode=DELETE");
        }
        {
            // Make the finished file durable before it takes the name.
            int fd = ::open(part.c_str(), O_RDONLY);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
        }
        // A hard link never replaces a file that appeared meanwhile.
        fs::create_hard_link(part, path, ec);
        if (ec) throw ImportError(path, 0, "could not be created: " + ec.message());
        fs::remove(part, ec);
    } catch (...) {
        fs::remove(part, ec);
        throw;
    }
}

}  // namespace store
