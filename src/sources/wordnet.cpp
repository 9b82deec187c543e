#include "sources/wordnet.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "sources/text.h"

namespace sources {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& ch : out) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

bool romanNumeral(std::string_view t) {
    return !t.empty() && t.size() <= 5 && t.find_first_not_of("IVXLC") == std::string_view::npos;
}

// A lemma as an answer under a clue whose synsets' words are `clue`: itself
// when it is one word; else the one word left when the words that repeat
// the clue, a regnal number and a linking "of" or "the" go. The word left of
// a common noun's name must be no noun itself: "boric acid" is BORIC, but
// "round table" is no ROUND.
std::optional<std::string> answer(const WordNetData& wn, const std::string& lemma,
                                  const std::unordered_set<std::string>& clue, size_t letters, int kind = -1) {
    std::vector<std::string_view> left;
    if (lemma.find('_') == std::string::npos) {
        left.push_back(lemma);
    } else {
        bool repeats = false;
        std::vector<std::string_view> words = Split(lemma, '_');
        for (std::string_view w : words) {
            if (clue.count(lower(w)))
                repeats = true;
            else if (!romanNumeral(w))
                left.push_back(w);
        }
        if (repeats && left.size() > 1)
            left.erase(std::remove_if(left.begin(), left.end(),
                                      [](std::string_view w) { return w == "of" || w == "the" || w == "The"; }),
                       left.end());
        if (left.size() != 1 || (!repeats && left.size() + 1 != words.size())) return std::nullopt;
        auto it = wn.senses.find(lower(left[0]));
        if (it != wn.senses.end() && std::islower(static_cast<unsigned char>(lemma[0])) && it->second.front().pos == 0)
            return std::nullopt;
        // Nor, of a kind's name, an adjective or a word WordNet lacks: herbal
        // tea, the horned viper, mild steel are no answers for TEA, VIPER and
        // STEEL. A substance is named by what it is of (boric acid: BORIC).
        constexpr int kSubstance = 27;
        if (kind >= 0 &&
            (it == wn.senses.end() || std::any_of(it->second.begin(), it->second.end(), [&](const WordNetSense& x) {
                 return x.pos == 2 && (kind != kSubstance || !wn.synsets[x.synset].pertains);
             })))
            return std::nullopt;
    }
    std::optional<std::string> typed = TypedLemma(left[0]);
    if (!typed || !GridAnswer(*typed, letters)) return std::nullopt;
    return typed;
}

int senseOf(const WordNetData& wn, const std::string& lemma, uint32_t synset) {
    auto it = wn.senses.find(lower(lemma));
    if (it == wn.senses.end()) return 0;
    for (const WordNetSense& s : it->second)
        if (s.synset == synset) return store::SenseCode(s.pos, s.number);
    return 0;
}

// The noun senses that give a word its values: the first, and those met at
// least half as often in tagged text; only the classes of things
// (animals, artifacts, food, places, people, plants, substances...): the
// kinds of an idea, an act, a feeling or a state are seldom answers a solver
// finds from the clue, and the puzzle subjects give those their members.
std::vector<uint32_t> frequentNouns(const WordNetData& wn, const std::vector<WordNetSense>& senses) {
    // noun.animal, artifact, body, food, group, location, object, person,
    // plant, possession, quantity, substance
    static constexpr int kThings[] = {5, 6, 8, 13, 14, 15, 17, 18, 20, 21, 23, 27};
    std::vector<uint32_t> out;
    // A word met far more often as a verb or an adjective names no class a
    // solver thinks of (PRODUCE, BITE, YOUNG): its noun senses give none.
    int other = 0;
    for (const WordNetSense& s : senses)
        if (s.pos != 0) other = std::max(other, s.tags);
    int first = -1;
    for (const WordNetSense& s : senses) {
        if (s.pos != 0) continue;
        const bool frequent = (first < 0 || (s.tags > 0 && 2 * s.tags >= first)) && 4 * s.tags >= other;
        if (first < 0) first = s.tags;
        const int lexfile = wn.synsets[s.synset].lexfile;
        if (frequent && std::find(std::begin(kThings), std::end(kThings), lexfile) != std::end(kThings))
            out.push_back(s.synset);
    }
    return out;
}

// The lexicographer file a kind is judged by; fruit, vegetables and herbs
// are filed as plants and as food alike.
int family(int lexfile) { return lexfile == 13 ? 20 : lexfile; }

// A class too broad to clue: more kinds below it than a solver could
// choose from (WordNet's "part", "device", "genus").
constexpr size_t kBroadest = 1500;

