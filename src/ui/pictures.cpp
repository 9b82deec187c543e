#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace ui::pictures {

namespace {

const QColor kOrange(255, 128, 0);
const QColor kBlue(0, 0, 192);
const QColor kTeal(0, 128, 128);

const QColor kDarkRed(128, 0, 0);
const QColor kGreen(0, 140, 60);
const QColor kRed(200, 30, 30);

// Each icon is drawn on a 64-unit square and scaled, so it stays sharp at
// every size the buttons ask for.
void drawIcon(QPainter& g, Icon which) {
    g.setRenderHint(QPainter::Antialiasing);
    auto disc = [&](const QColor& c) {
        g.setPen(QPen(c.darker(140), 2));
        g.setBrush(c);
        g.drawRoundedRect(QRectF(6, 6, 52, 52), 12, 12);
    };
    QPen white(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (which) {
        case Icon::Save:  // a plus on green: add to the word database
            disc(kGreen);
            g.setPen(white);
            g.drawLine(QPointF(32, 18), QPointF(32, 46));
            g.drawLine(QPointF(18, 32), QPointF(46, 32));
            break;
        case Icon::Erase:  // a minus on red
            disc(kRed);
            g.setPen(white);
            g.drawLine(QPointF(18, 32), QPointF(46, 32));
            break;
        case Icon::Search: {  // a magnifier on blue
            disc(QColor(0, 96, 170));
            g.setPen(QPen(Qt::white, 5));
            g.setBrush(Qt::NoBrush);
            g.drawEllipse(QPointF(28, 28), 11, 11);
            g.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap));
            g.drawLine(QPointF(36, 36), QPointF(46, 46));
            break;
        }
        case Icon::Simulate:
        case Icon::App: {  // a small arrow-word grid: clue squares and letters
            g.setPen(Qt::NoPen);
            // clang-format off: the squares as they lie
            const QColor cells[3][3] = {
                {kOrange, Qt::white, Qt::white}, {Qt::white, kTeal, Qt::white}, {Qt::white, Qt::white, kOrange}};
            // clang-format on
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) {
                    g.setBrush(cells[r][c]);
                    g.drawRect(QRectF(4 + c * 19, 4 + r * 19, 18, 18));
                }
            g.setPen(QPen(QColor(40, 40, 40), 2));
            g.setBrush(Qt::NoBrush);
            g.drawRect(QRectF(4, 4, 56, 56));
            QFont f("DejaVu Sans", 11, QFont::Bold);
            g.setFont(f);
            g.setPen(kBlue);
            g.drawText(QRectF(23, 4, 18, 18), Qt::AlignCenter, "V");
            g.drawText(QRectF(42, 4, 18, 18), Qt::AlignCenter, "E");
            g.drawText(QRectF(4, 23, 18, 18), Qt::AlignCenter, "L");
            g.drawText(QRectF(42, 23, 18, 18), Qt::AlignCenter, "M");
            g.drawText(QRectF(4, 42, 18, 18), Qt::AlignCenter, "O");
            g.drawText(QRectF(23, 42, 18, 18), Qt::AlignCenter, "R");
            break;
        }
        case Icon::Exit: {  // an open door with an arrow out
            g.setPen(QPen(kDarkRed.darker(130), 2));
            g.setBrush(kDarkRed);
            g.drawRect(QRectF(10, 8, 28, 48));
            g.setBrush(QColor(230, 200, 160));
            g.drawEllipse(QPointF(32, 34), 2.5, 2.5);
            g.setPen(QPen(kOrange, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            g.drawLine(QPointF(30, 32), QPointF(56, 32));
            g.drawLine(QPointF(46, 22), QPointF(56, 32));
            g.drawLine(QPointF(46, 42), QPointF(56, 32));
            break;
        }
        case Icon::Close:  // a cross on dark red
            disc(kDarkRed);
            g.setPen(white);
            g.drawLine(QPointF(21, 21), QPointF(43, 43));
            g.drawLine(QPointF(43, 21), QPointF(21, 43));
            break;
        case Icon::Done:
        case Icon::Ok: {  // a tick on teal
            disc(kTeal);
            g.setPen(white);
            QPainterPath tick;
            tick.moveTo(19, 33);
            tick.lineTo(28, 42);
            tick.lineTo(46, 22);
            g.setBrush(Qt::NoBrush);
            g.drawPath(tick);
            break;
        }
    }
}

}  // namespace

