// Painting a grid for print. Clue squares are shaded and carry their clue
// words, shrunk until they fit, with an arrow into the square where the
// answer starts; the clue square of an open answer (a letter count, no clue
// word yet) is one too, its place for the clue left empty. Squares that no
// answer uses are dark, as in print.
#include "grid/gridprint.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <array>
#include <vector>

#include "grid/fill.h"

namespace sim::print {

namespace {

const QColor kClueShade(225, 225, 225);
const QColor kUnused(150, 150, 150);
const QString kFamily = QStringLiteral("DejaVu Sans");

bool isLetter(const Square& s) { return !s.caption.isEmpty() && !s.isMark(); }

// The header line's share of the page above the grid.
constexpr double kHeader = 0.08;

QRectF squareRect(const QRectF& grid, const Geometry& geometry, int n) {
    const double side = grid.width() / geometry.columns;
    const int row = geometry.RowOf(n) - 1, column = geometry.ColumnOf(n) - 1;
    return {grid.left() + side * column, grid.top() + side * row, side, side};
}

// Draws `text` as large as it fits in `r`, up to `maxPt` points; words are
// broken between letters only when they cannot fit whole.
void fitText(QPainter& p, const QRectF& r, const QString& text, double maxPt) {
    QFont f(kFamily);
    for (int wrap : {int(Qt::TextWordWrap), int(Qt::TextWrapAnywhere)}) {
        for (double pt = maxPt; pt >= 3.0; pt -= 0.25) {
            f.setPointSizeF(pt);
            p.setFont(f);
            const QRectF need = p.boundingRect(r, Qt::AlignCenter | wrap, text);
            if (need.width() <= r.width() + 0.01 && need.height() <= r.height() + 0.01) {
                p.drawText(r, Qt::AlignCenter | wrap, text);
                return;
            }
        }
    }
    f.setPointSizeF(3.0);
    p.setFont(f);
    p.drawText(r, Qt::AlignCenter | Qt::TextWrapAnywhere, text);
}

// A small filled arrow with its tip at `tip`, pointing right or down.
void arrow(QPainter& p, QPointF tip, bool right, double size) {
    QPainterPath path;
    path.moveTo(tip);
    if (right) {
        path.lineTo(tip + QPointF(-size, -size / 2));
        path.lineTo(tip + QPointF(-size, size / 2));
    } else {
        path.lineTo(tip + QPointF(-size / 2, -size));
        path.lineTo(tip + QPointF(size / 2, -size));
    }
    path.closeSubpath();
    p.fillPath(path, Qt::black);
}

void paintPage(QPainter& p, const QRectF& area, const Grid& g, const QString& heading, bool solution) {
    QFont head(kFamily);
    head.setPointSizeF(14);
    head.setBold(true);
    p.setFont(head);
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left(), area.top(), area.width(), area.height() * kHeader), Qt::AlignLeft | Qt::AlignVCenter,
               heading);

    // The answers of each square, with a clue word or open.
    const Geometry& geometry = g.geometry();
    std::vector<std::array<bool, 2>> answers(size_t(g.count()) + 1, {false, false});
    for (int n = 1; n <= g.count(); ++n)
        answers[size_t(n)] = {!g[size_t(n)].ord1.isEmpty(), !g[size_t(n)].ord2.isEmpty()};
    for (const Slot& s : Slots(g))
        if (s.open()) answers[size_t(s.answer.clue)][s.answer.across ? 0 : 1] = true;
    const auto isClue = [&](int n) { return answers[size_t(n)][0] || answers[size_t(n)][1] || g[size_t(n)].isMark(); };

    const QRectF grid = GridRect(area, geometry);
    const double side = grid.width() / geometry.columns;
    const double thin = side / 40, pad = side * 0.06;
    for (int n = 1; n <= g.count(); ++n) {
        const Square& s = g[size_t(n)];
        const QRectF r = squareRect(grid, geometry, n);
        p.fillRect(r, isClue(n) ? kClueShade : isLetter(s) ? QColor(Qt::white) : kUnused);
        if (isClue(n)) {
            const bool both = answers[size_t(n)][0] && answers[size_t(n)][1];
            QRectF top = r.adjusted(pad, pad, -pad, -pad), bottom = top;
            if (both) {
                top.setBottom(r.center().y() - pad);
                bottom.setTop(r.center().y() + pad);
                p.setPen(QPen(Qt::black, thin));
                p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
            }
            p.setPen(Qt::black);
            if (!s.ord1.isEmpty()) fitText(p, top, s.ord1, 9);
            if (!s.ord2.isEmpty()) fitText(p, both ? bottom : top, s.ord2, 9);
        } else if (solution && isLetter(s)) {
            QFont f(kFamily);
            f.setPointSizeF(side * 0.5 * 72.0 / p.device()->logicalDpiY());
            p.setFont(f);
            p.setPen(Qt::black);
            p.drawText(r, Qt::AlignCenter, s.caption);
        }
    }
    // The arrows go into the square where each answer starts, at the side
    // that faces its clue square, so no later square covers them.
    const double a = side * 0.16;
    for (int n = 1; n <= g.count(); ++n) {
        const QRectF r = squareRect(grid, geometry, n);
        const auto [across, down] = answers[size_t(n)];
        if (across && !EdgeRefuses(geometry, {int16_t(n), true}, n + 1, 1, 1))
            arrow(p, QPointF(r.right() + a, across && down ? r.top() + r.height() / 4 : r.center().y()), true, a);
        if (down && geometry.contains(n + geometry.columns))
            arrow(p, QPointF(r.center().x(), r.bottom() + a), false, a);
    }
    p.setPen(QPen(Qt::black, thin));
    for (int i = 0; i <= geometry.columns; ++i)
        p.drawLine(QPointF(grid.left() + side * i, grid.top()), QPointF(grid.left() + side * i, grid.bottom()));
    for (int i = 0; i <= geometry.rows; ++i)
        p.drawLine(QPointF(grid.left(), grid.top() + side * i), QPointF(grid.right(), grid.top() + side * i));
    p.setPen(QPen(Qt::black, thin * 4));
    p.drawRect(grid);
}

}  // namespace

QRectF GridRect(const QRectF& area, const Geometry& geometry) {
    const double top = area.top() + area.height() * kHeader;
    const double side = std::min(area.width() / geometry.columns, (area.bottom() - top) / geometry.rows);
    const double width = side * geometry.columns;
    return {area.left() + (area.width() - width) / 2, top, width, side * geometry.rows};
}

bool Paint(QPagedPaintDevice& device, const Grid& g, const QString& title) {
    QPainter p;
    if (!p.begin(&device)) return false;
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0, 0, device.width(), device.height());
    paintPage(p, area, g, title, false);
    device.newPage();
    paintPage(p, area, g, title + " \u2013 Solution", true);
    return p.end();
}

bool WritePdf(const QString& path, const Grid& g, const QString& title, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        pdf.setResolution(300);
        pdf.setTitle(title);
        pdf.setCreator("Velmora");
        if (!Paint(pdf, g, title)) {
            if (error) *error = "the PDF could not be painted";
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace sim::print
