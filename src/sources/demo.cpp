#include "sources/demo.h"

#include "sources/text.h"
#include "store/shown.h"

namespace sources {

namespace {

// Each line of a word file that is neither blank nor a comment, trimmed,
// with its number for messages.
template <typename F>
void ForEachLine(const std::string& path, F f) {
    const std::string text = ReadFile(path);
    long lineNo = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++lineNo;
        line = Trim(line);
        if (!line.empty() && line.front() != '#') f(line, lineNo);
    }
}

// A word as the word field would type it, or the line's message.
std::string Typeable(const std::string& path, long lineNo, std::string_view t) {
    std::optional<std::string> w = store::Typeable(Trim(t));
    if (!w)
        throw store::ImportError(path, lineNo,
                                 "\"" + store::Shown(Trim(t)) + "\" holds a character the word field cannot type");
    return *w;
}

}  // namespace

void ReadDemo(const std::string& path, store::WordListBuilder& rows) {
    ForEachLine(path, [&](std::string_view line, long lineNo) {
        std::vector<std::string_view> fields = Split(line, '|');
        if (fields.size() != 4)
            throw store::ImportError(path, lineNo, "expected \"WORD | SYNONYMS | VALUES | CATEGORIES\"");
        auto typeable = [&](std::string_view t) { return Typeable(path, lineNo, t); };
        const std::string word = typeable(fields[0]);
        if (word.empty()) throw store::ImportError(path, lineNo, "the word is missing");
        rows.addWord(word);
        auto each = [&](std::string_view list, auto add) {
            for (std::string_view item : Split(list, ','))
                if (!Trim(item).empty()) add(typeable(item));
        };
        each(fields[1], [&](const std::string& s) { rows.addPair(word, s); });
        each(fields[2], [&](const std::string& v) { rows.addValue(word, v); });
        each(fields[3], [&](const std::string& k) { rows.addCategory(word, k); });
    });
}

void ReadBlocked(const std::string& path, store::WordListBuilder& rows) {
    ForEachLine(path, [&](std::string_view line, long lineNo) { rows.block(Typeable(path, lineNo, line)); });
}

}  // namespace sources
