#include <filesystem>
#include <unordered_set>

#include "sources/text.h"
#include "sources/wordnet.h"
#include "sources/wordnet_data.h"
#include "store/wordlists.h"

namespace sources {

namespace {

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

uint64_t at(int pos, uint32_t offset) { return uint64_t(pos) << 32 | offset; }

// Calls `line` with each line of `file` that is no licence line, and its number.
template <typename F>
void eachLine(const std::string& file, const std::string& text, F line) {
    size_t pos = 0;
    long lineNo = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view l(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        if (l.empty() || l.front() == ' ') continue;
        line(l, LineError(file, lineNo), lineNo, double(pos) / double(text.size()));
    }
}

struct Pending {
    uint32_t from;
    uint32_t offset;
    long line;
    int word;  // for a usage mark: the word marked, 0 all
    const std::string* file;
};

// The usage domains whose members a magazine does not print.
bool offensiveDomain(const WordNetSynset& s) {
    for (const std::string& l : s.lemmas)
        if (l == "ethnic_slur" || l == "disparagement" || l == "obscenity" || l == "vulgarism") return true;
    return false;
}

}  // namespace

std::optional<std::string> TypedLemma(std::string_view lemma) {
    std::string s(lemma);
    for (char& ch : s)
        if (ch == '_') ch = ' ';
    return store::Typeable(s);
}

WordNetData LoadWordNet(const std::string& dir, const Progress& progress) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw store::ImportError(dir, 0, "no such folder (is wordnet-base installed?)");
    auto file = [&](const char* name) { return (fs::path(dir) / name).string(); };
    const char* kData[] = {"data.noun", "data.verb", "data.adj", "data.adv"};
    const char* kIndex[] = {"index.noun", "index.verb", "index.adj", "index.adv"};
    // Every file is there before anything is read.
    for (const char* name : {"data.noun", "index.noun", "data.verb", "data.adj", "data.adv"})
        if (!fs::is_regular_file(file(name), ec)) throw store::ImportError(file(name), 0, "no such file");

    WordNetData d;
    std::unordered_map<uint64_t, uint32_t> index;  // (pos, offset) -> synset
    std::vector<Pending> down, usage, wholes;
    std::vector<std::string> names(4);
    for (int pos = 0; pos < 4; ++pos) {
        names[size_t(pos)] = file(kData[pos]);
        const std::string& name = names[size_t(pos)];
        const std::string text = ReadFile(name);
        eachLine(name, text, [&](std::string_view line, const LineError& fail, long lineNo, double done) {
            if (line.find('|') == std::string_view::npos)
                throw fail("a synset line without its \"| gloss\" (is the file cut short?)");
            const std::vector<std::string_view> t = tokens(line.substr(0, line.find('|')));
            auto tok = [&](size_t i) {
                if (i >= t.size()) throw fail("the synset line ends early (is the file cut short?)");
                return t[i];
            };
            if (!digits(tok(0), 8))
                throw fail("expected a synset offset of 8 digits, found \"" + std::string(t[0]) + "\"");
            const auto self = uint32_t(d.synsets.size());
            index.emplace(at(pos, uint32_t(number(t[0], 10, fail, "an offset"))), self);
            const long wordCount = number(tok(3), 16, fail, "a word count");
            if (wordCount == 0) throw fail("a synset without words");
            WordNetSynset s;
            s.pos = pos;
            s.lexfile = int(number(tok(1), 10, fail, "a lexicographer file number"));
            size_t i = 4;
            for (long w = 0; w < wordCount; ++w, i += 2) {
                std::string_view lemma = tok(i);
                number(tok(i + 1), 16, fail, "a lexical id");
                if (lemma.size() > 2 && lemma.back() == ')') {
                    const size_t open = lemma.rfind('(');
                    if (open != std::string_view::npos) lemma = lemma.substr(0, open);
                }
                std::optional<std::string> word = TypedLemma(lemma);
                if (!word || word->empty()) ++d.untypeable;
                s.lemmas.emplace_back(lemma);
                s.words.push_back(word.value_or(""));
            }
            const long pointerCount = number(tok(i), 10, fail, "a pointer count");
            ++i;
            for (long p = 0; p < pointerCount; ++p, i += 4) {
                const std::string_view symbol = tok(i);
                if (!digits(tok(i + 1), 8)) throw fail("expected a pointer's synset offset of 8 digits");
                const std::string_view partOfSpeech = tok(i + 2);
                const long ends = number(tok(i + 3), 16, fail, "a pointer's source/target");
                const auto target = uint32_t(number(t[i + 1], 10, fail, "an offset"));
                if (symbol == "@i") s.instance = true;
                if (symbol == "\\") s.pertains = true;
                if (pos == 0 && (symbol == "~" || symbol == "~i") && partOfSpeech == "n")
                    down.push_back({self, target, lineNo, 0, &name});
                else if (pos == 0 && symbol.size() == 2 && symbol[0] == '#' && partOfSpeech == "n")
                    wholes.push_back({self, target, lineNo, 0, &name});
                else if (symbol == ";u" && partOfSpeech == "n")
                    usage.push_back({self, target, lineNo, int(ends >> 8), &name});
            }
            // A few senses WordNet marks only in their gloss.
            const std::string_view gloss = line.substr(line.find('|'));
            for (std::string_view mark : {"obscene term", "offensive term", "offensive name", "offensive word",
                                          "derogatory term", "disparaging term", "ethnic slur"})
                if (gloss.find(mark) != std::string_view::npos) s.offensive = ~uint64_t(0);
            d.synsets.push_back(std::move(s));
            if (progress && ++d.entries % 8192 == 0) progress(0.8 * (pos + done) / 4, d.entries);
        });
    }
    for (const Pending& p : down) {
        auto it = index.find(at(0, p.offset));
        if (it == index.end())
            throw store::ImportError(*p.file, p.line,
                                     "points to synset " + std::to_string(p.offset) + ", which the file does not hold");
        d.synsets[p.from].below.push_back(it->second);
        d.synsets[it->second].above.push_back(p.from);
    }
    for (const Pending& p : wholes) {
        auto it = index.find(at(0, p.offset));
        if (it != index.end()) d.synsets[p.from].wholes.push_back(it->second);
    }
    for (const Pending& p : usage) {
        auto it = index.find(at(0, p.offset));
        if (it == index.end() || !offensiveDomain(d.synsets[it->second])) continue;
        WordNetSynset& s = d.synsets[p.from];
        s.offensive |= p.word == 0 || p.word > 64 ? ~uint64_t(0) : uint64_t(1) << (p.word - 1);
    }

