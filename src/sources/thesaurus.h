// MyThes thesaurus files (LibreOffice's .dat): the first line names the
// encoding, then each entry "word|n" is followed by n meaning lines
// "(part of speech)|synonym|synonym (note)|...".
#pragma once

#include <string>
#include <string_view>

#include "sources/progress.h"
#include "store/wordlists.h"

namespace sources {

// Adds each entry's word and its synonyms as pairs (antonyms left out). A
// malformed file throws store::ImportError naming the file and line.
void ReadThesaurus(const std::string& path, store::WordListBuilder& rows, const Progress& progress = {});
void ReadThesaurusText(std::string_view text, const std::string& name, store::WordListBuilder& rows,
                       const Progress& progress = {});

}  // namespace sources
