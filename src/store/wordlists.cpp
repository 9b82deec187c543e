#include "store/wordlists.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/shown.h"
#include "store/wordstore.h"

namespace store {

namespace fs = std::filesystem;

namespace {

std::string located(const std::string& file, long line, const std::string& what) {
    std::string s = file;
    if (line > 0) s += ", line " + std::to_string(line);
    return s + ": " + what;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        size_t n = s.find(sep, start);
        out.push_back(s.substr(start, n == std::string_view::npos ? std::string_view::npos : n - start));
        if (n == std::string_view::npos) break;
        start = n + 1;
    }
    return out;
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& ch : out)
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
    return out;
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
            out += char(ch - 'a' + 'A');
        } else if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == ' ') {
            out += char(ch);
        } else if (ch == 0xC3 && i + 1 < s.size()) {
            // å æ ø and their capitals: the three letters beyond Z.
            unsigned char next = static_cast<unsigned char>(s[i + 1]);
            switch (next) {
                case 0xA5: case 0x85: out += "\xC3\x85"; break;  // å Å
                case 0xA6: case 0x86: out += "\xC3\x86"; break;  // æ Æ
                case 0xB8: case 0x98: out += "\xC3\x98"; break;  // ø Ø
                default: return std::nullopt;
            }
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (unsigned char ch : s) {
        if (ch < 0x80) {
            out += char(ch);
        } else {
            out += char(0xC0 | (ch >> 6));
            out += char(0x80 | (ch & 0x3F));
        }
    }
    return out;
}

