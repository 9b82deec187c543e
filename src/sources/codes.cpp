#include "sources/codes.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "sources/text.h"

namespace sources {

namespace {

using nlohmann::json;

struct JsonFile {
    std::string path;
    json entries;  // the list under the file's one key
};

JsonFile readJson(const std::string& dir, const std::string& standard) {
    JsonFile f{(std::filesystem::path(dir) / ("iso_" + standard + ".json")).string(), {}};
    const std::string text = ReadFile(f.path);
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        const size_t at = std::min(text.size(), e.byte > 0 ? size_t(e.byte - 1) : size_t(0));
        const long line = 1 + long(std::count(text.begin(), text.begin() + long(at), '\n'));
        std::string what = e.what();
        if (const size_t colon = what.rfind(": "); colon != std::string::npos) what = what.substr(colon + 2);
        throw store::ImportError(f.path, line, "not readable JSON: " + what);
    }
    if (!doc.is_object() || !doc.contains(standard) || !doc[standard].is_array())
        throw store::ImportError(f.path, 0, "expected an object with the list \"" + standard + "\"");
    f.entries = std::move(doc[standard]);
    return f;
}

std::string field(const json& entry, const char* key) {
    auto it = entry.find(key);
    return it != entry.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// The names of an entry as the word field holds them: the translation of
// each English name when there is one; a language's name may list several,
// split by ";".
std::vector<std::string> names(const json& entry, const Translations& tr, store::WordListBuilder& rows) {
    std::vector<std::string> out;
    for (const char* key : {"name", "common_name"}) {
        std::string english = field(entry, key);
        if (english.empty()) continue;
        auto it = tr.find(english);
        const std::string& name = it != tr.end() ? it->second : english;
        for (std::string_view one : Split(name, ';')) {
            one = Trim(one);
            if (one.empty()) continue;
            std::optional<std::string> w = store::Typeable(one);
            if (!w || w->empty()) {
                rows.skip("cannot be typed");
                continue;
            }
            if (std::find(out.begin(), out.end(), *w) == out.end()) out.push_back(*w);
        }
    }
    return out;
}

std::vector<std::string> codes(const json& entry, std::initializer_list<const char*> keys) {
    std::vector<std::string> out;
    for (const char* key : keys) {
        std::string code = UpperAscii(field(entry, key));
        if (GridAnswer(code)) out.push_back(code);
    }
    return out;
}

void add(store::WordListBuilder& rows, const std::vector<std::string>& words, const std::vector<std::string>& values,
         const std::string& category) {
    for (const std::string& w : words) {
        if (GridAnswer(w))
            rows.addCategory(w, category);
        else
            rows.skip("not one word of letters");
        // A rare name's codes are no answers a solver finds (GUERNSEY: GGY).
        if (const int rank = rows.rankOf(w);
            rows.ranked() && w.find(' ') == std::string::npos && (rank == 0 || rank > 2)) {
            rows.skip("clue word not common", long(values.size()));
            continue;
        }
        for (const std::string& v : values)
            if (v != w) rows.addValue(w, v);
    }
}

}  // namespace

void ReadCodes(const std::string& dir, const CodeNames& n, store::WordListBuilder& rows) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
        throw store::ImportError(dir, 0, "no such folder (is iso-codes installed?)");
    // All three files are read before a row is added.
    const JsonFile countries = readJson(dir, "3166-1");
    const JsonFile currencies = readJson(dir, "4217");
    const JsonFile languages = readJson(dir, "639-2");

    std::unordered_map<std::string, std::string> currencyOf;  // numeric code -> currency code
    for (const json& c : currencies.entries) {
        const std::vector<std::string> code = codes(c, {"alpha_3"});
        if (code.empty()) continue;
        const std::string number = field(c, "numeric");
        if (!number.empty()) currencyOf.emplace(number, code[0]);
        const std::vector<std::string> name = names(c, n.currencyNames, rows);
        add(rows, name, code, n.currencies);
        // A currency in use is known by its last word: "Turkish Lira" is a
        // lira; funds, metals and units of account (numbers from 954) are none.
        if (number.empty() || number >= "954") continue;
        for (const std::string& w : name) {
            const std::vector<std::string_view> parts = Split(w, ' ');
            if (parts.size() <= 3 && GridAnswer(parts.back())) rows.addValue(n.currency, std::string(parts.back()));
        }
    }
    for (const json& c : countries.entries) {
        std::vector<std::string> values = codes(c, {"alpha_2", "alpha_3"});
        if (auto it = currencyOf.find(field(c, "numeric")); it != currencyOf.end()) values.push_back(it->second);
        const std::vector<std::string> name = names(c, n.countryNames, rows);
        add(rows, name, values, n.countries);
        for (const std::string& w : name)
            if (GridAnswer(w)) rows.addValue(n.country, w);
    }
    for (const json& l : languages.entries) {
        std::vector<std::string> values = codes(l, {"alpha_2", "alpha_3", "bibliographic"});
        // In a database held to common words a language's codes (TIB, ZUL)
        // are no answers a solver finds; its names stay LANGUAGES.
        if (rows.ranked()) {
            rows.skip("language code", long(values.size()));
            values.clear();
        }
        add(rows, names(l, n.languageNames, rows), values, n.languages);
    }
}

}  // namespace sources
