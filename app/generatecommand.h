// velmora --generate OUT.ipuz: a whole puzzle made from the word database
// and written as a grid file, without a window.
#pragma once

#include <QString>
#include <cstdint>

namespace app {

// `database`: a server's URL, or "" for velmora.mdb in the current folder.
// Returns the process's exit code.
int GenerateCommand(const QString& out, uint64_t seed, const QString& database);

}  // namespace app
