// The word data a puzzle is made from, read from the word database in two
// bulk reads, whichever engine holds it.
#pragma once

#include "grid/generate.h"
#include "store/wordstore.h"

namespace sim::gen {

// Throws what the database throws (store::DbError) when it cannot be read.
WordData ReadWordData(store::Database& db);

}  // namespace sim::gen
