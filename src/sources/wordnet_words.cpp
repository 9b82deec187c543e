// WordNet's words as the word list holds them: which words and pairs its
// senses make offensive, each word's senses in the order of their use, and
// the word a puzzle subject's name is the plural of.
#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "sources/wordnet.h"

namespace sources {

std::vector<std::string> Singulars(const std::string& plural) {
    std::vector<std::string> out;
    std::string_view rest = plural;
    while (!rest.empty()) {
        const size_t cut = rest.find(" AND ");
        std::string w(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 5);
        auto ends = [&](std::string_view e) { return w.size() > e.size() + 1 && w.ends_with(e); };
        if (ends("IES"))
            w.replace(w.size() - 3, 3, "Y");
        else if (ends("SSES") || ends("XES") || ends("CHES") || ends("SHES"))
            w.resize(w.size() - 2);
        else if (ends("S") && !ends("SS"))
            w.pop_back();
        out.push_back(w);
    }
    return out;
}

void MarkWordNet(const WordNetData& wn, store::WordListBuilder& rows, bool keepOffensive) {
    // Most frequent first; among senses never met in tagged text, the nouns first.
    for (const auto& [lemma, senses] : wn.senses) {
        std::optional<std::string> word = TypedLemma(lemma);
        if (!word || word->empty()) continue;
        std::vector<WordNetSense> order = senses;
        std::stable_sort(order.begin(), order.end(), [](const WordNetSense& a, const WordNetSense& b) {
            return a.tags != b.tags ? a.tags > b.tags : a.pos < b.pos;
        });
        std::vector<int> codes;
        codes.reserve(order.size());
        for (const WordNetSense& s : order) codes.push_back(store::SenseCode(s.pos, s.number));
        rows.setSenseOrder(*word, std::move(codes));
    }
    if (keepOffensive) return;
    // A word offensive in all its senses goes everywhere; two words that
    // share an offensive sense are no pair unless they share a clean one too.
    std::unordered_map<std::string, std::pair<int, int>> uses;  // word -> offensive, clean senses
    std::vector<std::pair<std::string, std::string>> pairs;
    // A slur names its class too (SPADE a Black person, QUEER a gay man), so it
    // is no synonym or value of the words of the classes it is a kind of, two
    // levels up, whatever clean sense they share (QUEER and GAY, adjectives).
    std::vector<uint32_t> classes;
    for (const WordNetSynset& s : wn.synsets) {
        if (!s.offensive) continue;
        classes = s.above;
        for (size_t n = classes.size(), i = 0; i < n; ++i)
            classes.insert(classes.end(), wn.synsets[classes[i]].above.begin(), wn.synsets[classes[i]].above.end());
        for (size_t i = 0; i < s.words.size(); ++i) {
            if (!((s.offensive >> std::min<size_t>(i, 63)) & 1)) continue;
            for (size_t j = 0; j < s.words.size(); ++j)
                if (j != i) pairs.emplace_back(s.words[i], s.words[j]);
            for (uint32_t c : classes)
                for (const std::string& w : wn.synsets[c].words) rows.blockPair(s.words[i], w);
        }
    }
    std::unordered_set<std::string> involved;
    for (const auto& [a, b] : pairs) involved.insert(a), involved.insert(b);
    std::unordered_map<std::string, std::vector<uint32_t>> clean;  // word -> synsets where it is clean
    for (uint32_t k = 0; k < wn.synsets.size(); ++k) {
        const WordNetSynset& s = wn.synsets[k];
        for (size_t i = 0; i < s.words.size(); ++i) {
            if (!involved.count(s.words[i])) continue;
            const bool bad = (s.offensive >> std::min<size_t>(i, 63)) & 1;
            auto& u = uses[s.words[i]];
            (bad ? u.first : u.second) += 1;
            if (!bad) clean[s.words[i]].push_back(k);
        }
    }
    for (const auto& [w, u] : uses)
        if (u.first > 0 && u.second == 0) rows.block(w);
    for (const auto& [a, b] : pairs) {
        const std::vector<uint32_t>& x = clean[a];
        const std::vector<uint32_t>& y = clean[b];
        if (std::none_of(x.begin(), x.end(), [&](uint32_t k) { return std::count(y.begin(), y.end(), k) > 0; }))
            rows.blockPair(a, b);
    }
}

}  // namespace sources
