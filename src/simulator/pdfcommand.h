// `velmora --pdf GRID.ipuz OUT.pdf`: a grid file to its PDF without a
// window, so that grids can be exported in batches.
#pragma once

#include <optional>

namespace sim {

// When the command line asks for a PDF, writes it and gives the exit status
// (0, or 1 with a message on standard error); otherwise nothing. Call it
// before any application object exists.
std::optional<int> PdfCommand(int& argc, char** argv);

}  // namespace sim