    // Tag counts: "lemma%type:..." sense number, count.
    std::unordered_map<std::string, int> tags;
    if (fs::is_regular_file(file("cntlist.rev"), ec)) {
        const std::string name = file("cntlist.rev");
        const std::string text = ReadFile(name);
        eachLine(name, text, [&](std::string_view line, const LineError& fail, long, double) {
            const std::vector<std::string_view> t = tokens(line);
            const size_t pct = t.empty() ? std::string_view::npos : t[0].find('%');
            if (t.size() != 3 || pct == std::string_view::npos || pct + 1 >= t[0].size())
                throw fail("expected \"sense_key sense_number tag_count\"");
            static const int kType[] = {-1, 0, 1, 2, 3, 2};
            const int type = t[0][pct + 1] - '0';
            if (type < 1 || type > 5) throw fail("a sense key of an unknown part of speech");
            tags[std::string(t[0].substr(0, pct)) + '%' + char('0' + kType[type]) + std::string(t[1])] =
                int(number(t[2], 10, fail, "a tag count"));
        });
    }
    for (int pos = 0; pos < 4; ++pos) {
        const std::string name = file(kIndex[pos]);
        if (pos > 0 && !fs::is_regular_file(name, ec)) continue;
        const std::string text = ReadFile(name);
        eachLine(name, text, [&](std::string_view line, const LineError& fail, long, double) {
            const std::vector<std::string_view> t = tokens(line);
            if (t.size() < 6) throw fail("an index line ends early (is the file cut short?)");
            const long senses = number(t[2], 10, fail, "a sense count");
            const long pointers = number(t[3], 10, fail, "a pointer count");
            if (long(t.size()) != 4 + pointers + 2 + senses)
                throw fail("the index line holds " + std::to_string(t.size()) + " fields where its counts call for " +
                           std::to_string(4 + pointers + 2 + senses));
            const std::string lemma(t[0]);
            std::vector<WordNetSense>& out = d.senses[lemma];
            for (size_t k = size_t(6 + pointers); k < t.size(); ++k) {
                if (!digits(t[k], 8)) throw fail("expected a synset offset of 8 digits");
                auto it = index.find(at(pos, uint32_t(number(t[k], 10, fail, "an offset"))));
                if (it == index.end())
                    throw fail("sense " + std::to_string(k - size_t(5 + pointers)) + " of \"" + lemma +
                               "\" is a synset the data file does not hold");
                const int n = int(k - size_t(5 + pointers));
                auto tag = tags.find(lemma + '%' + char('0' + pos) + std::to_string(n));
                out.push_back({it->second, pos, n, tag == tags.end() ? 0 : tag->second});
            }
        });
    }
    if (progress) progress(0.9, d.entries);
    return d;
}

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
        if (halves.size() != 2 && halves.size() != 3)
            throw fail("expected \"NAME | lemma sense, lemma sense [| lang WORD]\"");
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
        for (std::string_view there : halves.size() == 3 ? Split(halves[2], ',') : std::vector<std::string_view>{}) {
            there = Trim(there);
            const size_t space = there.find(' ');
            std::optional<std::string> word =
                store::Typeable(space == std::string_view::npos ? "" : Trim(there.substr(space + 1)));
            if (!word || word->empty()) throw fail("expected \"lang WORD\", found \"" + std::string(there) + "\"");
            c.abroad.emplace_back(std::string(there.substr(0, space)), *word);
        }
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace sources
