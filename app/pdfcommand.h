// `velmora --pdf GRID.ipuz OUT.pdf`: a grid file to its PDF without a
// window, so that grids can be exported in batches.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Writes the grid in `grid` as a PDF to the one file named in `rest` and
// gives the exit status: 0, or 1 with a message on standard error. Call it
// before any application object exists.
int PdfCommand(int& argc, char** argv, const QString& grid, const QStringList& rest);

}  // namespace app
