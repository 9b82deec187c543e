#include "sources/wordnet.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "sources/text.h"

namespace sources {

namespace {

struct Synset {
    std::vector<std::string> words;  // as the word field holds them; the untypeable left out
    std::vector<std::string> grid;   // the words a grid can take
    std::vector<uint32_t> below;     // hyponyms and instances (indexes into the noun synsets)
};

struct NounFile {
    std::vector<Synset> synsets;
    std::unordered_map<uint32_t, uint32_t> at;  // synset offset -> index
};

class LineError {
public:
    LineError(const std::string& file, long line) : file_(file), line_(line) {}
    store::ImportError operator()(const std::string& what) const { return store::ImportError(file_, line_, what); }

private:
    const std::string& file_;
    long line_;
};

bool digits(std::string_view s, size_t n) {
    return s.size() == n && s.find_first_not_of("0123456789") == std::string_view::npos;
}

long number(std::string_view s, int base, const LineError& fail, const char* what) {
    if (s.empty() || s.size() > 8) throw fail(std::string("expected ") + what + ", found \"" + std::string(s) + "\"");
    long n = 0;
    for (char ch : s) {
        int d = ch >= '0' && ch <= '9' ? ch - '0' : base == 16 && ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
        if (d < 0) throw fail(std::string("expected ") + what + ", found \"" + std::string(s) + "\"");
        n = n * base + d;
    }
    return n;
}

std::vector<std::string_view> tokens(std::string_view s) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i] == ' ') ++i;
        size_t j = i;
        while (j < s.size() && s[j] != ' ') ++j;
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

// A lemma as text: "Arno_River" is "ARNO RIVER"; an adjective's marker
// "(a)", "(p)" or "(ip)" goes.
std::optional<std::string> typed(std::string_view lemma) {
    if (lemma.size() > 2 && lemma.back() == ')') {
        const size_t open = lemma.rfind('(');
        if (open != std::string_view::npos) lemma = lemma.substr(0, open);
    }
    std::string s(lemma);
    for (char& ch : s)
        if (ch == '_') ch = ' ';
    return store::Typeable(s);
}

bool gridWord(const std::string& w, size_t letters) {
    if (w.empty() || w.size() > letters) return false;
    for (char ch : w)
        if (ch < 'A' || ch > 'Z') return false;
    return true;
}

// Reads the synsets of one data file: pairs among the words of each, and
// for nouns the synsets with the links down to their kinds and instances.
class DataReader {
public:
    DataReader(store::WordListBuilder& rows, const WordNetLimits& limits, const Progress& progress)
        : rows_(rows), limits_(limits), progress_(progress) {}

