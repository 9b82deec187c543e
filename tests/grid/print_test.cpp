// The printed puzzle: a page headed by the title with the clue words in
// their clue squares and no answer letter, then the solution page with
// every letter in its own square; clue squares shaded, an open answer's
// too, with an arrow into the answer's first square; a square no answer
// uses dark.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>

#include "evening.h"
#include "grid/gridprint.h"

namespace {

QByteArray output(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    EXPECT_TRUE(p.waitForFinished(30000));
    return p.readAllStandardOutput();
}

// The grid on an A4 page, in points, and its side of a square.
const double kMargin = sim::print::kMarginMm / 25.4 * 72;
const QRectF kGrid =
    sim::print::GridRect(QRectF(QPageSize(QPageSize::A4).rectPoints()).adjusted(kMargin, kMargin, -kMargin, -kMargin));
const double kSide = kGrid.width() / 15;

// The pages as pdftotext reads them, each begun by "|": "n:WORD" for each
// word, n its square (0 outside the grid), by square and then as read.
QString pageWords(const QString& pdf) {
    std::multimap<int, QString> words;  // by page and square
    int page = 0;
    for (const QString& line : QString::fromUtf8(output("pdftotext", {"-bbox", pdf, "-"})).split('\n')) {
        if (line.contains("<page ")) words.emplace(++page * 1000, "|");
        const QStringList f = line.split(QRegularExpression(R"(["<>])"));  // word xMin="x" yMin="y" ...>WORD<
        if (!line.contains("<word ") || f.size() < 11) continue;
        const QPointF middle = QPointF(f[2].toDouble() + f[6].toDouble(), f[4].toDouble() + f[8].toDouble()) / 2;
        const QPointF at = (middle - kGrid.topLeft()) / kSide;
        const int n = QRectF(0, 0, 15, 15).contains(at) ? int(at.y()) * 15 + int(at.x()) + 1 : 0;
        words.emplace(page * 1000 + n, QString("%1:%2").arg(n).arg(f[10]));
    }
    QStringList s;
    for (const auto& w : words) s << w.second;
    return s.join(' ');
}

TEST(Print, ThePuzzlePageThenTheSolutionPage) {
    sim::Document d;
    evening::Compose(d);
    evening::Clue(d, 130, "", 3, "", 0);
    evening::Clue(d, 64, "", 0, "", 4);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("evening.pdf");
    ASSERT_TRUE(sim::print::WritePdf(pdf, d.squares(), "evening", nullptr));
    EXPECT_EQ(pageWords(pdf).toStdString(),
              "| 0:evening 1:BIG 1:OCEAN 20:RODENT 34:CARPET 48:EXIST | 0:evening 0:\u2013 0:Solution 1:BIG 1:OCEAN "
              "2:L 3:A 4:R 5:G 6:E 16:S 20:RODENT 31:E 34:CARPET 35:R 36:U 37:G 46:A 48:EXIST 49:A 50:A 65:T");
    // The first page drawn a dot a point: White, Shaded, Dark or Black at
    // (dx, dy) of a square's side from its top left.
    const QImage page = QImage::fromData(output("pdftoppm", {"-r", "72", "-gray", "-singlefile", pdf}));
    QString tones;
    for (const auto& [n, dx, dy] :
         {std::tuple{130, .5, .5}, {64, .5, .5}, {200, .5, .5}, {2, .5, .5}, {131, .06, .5}, {79, .5, .06}}) {
        const QPointF at = kGrid.topLeft() + (QPointF(QPoint((n - 1) % 15, (n - 1) / 15)) + QPointF(dx, dy)) * kSide;
        const int g = qGray(page.pixel(at.toPoint()));
        tones += g > 240 ? 'W' : g > 200 ? 'S' : g > 100 ? 'D' : 'B';
    }
    EXPECT_EQ(tones, "SSDWBB");  // open answers across and down, unused, an empty letter, the two arrows
}

}  // namespace
