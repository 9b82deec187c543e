// Bilingual dictionaries in the dictd format Debian ships (dict-freedict-*):
// NAME.index lines "headword<TAB>offset<TAB>length" (base64 numbers) into the
// gzip-compressed NAME.dict.dz. WordNet's values are carried across through
// one: the English clue word and each value, translated.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "sources/wordnet.h"
#include "store/wordlists.h"

namespace sources {

// A headword as the word field holds it -> the words of its first noun sense.
using Dictionary = std::unordered_map<std::string, std::vector<std::string>>;

// `path` names the dictionary with or without ".index" or ".dict.dz". A
// missing or damaged file (an index line pointing past the data, a
// truncated .dict.dz) throws store::ImportError naming the file and line.
Dictionary ReadDictd(const std::string& path);

// Adds the translated clue words with the translated values WordNet gives
// them, and the puzzle subjects' members as values of their subject's word
// (MONTHS: MÅNED); a proper name without a translation (OSLO, ODIN) carries
// over as it is. A subject that names its word in `language` (CAPITALS:
// HOVEDSTAD) gives that word its members as they are, a name as the
// dictionary writes it where it has one.
void TranslateWordNet(const WordNetData& wn, const std::vector<PuzzleCategory>& categories, const Dictionary& dict,
                      store::WordListBuilder& rows, const std::string& language = {});

}  // namespace sources
