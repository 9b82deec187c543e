// MyThes thesaurus files (LibreOffice's .dat): the first line names the
// encoding, then each entry "word|n" is followed by n meaning lines
// "(part of speech)|synonym|synonym (note)|...".
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "store/wordlists.h"

namespace sources {

// Adds each entry's synonyms as pairs and its parts of speech as categories.
// `progress` gets the share done, 0 to 1. A malformed file throws
// store::ImportError naming the file and line.
void ReadThesaurus(const std::string& path, store::WordListBuilder& rows,
                   const std::function<void(double)>& progress = {});
void ReadThesaurusText(std::string_view text, const std::string& name, store::WordListBuilder& rows,
                       const std::function<void(double)>& progress = {});

}  // namespace sources