    void read(const std::string& file, double from, double share, NounFile* nouns) {
        const std::string text = ReadFile(file);
        std::vector<std::vector<uint32_t>> pointers;  // offsets, resolved when the file is read
        std::vector<long> lines;
        size_t pos = 0;
        long lineNo = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string_view line(text.data() + pos, end - pos);
            pos = end + 1;
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line.front() == ' ') continue;  // the licence at the top
            const LineError fail(file, lineNo);
            if (line.find('|') == std::string_view::npos)
                throw fail("a synset line without its \"| gloss\" (is the file cut short?)");
            const std::vector<std::string_view> t = tokens(line.substr(0, line.find('|')));
            auto at = [&](size_t i) {
                if (i >= t.size()) throw fail("the synset line ends early (is the file cut short?)");
                return t[i];
            };
            if (!digits(at(0), 8))
                throw fail("expected a synset offset of 8 digits, found \"" + std::string(t[0]) + "\"");
            const long wordCount = number(at(3), 16, fail, "a word count");
            if (wordCount == 0) throw fail("a synset without words");
            Synset s;
            size_t i = 4;
            for (long w = 0; w < wordCount; ++w, i += 2) {
                std::string_view lemma = at(i);
                number(at(i + 1), 16, fail, "a lexical id");
                std::optional<std::string> word = typed(lemma);
                if (!word || word->empty()) {
                    rows_.skip("cannot be typed");
                    continue;
                }
                rows_.addWord(*word);
                s.words.push_back(*word);
                if (gridWord(*word, limits_.letters)) s.grid.push_back(*word);
            }
            for (size_t a = 0; a < s.words.size(); ++a)
                for (size_t b = a + 1; b < s.words.size(); ++b) rows_.addPair(s.words[a], s.words[b]);
            const long pointerCount = number(at(i), 10, fail, "a pointer count");
            ++i;
            std::vector<uint32_t> down;
            for (long p = 0; p < pointerCount; ++p, i += 4) {
                const std::string_view symbol = at(i);
                if (!digits(at(i + 1), 8)) throw fail("expected a pointer's synset offset of 8 digits");
                const std::string_view partOfSpeech = at(i + 2);
                number(at(i + 3), 16, fail, "a pointer's source/target");
                if ((symbol == "~" || symbol == "~i") && partOfSpeech == "n")
                    down.push_back(uint32_t(number(t[i + 1], 10, fail, "an offset")));
            }
            ++entries_;
            if (progress_ && entries_ % 8192 == 0)
                progress_(from + share * double(pos) / double(text.size()), entries_);
            if (!nouns) continue;
            nouns->at.emplace(uint32_t(number(t[0], 10, fail, "an offset")), uint32_t(nouns->synsets.size()));
            nouns->synsets.push_back(std::move(s));
            pointers.push_back(std::move(down));
            lines.push_back(lineNo);
        }
        if (!nouns) return;
        for (size_t k = 0; k < pointers.size(); ++k)
            for (uint32_t off : pointers[k]) {
                auto it = nouns->at.find(off);
                if (it == nouns->at.end())
                    throw store::ImportError(
                        file, lines[k], "points to synset " + std::to_string(off) + ", which the file does not hold");
                nouns->synsets[k].below.push_back(it->second);
            }
    }

    long entries() const { return entries_; }

private:
    store::WordListBuilder& rows_;
    const WordNetLimits& limits_;
    const Progress& progress_;
    long entries_ = 0;
};

// The offsets of the senses of the lemmas asked for, from index.noun.
std::unordered_map<std::string, std::vector<uint32_t>> readIndex(const std::string& file,
                                                                 const std::unordered_set<std::string>& wanted) {
    const std::string text = ReadFile(file);
    std::unordered_map<std::string, std::vector<uint32_t>> out;
    long lineNo = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ' ') continue;
        const LineError fail(file, lineNo);
        const std::vector<std::string_view> t = tokens(line);
        if (t.size() < 6) throw fail("an index line ends early (is the file cut short?)");
        const long senses = number(t[2], 10, fail, "a sense count");
        const long pointers = number(t[3], 10, fail, "a pointer count");
        if (long(t.size()) != 4 + pointers + 2 + senses)
            throw fail("the index line holds " + std::to_string(t.size()) + " fields where its counts call for " +
                       std::to_string(4 + pointers + 2 + senses));
        if (!wanted.count(std::string(t[0]))) continue;
        std::vector<uint32_t>& offs = out[std::string(t[0])];
        for (size_t k = size_t(6 + pointers); k < t.size(); ++k) {
            if (!digits(t[k], 8)) throw fail("expected a synset offset of 8 digits");
            offs.push_back(uint32_t(number(t[k], 10, fail, "an offset")));
        }
    }
    return out;
}

}  // namespace

std::vector<PuzzleCategory> ReadCategoryList(const std::string& path) {
    const std::string text = ReadFile(path);
    std::vector<PuzzleCategory> out;
    long lineNo = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        const LineError fail(path, lineNo);
        const std::vector<std::string_view> halves = Split(line, '|');
        if (halves.size() != 2) throw fail("expected \"NAME | lemma sense, lemma sense\"");
        std::optional<std::string> name = store::Typeable(Trim(halves[0]));
        if (!name || name->empty())
            throw fail("the category name is missing or holds a character the word field cannot type");
        PuzzleCategory c{*name, {}};
        for (std::string_view sense : Split(halves[1], ',')) {
            sense = Trim(sense);
            const size_t space = sense.rfind(' ');
            if (space == std::string_view::npos || !digits(sense.substr(space + 1), sense.size() - space - 1))
                throw fail("expected \"lemma sense\", found \"" + std::string(sense) + "\"");
            std::string lemma(Trim(sense.substr(0, space)));
            for (char& ch : lemma) ch = ch == ' ' ? '_' : char(std::tolower(static_cast<unsigned char>(ch)));
            c.senses.emplace_back(lemma, int(number(sense.substr(space + 1), 10, fail, "a sense number")));
        }
        out.push_back(std::move(c));
    }
    return out;
}

