#include "sources/thesaurus.h"

#include <algorithm>

#include "sources/text.h"
#include "store/shown.h"

namespace sources {

void ReadThesaurus(const std::string& path, store::WordListBuilder& rows, const Progress& progress) {
    ReadThesaurusText(ReadFile(path), path, rows, progress);
}

void ReadThesaurusText(std::string_view text, const std::string& name, store::WordListBuilder& rows,
                       const Progress& progress) {
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
    if (!nextLine(line)) throw store::ImportError(name, 0, "the file is empty; a thesaurus starts with its encoding");
    const std::string enc = UpperAscii(Trim(line));
    bool latin1;
    if (enc == "UTF-8" || enc == "UTF8")
        latin1 = false;
    else if (enc == "ISO8859-1" || enc == "ISO-8859-1" || enc == "LATIN1" || enc == "ISO8859-15" ||
             enc == "ISO-8859-15")
        latin1 = true;
    else
        throw store::ImportError(
            name, 1, "unknown encoding \"" + store::Shown(Trim(line)) + "\" (known: UTF-8, ISO8859-1, ISO8859-15)");
    auto decode = [&](std::string_view s) { return latin1 ? Latin1ToUtf8(s) : std::string(s); };

    long lastReport = 0, entries = 0;
    while (nextLine(line)) {
        if (Trim(line).empty()) continue;
        if (progress && lineNo - lastReport >= 4096) {
            lastReport = lineNo;
            progress(double(pos) / double(text.size()), entries);
        }
        const size_t bar = line.rfind('|');
        if (bar == std::string_view::npos)
            throw store::ImportError(name, lineNo, "expected an entry \"word|number of meanings\"");
        std::string_view countText = Trim(line.substr(bar + 1));
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
            throw store::ImportError(
                name, lineNo,
                "expected an entry \"word|number of meanings\" (the meaning count of the entry before may be wrong)");
        const long entryLine = lineNo;
        const std::string headRaw = decode(Trim(line.substr(0, bar)));
        std::optional<std::string> head = store::Typeable(headRaw);
        ++entries;
        int senses[4] = {0, 0, 0, 0};  // meanings of each part of speech so far
        if (!head || head->empty())
            rows.skip("cannot be typed");
        else
            rows.addWord(*head);
        for (long m = 0; m < count; ++m) {
            std::string_view meaning;
            if (!nextLine(meaning))
                throw store::ImportError(name, entryLine,
                                         "the entry announces " + std::to_string(count) +
                                             " meanings, but the file ends after " + std::to_string(m));
            std::vector<std::string_view> parts = Split(meaning, '|');
            std::string_view kind = Trim(parts[0]);
            // A line "word|n" here means the count above was too large.
            if (parts.size() == 2 && !(kind.size() >= 2 && kind.front() == '(' && kind.back() == ')')) {
                std::string_view n = Trim(parts[1]);
                if (!n.empty() && std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }))
                    throw store::ImportError(name, lineNo,
                                             "an entry where the meaning lines of the entry at line " +
                                                 std::to_string(entryLine) +
                                                 " should be: its count of meanings is wrong");
            }
            if (parts.size() < 2)
                throw store::ImportError(name, lineNo, "expected a meaning \"(part of speech)|synonym|…\"");
            if (!head || head->empty()) continue;
            // The part of speech is no category: NOUN or VERB, each with
            // tens of thousands of members, helps nobody find a word.
            static const std::string_view kKinds[] = {"(noun)", "(verb)", "(adj)", "(adv)"};
            const auto kindAt = std::find(std::begin(kKinds), std::end(kKinds), kind) - std::begin(kKinds);
            const int sense = kindAt < 4 ? store::SenseCode(int(kindAt), ++senses[size_t(kindAt)]) : 0;
            std::vector<std::string> synonyms;
            bool offensive = false;  // the line stands for a sense marked offensive
            for (size_t i = 1; i < parts.size(); ++i) {
                std::string_view syn = Trim(parts[i]);
                bool antonym = false, related = false;
                if (size_t open = syn.rfind(" ("); open != std::string_view::npos && syn.back() == ')') {
                    antonym = syn.substr(open) == " (antonym)";
                    related = true;
                    syn = Trim(syn.substr(0, open));
                }
                if (syn.empty() || antonym) continue;
                std::optional<std::string> w = store::Typeable(decode(syn));
                if (!w || w->empty()) {
                    rows.skip("cannot be typed");
                    continue;
                }
                if (!related && *w != *head && rows.blocked(*head, *w)) offensive = true;
                synonyms.push_back(std::move(*w));
            }
            for (const std::string& w : synonyms)
                if (offensive)
                    rows.skip(store::kOffensive);
                else
                    rows.addPair(*head, w, sense);
        }
    }
    if (progress) progress(1.0, entries);
}

}  // namespace sources
