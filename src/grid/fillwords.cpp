// Reading the fill's words: values then synonyms of each clue word with the
// answer's number of letters, and one pattern lookup for all open lengths.
// A candidate counts by its letters, so SEA GOD is read for six squares.
// Values come first because the search breaks ties in list order, and a
// clue's values are the members of its class (a river for RIVER), where a
// synonym may be of another sense (TAG for TREE).
#include "grid/fillwords.h"

#include <map>
#include <optional>
#include <string_view>

namespace sim {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FillWords ReadFillWords(store::Database& db, const std::vector<Slot>& answers, store::WordCache* held) {
    FillWords words;
    // Every length at once, read once for a clue word asked at several.
    std::map<QString, std::optional<QStringList>> byClue;
    for (const auto& [clue, length] : CluesNeeded(answers)) {
        std::optional<QStringList>& all = byClue[clue];
        if (!all) {
            all.emplace();
            try {
                const std::string word = clue.toStdString();
                for (const std::string& w : db.CandidateValues(word, 0)) *all << q(w);
                for (const std::string& w : db.CandidateSynonyms(word, 0))
                    if (!all->contains(q(w))) *all << q(w);
            } catch (const std::exception&) {
                all->clear();
            }
        }
        QStringList& list = words.byClue[{clue, length}];
        for (const QString& w : *all)
            if (AnswerLetters(w).size() == length) list << w;
    }
    const std::set<int> lengths = OpenLengthsNeeded(answers);
    if (!lengths.empty()) {
        // The shortest length's pattern matches the longer words too, and
        // every word with at least that many letters.
        const std::string pattern(size_t(*lengths.begin()), '?');
        const auto keep = [&](std::string_view w) {
            // Counted on the bytes first, as most words are not wanted: the
            // characters but the blanks, hyphens and apostrophes, and none
            // when a digit or a dot rules the word out.
            int chars = 0, joiners = 0;
            bool ascii = true;
            for (const char ch : w) {
                const auto c = static_cast<unsigned char>(ch);
                if ((c & 0xC0) != 0x80) ++chars;
                if (c >= 0x80)
                    ascii = false;
                else if (c == ' ' || (c >= '\t' && c <= '\r') || c == '-' || c == '\'')
                    ++joiners;
                else if ((c >= '0' && c <= '9') || c == '.')
                    return;
            }
            if (ascii && !lengths.count(chars - joiners)) return;
            const QString text = QString::fromUtf8(w.data(), qsizetype(w.size()));
            const int n = int(AnswerLetters(text).size());
            if (lengths.count(n)) words.byLength[n] << text;
        };
        try {
            if (held) {
                const store::Matches m = held->PatternLookup(db, pattern);
                for (size_t i = 0; i < m.size(); ++i) keep(m[i]);
            } else {
                for (const std::string& w : db.PatternLookup(pattern)) keep(w);
            }
        } catch (const std::exception&) {
            words.byLength.clear();
        }
    }
    return words;
}

}  // namespace sim