// The noun senses a puzzle subject names; `missing` for each the WordNet lacks.
std::vector<uint32_t> subjectRoots(const WordNetData& wn, const PuzzleCategory& c,
                                   const std::function<void()>& missing = {}) {
    std::vector<uint32_t> roots;
    for (const auto& [lemma, sense] : c.senses) {
        auto it = wn.senses.find(lemma);
        const WordNetSense* found = nullptr;
        if (it != wn.senses.end())
            for (const WordNetSense& s : it->second)
                if (s.pos == 0 && s.number == sense) found = &s;
        if (found)
            roots.push_back(found->synset);
        else if (missing)
            missing();
    }
    return roots;
}

// Calls `each` with the synsets below `roots`, level by level, each once,
// that belong to the class (see belonging()).
class Below {
public:
    // The classes below the senses of `subjects` (and the values of a word
    // with just those senses) must be of the subject's whole too.
    explicit Below(const WordNetData& wn, const std::vector<PuzzleCategory>& subjects = {})
        : wn_(wn), seen_(wn.synsets.size(), 0) {
        for (const PuzzleCategory& c : subjects) {
            std::vector<uint32_t> roots = subjectRoots(wn, c);
            std::sort(roots.begin(), roots.end());
            subjects_.insert(std::move(roots));
        }
        for (uint32_t k = 0; k < wn.synsets.size(); ++k)
            for (const std::string& l : wn.synsets[k].lemmas)
                if (l.find('_') != std::string::npos)
                    for (std::string_view w : Split(l, '_')) named_[lower(w)].push_back(k);
    }

    // False, and no call, when the class has more than `most` kinds; `clue`
    // the words a shortened name may repeat.
    template <typename F>
    bool walk(const std::vector<uint32_t>& roots, const std::unordered_set<std::string>& clue, F each,
              size_t most = SIZE_MAX) {
        ++mark_;
        clue_ = &clue;
        for (uint32_t r : roots) seen_[r] = mark_;
        std::vector<std::pair<uint32_t, int>> all;  // synset, levels below the roots
        std::vector<uint32_t> level = roots, next;
        for (int depth = 1; !level.empty(); ++depth) {
            for (uint32_t k : level)
                for (uint32_t b : wn_.synsets[k].below) {
                    if (seen_[b] == mark_) continue;
                    seen_[b] = mark_;
                    all.emplace_back(b, depth);
                    next.push_back(b);
                }
            if (all.size() > most) return false;
            level.swap(next);
            next.clear();
        }
        const std::vector<uint32_t>& kept = belonging(roots, all);
        for (auto [k, depth] : all)
            if (kept[k] == mark_) each(wn_.synsets[k], depth);
        return true;
    }

