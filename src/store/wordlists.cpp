#include "store/wordlists.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "store/order.h"
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

void WordListBuilder::skip(const std::string& reason) {
    ++skipped_;
    ++reasons_[reason];
}

void WordListBuilder::addPair(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || a == b) return;
    int x = id(a), y = id(b);
    if (!pairSeen_.insert(key(std::min(x, y), std::max(x, y))).second) return;
    pairs_.emplace_back(x, y);
}

void WordListBuilder::addCategory(const std::string& w, const std::string& kategori) {
    if (w.empty() || kategori.empty()) return;
    int x = id(w);
    auto [it, added] = categoryIds_.try_emplace(kategori, int(categories_.size()));
    if (added) categories_.push_back(kategori);
    if (linkSeen_.insert(key(x, it->second)).second) links_.emplace_back(x, it->second);
}

void WordListBuilder::addValue(const std::string& w, const std::string& verdi) {
    if (w.empty() || verdi.empty()) return;
    int x = id(w);
    if (valueSeen_.insert(std::to_string(x) + '|' + verdi).second) values_.emplace_back(x, verdi);
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
        // Both directions, the reverse row first, as the program saves a pair.
        Stmt st = c.prepare("INSERT INTO T_OrdSynonym (Ord, Synonym, Notat) VALUES (?1, ?2, 'X'), (?2, ?1, 'X')");
        for (auto [a, b] : pairs_) {
            st.bind(1, words_[size_t(b)]).bind(2, words_[size_t(a)]).run();
            st.reset();
        }
    }
    {
        std::unordered_set<std::string> known;
        Stmt verdi = c.prepare("INSERT INTO T_Verdi (Verdi, Notat) VALUES (?1, 'X')");
        Stmt link = c.prepare("INSERT INTO T_OrdVerdi (Ord, Verdi, Notat) VALUES (?1, ?2, 'X')");
        for (const auto& [w, v] : values_) {
            if (known.insert(v).second) {
                verdi.bind(1, v).run();
                verdi.reset();
            }
            link.bind(1, words_[size_t(w)]).bind(2, v).run();
            link.reset();
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
        Stmt st = c.prepare("INSERT INTO " + std::string(t.table->table) + " (" + cols + ") VALUES (" + marks + ")");
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

void BuildDatabase(const std::string& path, const std::function<void(Connection&)>& fill) {
    std::error_code ec;
    if (fs::exists(path, ec)) throw ImportError(path, 0, "the file exists already; it was left as it is");
    // A killed build of any word database here leaves its part behind.
    std::error_code pe;
    RemoveDeadParts(fs::absolute(path, pe).parent_path().string());
    const std::string part = path + ".part-" + std::to_string(::getpid());
    fs::remove(part, ec);
    try {
        {
            Connection c(part, Connection::Mode::Create);
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
