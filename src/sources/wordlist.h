// Plain word lists, one word a line (the lists under /usr/share/dict, in
// any encoding): words for pattern search, without synonyms or values.
#pragma once

#include <string>

#include "sources/progress.h"
#include "store/wordlists.h"

namespace sources {

// Adds each line's word in upper case as a listed word; a word the word
// field cannot type is skipped. Bytes that are not text in `encoding`
// throw store::ImportError naming the file and line.
void ReadWordList(const std::string& path, const std::string& encoding, store::WordListBuilder& rows,
                  const Progress& progress = {});

// Gives each word of a size list (SCOWL's, as wamerican-* installs them:
// UTF-8, one word a line) the commonness `rank`; a word keeps the smallest
// rank it is given. Bytes that are not UTF-8 throw store::ImportError naming
// the file and line.
void ReadRanks(const std::string& path, int rank, store::WordListBuilder& rows);

}  // namespace sources
