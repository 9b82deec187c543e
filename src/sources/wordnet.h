// WordNet as word data: synonyms from each synset, values from the kinds and
// instances below a noun, the members of the puzzle subjects that
// data/categories-en.txt names, and the marks that keep offensive senses out.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sources/progress.h"
#include "sources/wordnet_data.h"
#include "store/wordlists.h"

namespace sources {

// A puzzle subject (BIRDS) and the noun senses whose kinds and instances,
// at any depth, are its members.
struct PuzzleCategory {
    std::string name;                                 // as T_Kategori holds it
    std::vector<std::pair<std::string, int>> senses;  // lemma as index.noun writes it, sense from 1
    // Language code -> the subject's word there, for subjects whose members
    // that language writes the same (capitals, sol-fa syllables).
    std::vector<std::pair<std::string, std::string>> abroad = {};
};
// Reads "NAME | lemma sense, lemma sense [| lang WORD, lang WORD]" lines
// ("#" starts a comment); a lemma of several words is written with spaces.
std::vector<PuzzleCategory> ReadCategoryList(const std::string& path);

// Tells `rows` each word's senses, most frequent first, and, unless
// `keepOffensive`, the words and pairs whose senses WordNet marks as ethnic
// slurs, disparagement, obscenity or vulgarism. Given before any source is
// read, so that every source's pairs, values and members obey it.
void MarkWordNet(const WordNetData& wn, store::WordListBuilder& rows, bool keepOffensive = false);

// Calls `value` with each noun's values: every kind and instance below the
// noun's frequent senses, at any depth, that a grid can take (one word of
// letters only, 2 to `letters` long; a name of several words is shortened
// to its distinctive word where the others repeat the noun or are a regnal
// number: "Lake Erie" under LAKE is ERIE). `name` tells a proper name of one word,
// `offensive` a word marked offensive in the sense it comes from.
struct WordNetValue {
    const std::string& clue;
    const std::string& value;
    bool name;
    bool offensive;
    bool shortened;  // the distinctive word of a longer name
};
// The values of a word whose frequent senses are just a puzzle subject's
// (PLANET, PLANETS) are checked as the subject's members are.
void ForEachWordNetValue(const WordNetData& wn, size_t letters, const std::function<void(const WordNetValue&)>& value,
                         const std::vector<PuzzleCategory>& subjects = {});

// Calls `member` with each category's members, at any depth, that a grid can
// take, as values of the word the category's name is the plural of (`clue`);
// `missing` for each sense of the list the WordNet lacks.
void ForEachCategoryMember(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, size_t letters,
                           const std::function<void(const PuzzleCategory&, const WordNetValue&)>& member,
                           const std::function<void()>& missing = {});

// Adds the words, synonym pairs, values and category members of `wn`. A
// category's members are values of the word its name is the plural of too
// (BIRDS: BIRD; GODS AND GODDESSES: GOD, whose kinds the goddesses are as
// well), for WordNet files some everyday classes away from their everyday
// word (CURRENCIES: CURRENCY, whose lira sits under "monetary unit").
// Unless `keepOffensive`, values and members marked offensive are left out
// and counted.
void ReadWordNet(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 bool keepOffensive = false, size_t letters = 14);
// Loads DIR, marks and reads it, as the three above.
void ReadWordNet(const std::string& dir, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 const Progress& progress = {}, bool keepOffensive = false);

// "BIRDS" -> BIRD; "GODS AND GODDESSES" -> GOD, GODDESS.
std::vector<std::string> Singulars(const std::string& plural);

}  // namespace sources