    // Calls `each` with the names that hold `word` and are kinds or
    // instances of what the roots are kinds of, outside the roots' own
    // class: the Dead Sea, a lake, is a body of water as the sea is.
    template <typename F>
    void namesBeside(const std::vector<uint32_t>& roots, const std::string& word, F each) {
        auto it = named_.find(word);
        if (it == named_.end()) return;
        std::unordered_set<uint32_t> parents;
        for (uint32_t r : roots) parents.insert(wn_.synsets[r].above.begin(), wn_.synsets[r].above.end());
        for (uint32_t k : it->second) {
            if (seen_[k] == mark_ || namesOther(wn_.synsets[k].lemmas[0], word)) continue;
            std::vector<uint32_t> up = wn_.synsets[k].above;
            bool beside = false;
            for (int depth = 0; depth < 4 && !up.empty() && !beside; ++depth) {
                std::vector<uint32_t> higher;
                for (uint32_t u : up) {
                    if (parents.count(u)) beside = true;
                    higher.insert(higher.end(), wn_.synsets[u].above.begin(), wn_.synsets[u].above.end());
                }
                up.swap(higher);
            }
            if (beside) each(wn_.synsets[k], 1);
        }
    }
    // Whether a word of `name` but `word` is a name of its own: North
    // Africa is Africa, no NORTH; the Dead Sea is a sea.
    bool namesOther(const std::string& name, const std::string& word) const {
        for (std::string_view w : Split(name, '_')) {
            auto it = lower(w) == word ? wn_.senses.end() : wn_.senses.find(lower(w));
            if (it != wn_.senses.end() && std::any_of(it->second.begin(), it->second.end(), [&](const WordNetSense& x) {
                    const auto& l = wn_.synsets[x.synset].lemmas;
                    return std::find(l.begin(), l.end(), std::string(w)) != l.end() &&
                           std::isupper(static_cast<unsigned char>(w[0]));
                }))
                return true;
        }
        return false;
    }
    const std::unordered_set<std::string>& clue() const { return *clue_; }
    // Below the roots of the last walk.
    bool reached(uint32_t k) const { return seen_[k] == mark_; }

private:
    // Marks with mark_ the synsets below the roots that are the subject's own:
    // - a kind each of whose classes lies inside it: a kind that is also one
    //   of something outside is left out; a name need only be reached (Oslo,
    //   a capital and a port; Ibsen, a dramatist and a poet);
    // - not reached only through a role: a class nearly all of whose kinds
    //   and instances are filed as other things of the subject's sort too (a
    //   saint, under deity, is a bishop, an apostle, a theologian) names what
    //   they became, not a kind of the subject;
    // - for a puzzle subject, of the whole the subject is of, where most of
    //   its members of one word are: the planets are of the solar system,
    //   the evening star, seen at sunset, is of none. (Other clue words'
    //   values are not held to it: WordNet gives few kinds their wholes.)
    const std::vector<uint32_t>& belonging(const std::vector<uint32_t>& roots,
                                           const std::vector<std::pair<uint32_t, int>>& all) {
        std::vector<uint32_t>& kept = kept_;
        kept.resize(wn_.synsets.size(), 0);
        auto inside = [&](uint32_t u) { return seen_[u] == mark_; };
        std::unordered_set<int> sort;
        std::unordered_set<uint32_t> wholes;
        std::vector<uint32_t> sorted = roots;
        std::sort(sorted.begin(), sorted.end());
        const bool subject = subjects_.count(sorted) > 0;
        for (uint32_t r : roots) {
            sort.insert(wn_.synsets[r].lexfile);
            if (subject) wholes.insert(wn_.synsets[r].wholes.begin(), wn_.synsets[r].wholes.end());
        }
        auto role = [&](uint32_t k) {
            const std::vector<uint32_t>& kinds = wn_.synsets[k].below;
            if (kinds.size() < 10) return false;
            const auto also = std::count_if(kinds.begin(), kinds.end(), [&](uint32_t c) {
                const std::vector<uint32_t>& up = wn_.synsets[c].above;
                return std::any_of(up.begin(), up.end(),
                                   [&](uint32_t u) { return !inside(u) && sort.count(wn_.synsets[u].lexfile); });
            });
            return 10 * size_t(also) > 9 * kinds.size();
        };
        // Reached from the roots without passing a role.
        std::vector<uint32_t> level = roots, next;
        for (uint32_t r : roots) kept[r] = mark_;
        while (!level.empty()) {
            for (uint32_t k : level)
                for (uint32_t b : wn_.synsets[k].below)
                    if (kept[b] != mark_ && inside(b) && !role(b)) {
                        kept[b] = mark_;
                        next.push_back(b);
                    }
            level.swap(next);
            next.clear();
        }
        size_t words = 0, ofWhole = 0;
        auto whole = [&](uint32_t k) {
            const std::vector<uint32_t>& w = wn_.synsets[k].wholes;
            return std::any_of(w.begin(), w.end(), [&](uint32_t x) { return wholes.count(x) > 0; });
        };
        for (auto [k, depth] : all) {
            const std::vector<uint32_t>& up = wn_.synsets[k].above;
            if (kept[k] == mark_ && !wn_.synsets[k].instance && !std::all_of(up.begin(), up.end(), inside)) kept[k] = 0;
            if (kept[k] != mark_ || wholes.empty()) continue;
            const std::vector<std::string>& l = wn_.synsets[k].lemmas;
            if (std::none_of(l.begin(), l.end(), [](const std::string& x) { return x.find('_') == std::string::npos; }))
                continue;
            ++words;
            ofWhole += whole(k);
        }
        if (2 * ofWhole > words)
            for (auto [k, depth] : all)
                if (!whole(k)) kept[k] = 0;
        return kept;
    }

    const WordNetData& wn_;
    std::vector<uint32_t> seen_, kept_;
    std::set<std::vector<uint32_t>> subjects_;  // each puzzle subject's senses, sorted
    uint32_t mark_ = 0;
    const std::unordered_set<std::string>* clue_ = nullptr;
    std::unordered_map<std::string, std::vector<uint32_t>> named_;  // a word of a name -> the synsets
};

// The words of the synsets a shortened name may repeat.
std::unordered_set<std::string> clueWords(const WordNetData& wn, const std::vector<uint32_t>& roots) {
    std::unordered_set<std::string> out;
    for (uint32_t r : roots)
        for (const std::string& l : wn.synsets[r].lemmas)
            for (std::string_view w : Split(l, '_')) out.insert(lower(w));
    out.erase("of");
    out.erase("the");
    return out;
}