void paint(QPainter& g, Icon which) { drawIcon(g, which); }

QIcon icon(Icon which) {
    QIcon result;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap p(size, size);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.scale(size / 64.0, size / 64.0);
        drawIcon(g, which);
        g.end();
        result.addPixmap(p);
    }
    return result;
}

QPixmap puzzle(int width, int height, const std::vector<QRect>& calm) {
    QPixmap p(width, height);
    p.fill(QColor(250, 250, 245));
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // An arrow-word grid: orange and teal clue squares with their arrows,
    // white squares holding the letters of words that cross.
    const int s = 34;
    const int cols = width / s + 1, rows = height / s + 1;
    // clang-format off: one text a row of the grid
    static const char* const lines[] = {
        "#VELMORA#WORD#", "S#A#SEA#CLUE#G", "TOR#TIME#ARROW", "A#ROW#ODIN#E#I", "RIVER#NOTE#SAD",
        "#GRID#ART#SEAT", "LETTER#ICE#POD", "#SYNONYM#VALUE", "CAT#ERA#MAP#OX", "#ISLE#SUN#TREE",
        "PUZZLE#ARROWS#", "#OAK#SNOW#NILE", "ANSWER#RED#SKY", "#HINT#DEW#WORD", "CROSS#EYE#EAST",
    };
    // clang-format on
    QFont f("DejaVu Sans", 13, QFont::Bold);
    f.setPixelSize(s * 55 / 100);
    g.setFont(f);
    for (int r = 0; r < rows; ++r) {
        const char* line = lines[r % 15];
        for (int c = 0; c < cols; ++c) {
            const QRectF cell(c * s, r * s, s, s);
            const char ch = line[c % 14];
            if (ch == '#') {
                const bool teal = (r + c) % 3 == 0;
                g.fillRect(cell, teal ? kTeal : kOrange);
                // The clue arrow: right or down, as the answers run.
                g.setPen(Qt::NoPen);
                g.setBrush(QColor(255, 255, 255, 220));
                QPainterPath arrow;
                if ((r * 7 + c) % 2) {
                    arrow.moveTo(cell.right() - 9, cell.center().y() - 5);
                    arrow.lineTo(cell.right() - 2, cell.center().y());
                    arrow.lineTo(cell.right() - 9, cell.center().y() + 5);
                } else {
                    arrow.moveTo(cell.center().x() - 5, cell.bottom() - 9);
                    arrow.lineTo(cell.center().x(), cell.bottom() - 2);
                    arrow.lineTo(cell.center().x() + 5, cell.bottom() - 9);
                }
                arrow.closeSubpath();
                g.drawPath(arrow);
            } else {
                g.fillRect(cell, Qt::white);
                g.setPen(r == 0 && c >= 1 && c <= 7 ? QColor(190, 90, 90) : QColor(110, 130, 200));
                g.drawText(cell, Qt::AlignCenter, QString(QChar(ch)));
            }
        }
    }
    // The grid lines last, so every square has a crisp edge.
    g.setRenderHint(QPainter::Antialiasing, false);
    g.setPen(QPen(QColor(60, 60, 60), 1));
    for (int c = 0; c <= cols; ++c) g.drawLine(c * s, 0, c * s, height);
    for (int r = 0; r <= rows; ++r) g.drawLine(0, r * s, width, r * s);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(255, 255, 255, 200));
    for (const QRect& r : calm) g.drawRoundedRect(r.adjusted(-4, -2, 4, 2), 6, 6);
    return p;
}

}  // namespace ui::pictures
