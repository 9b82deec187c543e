#include "sources/csv.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "sources/text.h"

namespace sources {

namespace fs = std::filesystem;

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
                        throw store::ImportError(name, opened, "a quoted field is not closed (is the file cut short?)");
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
                    throw store::ImportError(name, line, "text after the closing quote of a field");
                field = std::move(text);
            } else {
                size_t end = i;
                while (end < s.size() && s[end] != ',' && s[end] != '\n' && s[end] != '\r') {
                    if (s[end] == '"') throw store::ImportError(name, line, "a quote inside an unquoted field");
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

void ExportCsv(store::Connection& c, const std::string& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const store::TableColumns& t : store::Tables()) {
        const std::string file = (fs::path(dir) / (std::string(t.table) + ".csv")).string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out) throw store::ImportError(file, 0, std::string("cannot be written: ") + std::strerror(errno));
        // The header unquoted, as mdb-export writes it.
        std::string head;
        for (const char* col : t.columns) {
            if (!head.empty()) head += ',';
            head += col;
        }
        out << head << "\r\n";
        store::ForEachRow(c, t, [&](const store::FieldRow& row) { out << CsvLine(row); });
        out.flush();
        if (!out)
            throw store::ImportError(file, 0, std::string("could not be written completely: ") + std::strerror(errno));
    }
}

std::vector<store::TableRows> ReadCsvTables(const std::string& dir) {
    std::vector<store::TableRows> tables;
    for (const store::TableColumns& t : store::Tables()) {
        const std::string file = (fs::path(dir) / (std::string(t.table) + ".csv")).string();
        std::string text = ReadFile(file);
        if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        std::vector<CsvRecord> recs = ParseCsv(text, file);
        text = std::string();
        if (recs.empty()) throw store::ImportError(file, 1, "the header row is missing");
        // Map the header's names to our columns; other columns (an old
        // database may carry a counter column) are left out.
        std::vector<int> where(t.columns.size(), -1);
        for (size_t h = 0; h < recs[0].fields.size(); ++h) {
            std::string n = UpperAscii(Trim(recs[0].fields[h].value_or("")));
            for (size_t k = 0; k < t.columns.size(); ++k)
                if (n == UpperAscii(t.columns[k])) where[k] = int(h);
        }
        std::string expected;
        for (size_t k = 0; k < t.required; ++k) {
            if (k) expected += ',';
            expected += t.columns[k];
        }
        for (size_t k = 0; k < t.required; ++k)
            if (where[k] < 0) throw store::ImportError(file, 1, "the header row does not name the columns " + expected);
        store::TableRows out{&t, {}, {}};
        for (size_t k = 0; k < t.columns.size(); ++k)
            if (where[k] >= 0) out.columns.push_back(k);
        const size_t width = recs[0].fields.size();
        out.rows.reserve(recs.size());
        for (size_t r = 1; r < recs.size(); ++r) {
            CsvRecord& rec = recs[r];
            if (rec.fields.size() == 1 && !rec.fields[0] && width > 1) continue;  // blank line
            if (rec.fields.size() != width)
                throw store::ImportError(file, rec.line,
                                         "the row has " + std::to_string(rec.fields.size()) + " fields, the header " +
                                             std::to_string(width));
            store::FieldRow row;
            row.reserve(out.columns.size());
            for (size_t k : out.columns) row.push_back(std::move(rec.fields[size_t(where[k])]));
            out.rows.push_back(std::move(row));
        }
        tables.push_back(std::move(out));
    }
    return tables;
}

}  // namespace sources