std::string ReadFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) throw ImportError(path, 0, "no such file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ImportError(path, 0, std::string("cannot be read: ") + std::strerror(errno));
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// --- builder

int WordListBuilder::id(const std::string& w) {
    auto [it, added] = ids_.try_emplace(w, int(words_.size()));
    if (added) words_.push_back(w);
    return it->second;
}

void WordListBuilder::addWord(const std::string& w) {
    if (!w.empty()) id(w);
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

void WordListBuilder::readDemo(const std::string& path) {
    const std::string text = ReadFile(path);
    long lineNo = 0;
    for (std::string_view line : split(text, '\n')) {
        ++lineNo;
        line = trim(line);
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string_view> fields = split(line, '|');
        if (fields.size() != 4)
            throw ImportError(path, lineNo, "expected \"WORD | SYNONYMS | VALUES | CATEGORIES\"");
        auto typeable = [&](std::string_view t) {
            std::optional<std::string> w = Typeable(trim(t));
            if (!w)
                throw ImportError(path, lineNo, "\"" + Shown(trim(t)) + "\" holds a character the word field cannot type");
            return *w;
        };
        const std::string word = typeable(fields[0]);
        if (word.empty()) throw ImportError(path, lineNo, "the word is missing");
        addWord(word);
        auto each = [&](std::string_view list, auto add) {
            for (std::string_view item : split(list, ','))
                if (!trim(item).empty()) add(typeable(item));
        };
        each(fields[1], [&](const std::string& s) { addPair(word, s); });
        each(fields[2], [&](const std::string& v) { addValue(word, v); });
        each(fields[3], [&](const std::string& k) { addCategory(word, k); });
    }
}

void WordListBuilder::readThesaurus(const std::string& path, const std::function<void(double)>& progress) {
    readThesaurusText(ReadFile(path), path, progress);
}

void WordListBuilder::readThesaurusText(std::string_view text, const std::string& name,
                                        const std::function<void(double)>& progress) {
    size_t pos = 0;
    long lineNo = 0;
    auto nextLine = [&](std::string_view& out) {
        if (pos >= text.size()) return false;
        size_t n = text.find('\n', pos);
        if (n == std::string_view::npos) n = text.size();
        out = text.substr(pos, n - pos);
        if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
        pos = n + 1;
        ++lineNo;
        return true;
    };

    // A byte-order mark before the encoding line is no part of it.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    std::string_view line;
    if (!nextLine(line)) throw ImportError(name, 0, "the file is empty; a thesaurus starts with its encoding");
    const std::string enc = upperAscii(trim(line));
    bool latin1;
    if (enc == "UTF-8" || enc == "UTF8")
        latin1 = false;
    else if (enc == "ISO8859-1" || enc == "ISO-8859-1" || enc == "LATIN1" || enc == "ISO8859-15" || enc == "ISO-8859-15")
        latin1 = true;
    else
        throw ImportError(name, 1, "unknown encoding \"" + Shown(trim(line)) +
                                       "\" (known: UTF-8, ISO8859-1, ISO8859-15)");
    auto decode = [&](std::string_view s) { return latin1 ? Latin1ToUtf8(s) : std::string(s); };

    long lastReport = 0;
    while (nextLine(line)) {
        if (trim(line).empty()) continue;
        if (progress && lineNo - lastReport >= 4096) {
            lastReport = lineNo;
            progress(double(pos) / double(text.size()));
        }
        const size_t bar = line.rfind('|');
        if (bar == std::string_view::npos)
            throw ImportError(name, lineNo, "expected an entry \"word|number of meanings\"");
        std::string_view countText = trim(line.substr(bar + 1));
        long count = 0;
        bool numeric = !countText.empty() && countText.size() < 7;
        for (char ch : numeric ? countText : std::string_view()) {
            if (ch < '0' || ch > '9') {
                numeric = false;
                break;
            }
            count = count * 10 + (ch - '0');
        }
        if (!numeric)
            throw ImportError(name, lineNo,
                              "expected an entry \"word|number of meanings\" (the meaning count of the entry before may be wrong)");
        const long entryLine = lineNo;
        const std::string headRaw = decode(trim(line.substr(0, bar)));
        std::optional<std::string> head = Typeable(headRaw);
        if (!head || head->empty()) skip();
        for (long m = 0; m < count; ++m) {
            std::string_view meaning;
            if (!nextLine(meaning))
                throw ImportError(name, entryLine,
                                  "the entry announces " + std::to_string(count) + " meanings, but the file ends after " +
                                      std::to_string(m));
            std::vector<std::string_view> parts = split(meaning, '|');
            std::string_view kind = trim(parts[0]);
            // A line "word|n" here means the count above was too large.
            if (parts.size() == 2 && !(kind.size() >= 2 && kind.front() == '(' && kind.back() == ')')) {
                std::string_view n = trim(parts[1]);
                if (!n.empty() && std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    throw ImportError(name, lineNo,
                                      "an entry where the meaning lines of the entry at line " +
                                          std::to_string(entryLine) + " should be: its count of meanings is wrong");
            }
            if (parts.size() < 2) throw ImportError(name, lineNo, "expected a meaning \"(part of speech)|synonym|…\"");
            if (!head || head->empty()) continue;
            if (kind.size() >= 2 && kind.front() == '(' && kind.back() == ')') kind = trim(kind.substr(1, kind.size() - 2));
            if (kind != "-" && !kind.empty()) {
                if (std::optional<std::string> k = Typeable(decode(kind))) addCategory(*head, *k);
            }
            for (size_t i = 1; i < parts.size(); ++i) {
                std::string_view syn = trim(parts[i]);
                bool antonym = false;
                if (size_t open = syn.rfind(" ("); open != std::string_view::npos && syn.back() == ')') {
                    antonym = syn.substr(open) == " (antonym)";
                    syn = trim(syn.substr(0, open));
                }
                if (syn.empty() || antonym) continue;
                std::optional<std::string> w = Typeable(decode(syn));
                if (!w || w->empty()) {
                    skip();
                    continue;
                }
                addPair(*head, *w);
            }
        }
    }
    if (progress) progress(1.0);
}

ImportCounts WordListBuilder::counts() const {
    ImportCounts c;
    c.words = long(words_.size());
    c.pairs = long(pairs_.size());
    c.categories = long(categories_.size());
    c.links = long(links_.size());
    c.values = long(values_.size());
    c.skipped = skipped_;
    return c;
}

void WordListBuilder::write(Connection& c) const {
    Transaction t(c);
    {
        Stmt st = c.prepare("INSERT INTO T_Ord (Ord) VALUES (?1)");
        for (const std::string& w : words_) {
            st.bind(1, w).run();
            st.reset();
        }
    }
    {
        std::vector<std::string> sorted = categories_;
        std::sort(sorted.begin(), sorted.end());
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

// --- CSV

std::vector<CsvRecord> ParseCsv(std::string_view s, const std::string& name) {
    std::vector<CsvRecord> out;
    size_t i = 0;
    long line = 1;
    while (i < s.size()) {
        CsvRecord rec{line, {}};
        while (true) {
            CsvField field;
            if (i < s.size() && s[i] == '"') {
                const long opened = line;
                std::string text;
                ++i;
                while (true) {
                    if (i >= s.size())
                        throw ImportError(name, opened, "a quoted field is not closed (is the file cut short?)");
                    char ch = s[i++];
                    if (ch == '"') {
                        if (i < s.size() && s[i] == '"') {
                            text += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (ch == '\n') ++line;
                    text += ch;
                }
                if (i < s.size() && s[i] != ',' && s[i] != '\n' && s[i] != '\r')
                    throw ImportError(name, line, "text after the closing quote of a field");
                field = std::move(text);
            } else {
                size_t end = i;
                while (end < s.size() && s[end] != ',' && s[end] != '\n' && s[end] != '\r') {
                    if (s[end] == '"') throw ImportError(name, line, "a quote inside an unquoted field");
                    ++end;
                }
                if (end > i) field = std::string(s.substr(i, end - i));
                i = end;
            }
            rec.fields.push_back(std::move(field));
            if (i < s.size() && s[i] == ',') {
                ++i;
                continue;
            }
            if (i < s.size() && s[i] == '\r') ++i;
            if (i < s.size() && s[i] == '\n') {
                ++i;
                ++line;
            }
            break;
        }
        out.push_back(std::move(rec));
    }
    return out;
}

std::string CsvLine(const CsvRow& row) {
    std::string out;
    for (size_t i = 0; i < row.size(); ++i) {
        if (i) out += ',';
        if (!row[i]) continue;
        out += '"';
        for (char ch : *row[i]) {
            if (ch == '"') out += '"';
            out += ch;
        }
        out += '"';
    }
    out += "\r\n";
    return out;
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

void ExportCsv(Connection& c, const std::string& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const TableColumns& t : Tables()) {
        const std::string file = (fs::path(dir) / (std::string(t.table) + ".csv")).string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out) throw ImportError(file, 0, std::string("cannot be written: ") + std::strerror(errno));
        CsvRow header;
        std::string cols;
        for (const char* col : t.columns) {
            header.emplace_back(col);
            cols += (cols.empty() ? "" : ", ") + std::string(col);
        }
        // The header unquoted, as mdb-export writes it.
        std::string head;
        for (const char* col : t.columns) {
            if (!head.empty()) head += ',';
            head += col;
        }
        out << head << "\r\n";
        Stmt st = c.prepare("SELECT " + cols + " FROM " + t.table + " ORDER BY rowid");
        while (st.step()) {
            CsvRow row;
            for (int i = 0; i < int(t.columns.size()); ++i) {
                if (st.isNull(i))
                    row.emplace_back(std::nullopt);
                else
                    row.emplace_back(st.text(i));
            }
            out << CsvLine(row);
        }
        out.flush();
        if (!out) throw ImportError(file, 0, std::string("could not be written completely: ") + std::strerror(errno));
    }
}

void ImportCsv(Connection& c, const std::string& dir) {
    Transaction tr(c);
    for (const TableColumns& t : Tables()) {
        const std::string file = (fs::path(dir) / (std::string(t.table) + ".csv")).string();
        std::string text = ReadFile(file);
        if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        std::vector<CsvRecord> recs = ParseCsv(text, file);
        if (recs.empty()) throw ImportError(file, 1, "the header row is missing");
        // Map the header's names to our columns; other columns (an old
        // database may carry a counter column) are left out.
        std::vector<int> where(t.columns.size(), -1);
        for (size_t h = 0; h < recs[0].fields.size(); ++h) {
            std::string n = upperAscii(trim(recs[0].fields[h].value_or("")));
            for (size_t k = 0; k < t.columns.size(); ++k)
                if (n == upperAscii(t.columns[k])) where[k] = int(h);
        }
        std::string expected;
        for (size_t k = 0; k < t.required; ++k) {
            if (k) expected += ',';
            expected += t.columns[k];
        }
        for (size_t k = 0; k < t.required; ++k)
            if (where[k] < 0)
                throw ImportError(file, 1, "the header row does not name the columns " + expected);
        std::string cols, marks;
        std::vector<size_t> used;
        for (size_t k = 0; k < t.columns.size(); ++k) {
            if (where[k] < 0) continue;
            cols += (cols.empty() ? "" : ", ") + std::string(t.columns[k]);
            marks += (marks.empty() ? "?" : ", ?") + std::to_string(used.size() + 1);
            used.push_back(k);
        }
        Stmt st = c.prepare("INSERT INTO " + std::string(t.table) + " (" + cols + ") VALUES (" + marks + ")");
        const size_t width = recs[0].fields.size();
        for (size_t r = 1; r < recs.size(); ++r) {
            const CsvRecord& rec = recs[r];
            if (rec.fields.size() == 1 && !rec.fields[0] && width > 1) continue;  // blank line
            if (rec.fields.size() != width)
                throw ImportError(file, rec.line,
                                  "the row has " + std::to_string(rec.fields.size()) + " fields, the header " +
                                      std::to_string(width));
            for (size_t u = 0; u < used.size(); ++u) {
                const CsvField& f = rec.fields[size_t(where[used[u]])];
                if (f)
                    st.bind(int(u + 1), *f);
                else
                    st.bindNull(int(u + 1));
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
