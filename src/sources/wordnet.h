// WordNet's database files (data.noun, index.noun, ...: the format of
// Princeton's WordNet 3.0, as Debian's wordnet-base installs it): synonyms
// from each synset, values from the kinds and instances below a noun, and
// the members of the puzzle subjects that data/categories-en.txt names.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sources/progress.h"
#include "store/wordlists.h"

namespace sources {

// A puzzle subject (BIRDS) and the noun senses whose kinds and instances,
// at any depth, are its members.
struct PuzzleCategory {
    std::string name;                                 // as T_Kategori holds it
    std::vector<std::pair<std::string, int>> senses;  // lemma as index.noun writes it, sense from 1
};
// Reads "NAME | lemma sense, lemma sense" lines ("#" starts a comment);
// a lemma of several words is written with spaces.
std::vector<PuzzleCategory> ReadCategoryList(const std::string& path);

struct WordNetLimits {
    int depth = 3;        // levels of kinds below a noun that give its values
    size_t values = 300;  // levels beyond the first stop before a word has more values than this
    size_t letters = 14;  // the longest value or member a grid can take
};

// Reads DIR/data.{noun,verb,adj,adv} and DIR/index.noun. Values and members
// are answers a grid can take: one word of letters only. A missing file or
// a malformed line throws store::ImportError naming the file and line.
void ReadWordNet(const std::string& dir, const std::vector<PuzzleCategory>& categories, store::WordListBuilder& rows,
                 const Progress& progress = {}, const WordNetLimits& limits = {});

}  // namespace sources