// A word a solver knows in another sense than the one below the clue: its
// most frequent noun sense, met more than twice as often in tagged text, lies
// outside the clue's class and is filed with other things (DOLL, a toy, is no
// answer for ADULT; KEY no author; but OAK, the wood more often than the
// tree, stays a tree, and LEAD a metal).
bool elsewhere(const WordNetData& wn, const std::string& lemma, uint32_t synset, const Below& below) {
    auto it = wn.senses.find(lower(lemma));
    if (it == wn.senses.end()) return false;
    const WordNetSense* best = nullptr;
    int here = 0;
    for (const WordNetSense& s : it->second) {
        if (s.pos != 0) continue;
        if (!best || s.tags > best->tags) best = &s;
        if (s.synset == synset) here = s.tags;
    }
    return best && best->tags > 2 * here && !below.reached(best->synset) &&
           family(wn.synsets[best->synset].lexfile) != family(wn.synsets[synset].lexfile);
}

// NJ, DoD, SSA: a name's letters, which WordNet files beside the name; and
// a kind's name in capitals, a symbol or a brand (cerium's Ce, aspirin's
// Bayer).
bool abbreviation(const WordNetSynset& s, size_t i) {
    const std::string& lemma = s.lemmas[i];
    if (lemma.size() < 2 || lemma.find('_') != std::string::npos) return false;
    if (std::any_of(lemma.begin() + 1, lemma.end(),
                    [](char ch) { return std::isupper(static_cast<unsigned char>(ch)); }))
        return true;
    return i > 0 && std::isupper(static_cast<unsigned char>(lemma[0])) &&
           std::islower(static_cast<unsigned char>(s.lemmas[0][0]));
}

}  // namespace

void ForEachWordNetValue(const WordNetData& wn, size_t letters, const std::function<void(const WordNetValue&)>& value,
                         const std::vector<PuzzleCategory>& subjects) {
    Below below(wn, subjects);
    std::unordered_set<std::string> have;
    std::set<int> families;
    // The words that name a puzzle subject, and the senses it covers (DEITY
    // and DIVINITY name the gods' class as GOD does).
    std::unordered_set<std::string> subjectWords;
    std::unordered_set<uint32_t> subjectSenses;
    for (const PuzzleCategory& c : subjects) {
        for (const std::string& w : Singulars(c.name)) subjectWords.insert(w);
        for (uint32_t k : subjectRoots(wn, c)) subjectSenses.insert(k);
    }
    for (const auto& [lemma, senses] : wn.senses) {
        std::optional<std::string> clue = TypedLemma(lemma);
        if (!clue || clue->empty()) continue;

        have.clear();
        bool subject = false;
        auto each = [&](const WordNetSynset& s, int depth) {
            // How far down a solver still finds an answer from the clue. Below
            // a puzzle subject's word (BIRD, FISH, GOD, DEITY) every kind, and
            // the names of the two classes nearest (Ovid, a poet, is a
            // writer); below any other word the kinds two levels down (SEAT a
            // chair, not a barber chair) and the names one: Denver is a city,
            // no AREA; Ischia an island, no LAND.
            constexpr int kPerson = 18;
            const bool named =
                s.instance || (s.lexfile == kPerson && std::isupper(static_cast<unsigned char>(s.lemmas[0][0])));
            if (depth > (named ? (subject ? 2 : 1) : (subject ? INT_MAX : 2))) return;
            // A kind filed with other things than the clue is one by a
            // stretch: matzo is solid food, but no answer for SOLID.
            if (!s.instance && !families.count(family(s.lexfile))) return;
            for (size_t i = 0; i < s.lemmas.size(); ++i) {
                // Only a name's main name is shortened: the Nutmeg State is
                // Connecticut, no NUTMEG for STATE.
                if (i > 0 && s.lemmas[i].find('_') != std::string::npos) continue;
                if (elsewhere(wn, s.lemmas[i], uint32_t(&s - wn.synsets.data()), below) || abbreviation(s, i)) continue;
                std::optional<std::string> v =
                    answer(wn, s.lemmas[i], below.clue(), letters, s.instance ? -1 : s.lexfile);
                if (!v || *v == *clue || !have.insert(*v).second) continue;
                // A name of one word, which other languages mostly write the same.
                const bool name = std::isupper(static_cast<unsigned char>(s.lemmas[i][0])) &&
                                  s.lemmas[i].find('_') == std::string::npos;
                value({*clue, *v, name, bool((s.offensive >> std::min<size_t>(i, 63)) & 1),
                       s.lemmas[i].find('_') != std::string::npos});
            }
        };
        const std::vector<uint32_t> roots = frequentNouns(wn, senses);
        families.clear();
        for (uint32_t r : roots) families.insert(family(wn.synsets[r].lexfile));
        // Kept for namesBeside, whose names are shortened against it too.
        const std::unordered_set<std::string> words = clueWords(wn, roots);
        // The senses that are a puzzle subject's first (LAND the country, with
        // its nations), then the others (LAND the ground, whose islands are
        // no answers for it).
        std::vector<uint32_t> subjectPart, otherPart;
        for (uint32_t r : roots)
            (subjectWords.count(*clue) || subjectSenses.count(r) ? subjectPart : otherPart).push_back(r);
        bool broad = false;
        for (const std::vector<uint32_t>* part : {&subjectPart, &otherPart}) {
            subject = part == &subjectPart;
            if (!part->empty() && !below.walk(*part, words, each, kBroadest)) broad = true;
        }
        if (broad) continue;
        if (lemma.find('_') == std::string::npos) below.namesBeside(roots, lemma, each);
    }
}

