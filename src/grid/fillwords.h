// The words a fill chooses from, read from the word database: each clued
// answer's candidates as the simulation lists them, and every stored word
// of the open answers' lengths.
#pragma once

#include <vector>

#include "grid/fill.h"
#include "store/wordstore.h"

namespace sim {

// A query that fails leaves its answers without words, as the simulation
// leaves its lists empty; the fill then reports them as not filled. With
// `held`, the open answers' words come from the words held in memory, as
// the word field's pattern search takes them.
FillWords ReadFillWords(store::Database& db, const std::vector<Slot>& answers, store::WordCache* held = nullptr);

}  // namespace sim
