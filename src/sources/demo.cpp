#include "sources/demo.h"

#include "sources/text.h"
#include "store/shown.h"

namespace sources {

void ReadDemo(const std::string& path, store::WordListBuilder& rows) {
    const std::string text = ReadFile(path);
    long lineNo = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        std::vector<std::string_view> fields = Split(line, '|');
        if (fields.size() != 4)
            throw store::ImportError(path, lineNo, "expected \"WORD | SYNONYMS | VALUES | CATEGORIES\"");
        auto typeable = [&](std::string_view t) {
            std::optional<std::string> w = store::Typeable(Trim(t));
            if (!w)
                throw store::ImportError(
                    path, lineNo, "\"" + store::Shown(Trim(t)) + "\" holds a character the word field cannot type");
            return *w;
        };
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
    }
}

void ReadBlocked(const std::string& path, store::WordListBuilder& rows) {
    const std::string text = ReadFile(path);
    long lineNo = 0;
    for (std::string_view line : Split(text, '\n')) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        std::optional<std::string> w = store::Typeable(line);
        if (!w)
            throw store::ImportError(path, lineNo,
                                     "\"" + store::Shown(line) + "\" holds a character the word field cannot type");
        rows.block(*w);
    }
}

}  // namespace sources
