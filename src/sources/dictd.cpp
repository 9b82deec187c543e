#include "sources/dictd.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "sources/text.h"
#include "sources/wordnet.h"

namespace sources {

namespace {

std::string inflated(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw store::ImportError(path, 0, "no such file");
    gzFile f = ::gzopen(path.c_str(), "rb");
    if (!f) throw store::ImportError(path, 0, std::string("cannot be read: ") + std::strerror(errno));
    std::string out;
    char buf[1 << 16];
    int n;
    while ((n = ::gzread(f, buf, sizeof buf)) > 0) out.append(buf, size_t(n));
    int err = Z_OK;
    const std::string msg = ::gzerror(f, &err);
    ::gzclose(f);
    if (n < 0 || (err != Z_OK && err != Z_STREAM_END))
        throw store::ImportError(path, 0, "the compressed data is damaged or cut short (" + msg + ")");
    return out;
}

long base64(std::string_view s) {
    static const std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (s.empty() || s.size() > 6) return -1;
    long n = 0;
    for (char ch : s) {
        const size_t d = kDigits.find(ch);
        if (d == std::string_view::npos) return -1;
        n = n * 64 + long(d);
    }
    return n;
}

// The words of an entry's first sense when the entry is a noun's: the line
// after "headword /pronunciation/ <n>", as "1. fugl, fuglen 2." writes it.
std::vector<std::string> firstNounSense(std::string_view entry) {
    std::vector<std::string_view> lines = Split(entry, '\n');
    if (lines.size() < 2) return {};
    std::string_view head = Trim(lines[0]);
    if (!head.ends_with("<n>") && !head.ends_with("<pn>")) return {};
    std::string_view sense = Trim(lines[1]);
    auto number = [](std::string_view s) {
        return s.size() >= 2 && s.back() == '.' &&
               s.substr(0, s.size() - 1).find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (size_t sp = sense.find(' '); sp != std::string_view::npos && number(sense.substr(0, sp)))
        sense = Trim(sense.substr(sp + 1));
    if (size_t sp = sense.rfind(' '); sp != std::string_view::npos && number(sense.substr(sp + 1)))
        sense = Trim(sense.substr(0, sp));
    std::vector<std::string> out;
    for (std::string_view w : Split(sense, ',')) {
        std::optional<std::string> typed = store::Typeable(Trim(w));
        if (typed && GridAnswer(*typed)) out.push_back(*typed);
    }
    return out;
}

}  // namespace

Dictionary ReadDictd(const std::string& path) {
    std::string base = path;
    for (const char* ext : {".index", ".dict.dz"})
        if (base.ends_with(ext)) base.resize(base.size() - std::strlen(ext));
    const std::string indexFile = base + ".index", dataFile = base + ".dict.dz";
    const std::string index = ReadFile(indexFile);
    const std::string data = inflated(dataFile);
    Dictionary out;
    long lineNo = 0;
    for (std::string_view line : Split(index, '\n')) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::vector<std::string_view> f = Split(line, '\t');
        const long offset = f.size() == 3 ? base64(f[1]) : -1, length = f.size() == 3 ? base64(f[2]) : -1;
        if (offset < 0 || length < 0)
            throw store::ImportError(indexFile, lineNo, "expected \"headword<TAB>offset<TAB>length\" in base64");
        if (size_t(offset) + size_t(length) > data.size())
            throw store::ImportError(indexFile, lineNo,
                                     "points past the end of " + dataFile + " (" + std::to_string(offset + length) +
                                         " > " + std::to_string(data.size()) + " bytes; is it cut short?)");
        if (f[0].starts_with("00database")) continue;
        std::optional<std::string> head = store::Typeable(f[0]);
        if (!head || head->empty()) continue;
        for (std::string& w : firstNounSense(std::string_view(data).substr(size_t(offset), size_t(length)))) {
            std::vector<std::string>& to = out[*head];
            if (std::find(to.begin(), to.end(), w) == to.end()) to.push_back(std::move(w));
        }
    }
    return out;
}

void TranslateWordNet(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, const Dictionary& dict,
                      store::WordListBuilder& rows, const std::string& language) {
    auto carry = [&](const WordNetValue& v) {
        if (v.offensive) return;
        auto clue = dict.find(v.clue);
        if (clue == dict.end()) return;
        auto value = dict.find(v.value);
        for (const std::string& c : clue->second) {
            if (value != dict.end())
                for (const std::string& t : value->second) rows.addValue(c, t);
            else if (v.name)
                rows.addValue(c, v.value);
        }
    };
    ForEachWordNetValue(wn, 14, carry, categories);
    ForEachCategoryMember(wn, categories, 14, [&](const PuzzleCategory& c, const WordNetValue& v) {
        auto there = std::find_if(c.abroad.begin(), c.abroad.end(), [&](const auto& a) { return a.first == language; });
        if (there == c.abroad.end()) return carry(v);
        auto value = v.name ? dict.find(v.value) : dict.end();
        if (v.offensive) return;
        if (value == dict.end())
            rows.addValue(there->second, v.value);
        else
            for (const std::string& t : value->second) rows.addValue(there->second, t);
    });
}

}  // namespace sources
