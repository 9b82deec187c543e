// Reading the fill's words: values then synonyms of each clue word at the
// answer's length, and one pattern lookup for all open lengths. Values come
// first because the search breaks ties in list order, and a clue's values
// are the members of its class (a river for RIVER), where a synonym may be
// of another sense (TAG for TREE).
#include "grid/fillwords.h"

namespace sim {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FillWords ReadFillWords(store::Database& db, const std::vector<Slot>& answers, store::WordCache* held) {
    FillWords words;
    for (const auto& [clue, length] : CluesNeeded(answers)) {
        QStringList& list = words.byClue[{clue, length}];
        try {
            const std::string word = clue.toStdString();
            for (const std::string& w : db.CandidateValues(word, length)) list << q(w);
            for (const std::string& w : db.CandidateSynonyms(word, length))
                if (!list.contains(q(w))) list << q(w);
        } catch (const std::exception&) {
            list.clear();
        }
    }
    const std::set<int> lengths = OpenLengthsNeeded(answers);
    if (!lengths.empty()) {
        // The shortest length's pattern matches the longer words too.
        const std::string pattern(size_t(*lengths.begin()), '?');
        try {
            if (held) {
                const store::Matches m = held->PatternLookup(db, pattern);
                for (size_t i = 0; i < m.size(); ++i) {
                    const std::string_view w = m[i];
                    const int n = store::CharLength(w);
                    if (lengths.count(n)) words.byLength[n] << QString::fromUtf8(w.data(), qsizetype(w.size()));
                }
            } else {
                for (const std::string& w : db.PatternLookup(pattern)) {
                    const int n = store::CharLength(w);
                    if (lengths.count(n)) words.byLength[n] << q(w);
                }
            }
        } catch (const std::exception&) {
            words.byLength.clear();
        }
    }
    return words;
}

}  // namespace sim