void ReadWordNet(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 bool keepOffensive, size_t letters) {
    rows.skip("cannot be typed", wn.untypeable);
    for (uint32_t k = 0; k < wn.synsets.size(); ++k) {
        const WordNetSynset& s = wn.synsets[k];
        for (const std::string& w : s.words) rows.addWord(w);
        for (size_t a = 0; a < s.words.size(); ++a)
            for (size_t b = a + 1; b < s.words.size(); ++b)
                rows.addPair(s.words[a], s.words[b], senseOf(wn, s.lemmas[a], k), senseOf(wn, s.lemmas[b], k));
    }
    ForEachWordNetValue(
        wn, letters,
        [&](const WordNetValue& v) {
            // Where the size lists are known, the clue is a word of the
            // smallest list, the answer one of the two smallest (a name's
            // word or a short kind one of the three: ERNE and ANOA are what a
            // composer needs for four squares): the kinds below a rare word,
            // the rare kinds below any and the rare names (NAMTAR, ASSUAN)
            // are answers no solver finds.
            const int clue = rows.rankOf(v.clue), rank = rows.rankOf(v.value);
            const int rarest = !v.name && (v.shortened || v.value.size() <= 4) ? 3 : 2;
            if (rows.ranked() && clue != 1)
                rows.skip("clue word not common");
            else if (rows.ranked() && (rank == 0 || rank > rarest))
                rows.skip("answer not common");
            else if (v.offensive && !keepOffensive)
                rows.skip(store::kOffensive);
            else
                rows.addValue(v.clue, v.value, v.shortened ? 1 : 0);
        },
        categories);
    ForEachCategoryMember(
        wn, categories, letters,
        [&](const PuzzleCategory& c, const WordNetValue& m) {
            if (m.offensive && !keepOffensive) return rows.skip(store::kOffensive);
            rows.addCategory(m.value, c.name);
            // A subject's rarest members stay members, no values of its word.
            if (rows.ranked() && (rows.rankOf(m.value) == 0 || rows.rankOf(m.value) > 2))
                rows.skip("answer not common");
            else
                rows.addValue(m.clue, m.value);
        },
        [&] { rows.skip("category sense not in this WordNet"); });
}

void ForEachCategoryMember(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, size_t letters,
                           const std::function<void(const PuzzleCategory&, const WordNetValue&)>& member,
                           const std::function<void()>& missing) {
    Below below(wn, categories);
    for (const PuzzleCategory& c : categories) {
        const std::vector<uint32_t> roots = subjectRoots(wn, c, missing);
        const std::string subject = Singulars(c.name).front();
        below.walk(roots, clueWords(wn, roots), [&](const WordNetSynset& s, int) {
            for (size_t i = 0; i < s.lemmas.size(); ++i) {
                std::optional<std::string> m = answer(wn, s.lemmas[i], {}, letters);
                // A subject's list names the sense: MERCURY is a planet there, though
                // met more often as a metal.
                if (!m || abbreviation(s, i)) continue;
                const bool name = std::isupper(static_cast<unsigned char>(s.lemmas[i][0])) &&
                                  s.lemmas[i].find('_') == std::string::npos;
                member(c, {subject, *m, name, bool((s.offensive >> std::min<size_t>(i, 63)) & 1), false});
            }
        });
    }
}

void ReadWordNet(const std::string& dir, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 const Progress& progress, bool keepOffensive) {
    const WordNetData wn = LoadWordNet(dir, progress);
    MarkWordNet(wn, rows, keepOffensive);
    ReadWordNet(wn, categories, rows, keepOffensive);
    if (progress) progress(1.0, wn.entries);
}

}  // namespace sources
