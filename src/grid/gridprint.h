// A grid on paper, as a magazine prints an arrow-word puzzle: one page with
// the clue words in small type in their clue squares and an arrow toward
// each answer, the answer squares empty, and a second page with the
// solution. The same painting goes to a PDF file and to a printer.
#pragma once

#include <QRectF>
#include <QString>

#include "grid/grid.h"

class QPagedPaintDevice;

namespace sim::print {

// The page margins, all round.
inline constexpr double kMarginMm = 15;

// Paints the puzzle page and the solution page; false when the device
// cannot be painted on.
bool Paint(QPagedPaintDevice& device, const Grid& g, const QString& title);
// The two pages as a PDF file (A4), written whole or not at all.
bool WritePdf(const QString& path, const Grid& g, const QString& title, QString* error);

// Where the grid goes on a page whose area inside the margins is `area`
// (in any unit): its squares fill this rectangle.
QRectF GridRect(const QRectF& area, const Geometry& geometry = {});

}  // namespace sim::print
