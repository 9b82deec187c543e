// The alphabetical order of every list of words: Æ, Ø and Å come after Z, in
// that order, as a Norwegian reader expects (the bytes of UTF-8 would put Å
// first); every other character keeps the order of its UTF-8 bytes, so
// English words keep theirs.
// The order lives in the program, never in the file: queries name it as a
// collation registered on each connection, and the schema stays plain.
#pragma once

#include <string_view>

struct sqlite3;

namespace store {

// The collation name the queries sort by.
inline constexpr const char* kWordOrder = "VELMORA_ORDER";

// Negative, zero or positive, as a comes before, with or after b.
int CompareWords(std::string_view a, std::string_view b);
inline bool WordLess(std::string_view a, std::string_view b) { return CompareWords(a, b) < 0; }

// Makes kWordOrder known to a connection.
void RegisterWordOrder(sqlite3* db);

}  // namespace store