void ReadWordNet(const std::string& dir, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 const Progress& progress, const WordNetLimits& limits) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw store::ImportError(dir, 0, "no such folder (is wordnet-base installed?)");
    auto file = [&](const char* name) { return (fs::path(dir) / name).string(); };
    // Every file is there before anything is read.
    for (const char* name : {"data.noun", "index.noun", "data.verb", "data.adj", "data.adv"})
        if (!fs::is_regular_file(file(name), ec)) throw store::ImportError(file(name), 0, "no such file");

    DataReader reader(rows, limits, progress);
    NounFile nouns;
    reader.read(file("data.noun"), 0.0, 0.6, &nouns);
    reader.read(file("data.verb"), 0.6, 0.1, nullptr);
    reader.read(file("data.adj"), 0.7, 0.15, nullptr);
    reader.read(file("data.adv"), 0.85, 0.05, nullptr);

    // Values: the kinds and instances below each noun, level by level; a
    // level beyond the first that would take a general word past the limit
    // is left out, so that the nearest kinds stay.
    const std::vector<Synset>& all = nouns.synsets;
    std::vector<uint32_t> seen(all.size(), 0);
    uint32_t mark = 0;
    for (size_t s = 0; s < all.size(); ++s) {
        if (all[s].below.empty() || all[s].words.empty()) continue;
        ++mark;
        seen[s] = mark;
        std::vector<uint32_t> level = all[s].below, next;
        std::vector<std::string> values;
        std::unordered_set<std::string> have;
        for (int depth = 1; depth <= limits.depth && !level.empty(); ++depth) {
            const size_t before = values.size();
            for (uint32_t k : level) {
                if (seen[k] == mark) continue;
                seen[k] = mark;
                for (const std::string& g : all[k].grid)
                    if (have.insert(g).second) values.push_back(g);
                next.insert(next.end(), all[k].below.begin(), all[k].below.end());
            }
            if (depth > 1 && values.size() > limits.values) {
                values.resize(before);
                break;
            }
            level.swap(next);
            next.clear();
        }
        for (const std::string& w : all[s].words)
            for (const std::string& v : values)
                if (v != w) rows.addValue(w, v);
    }

    // Categories: every kind and instance below the senses named, at any depth.
    std::unordered_set<std::string> lemmas;
    for (const PuzzleCategory& c : categories)
        for (const auto& [lemma, sense] : c.senses) lemmas.insert(lemma);
    const auto index = readIndex(file("index.noun"), lemmas);
    for (const PuzzleCategory& c : categories) {
        ++mark;
        std::vector<uint32_t> todo;
        for (const auto& [lemma, sense] : c.senses) {
            auto it = index.find(lemma);
            if (it == index.end() || sense < 1 || size_t(sense) > it->second.size()) {
                rows.skip("category sense not in this WordNet");
                continue;
            }
            auto at = nouns.at.find(it->second[size_t(sense - 1)]);
            if (at == nouns.at.end())
                throw store::ImportError(
                    file("index.noun"), 0,
                    "the sense " + std::to_string(sense) + " of \"" + lemma + "\" is a synset data.noun does not hold");
            todo.push_back(at->second);
            seen[at->second] = mark;
        }
        while (!todo.empty()) {
            const uint32_t k = todo.back();
            todo.pop_back();
            for (uint32_t b : all[k].below) {
                if (seen[b] == mark) continue;
                seen[b] = mark;
                for (const std::string& g : all[b].grid) rows.addCategory(g, c.name);
                todo.push_back(b);
            }
        }
    }
    if (progress) progress(1.0, reader.entries());
}

}  // namespace sources
