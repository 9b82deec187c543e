// Keeping a grid from the simulator window: saved as ipuz and opened again
// as one undoable step, a question before a grid is replaced, refusals and
// failures said, the keys and the right-click menu, and the PDF and print
// pages read back with pdftotext, and an open answer's mark on the screen
// and on paper. (What the files hold: tests/grid.)
#include <QProcess>
#include <QRegularExpression>

#include "grid/gridprint.h"
#include "simulator.h"

namespace {

// One word as pdftotext reads it, with the square of the grid it lies in
// (0 outside the grid).
struct Word {
    QString text;
    int square;
};

// The words of each page of a PDF, placed on the grid as the pages draw it.
std::vector<std::vector<Word>> pdfWords(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<std::vector<Word>> pages;
    static const QRegularExpression re(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QRectF grid;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            const double margin = sim::print::kMarginMm / 25.4 * 72;
            const double w = m.captured(1).toDouble(), h = m.captured(2).toDouble();
            grid = sim::print::GridRect(QRectF(margin, margin, w - 2 * margin, h - 2 * margin));
            pages.emplace_back();
            continue;
        }
        const QPointF c((m.captured(3).toDouble() + m.captured(5).toDouble()) / 2,
                        (m.captured(4).toDouble() + m.captured(6).toDouble()) / 2);
        const double side = grid.width() / 15;
        int n = 0;
        if (grid.contains(c)) n = int((c.y() - grid.top()) / side) * 15 + int((c.x() - grid.left()) / side) + 1;
        pages.back().push_back({m.captured(7), n});
    }
    return pages;
}

// A grid saved opens again as one undoable step, in the open dialog from
// the folder last used; over a grid that holds anything only on Yes.
TEST_F(Sim, SavedGridOpensAgainAsOneUndoableStepAndOverAGridOnlyOnYes) {
    evening::Compose(doc());
    const sim::Grid saved = doc().squares();
    save("evening.ipuz");
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    EXPECT_EQ(f().GridFile(), file("evening.ipuz"));
    f().fyll_velmora1("LARGO", 5, 1, true);
    const sim::Grid changed = doc().squares();
    boxes.answer(ui::Answer::No);
    open("evening.ipuz");
    EXPECT_EQ(boxes.prompts(),
              QStringList("Do you really want to replace this grid with the one in " + file("evening.ipuz") + "?"));
    EXPECT_TRUE(doc().squares() == changed);
    boxes.answer(ui::Answer::Yes);
    open("evening.ipuz");
    EXPECT_TRUE(doc().squares() == saved);
    EXPECT_EQ(firstMisshown(), 0);
    f().Angre();
    EXPECT_TRUE(doc().squares() == changed);
    // An empty grid is replaced without a question.
    f().M_TomRutenett_Click();
    boxes.clear();
    open("evening.ipuz");
    EXPECT_TRUE(boxes.calls().empty() && doc().squares() == saved);
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_TRUE(dialogs[0].kind == ui::FileDialogKind::Save && dialogs[1].kind == ui::FileDialogKind::Open);
    EXPECT_EQ(QDir(dialogs[1].folder), QDir(QString::fromStdString(db.dir().string())));
}

TEST_F(Sim, RefusedFilesAndFailedSavesSayWhyAndChangeNothing) {
    evening::Compose(doc());
    remember();
    writeFile(file("bad.ipuz").toStdString(), "{\"version\": ");
    open("bad.ipuz");
    EXPECT_TRUE(unchanged());
    ASSERT_EQ(boxes.calls().size(), 1u) << "refused without a question";
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The grid in " + file("bad.ipuz") +
                                              " could not be opened, so the grid is as it was:\n"))
        << boxes.lastPrompt().toStdString();
    // A file that cannot be made, and one there already that cannot be replaced.
    ASSERT_TRUE(QDir(file("")).mkdir("folder.ipuz"));
    const QStringList says{", and no file was made there:\n", ", so that file is as it was:\n"};
    for (const QString& name : {QString("no such folder/grid.ipuz"), QString("folder.ipuz")}) {
        boxes.clear();
        save(name);
        EXPECT_TRUE(
            boxes.calls().size() == 1u &&
            boxes.lastPrompt().startsWith("The grid could not be saved to " + file(name) + says[name == "folder.ipuz"]))
            << boxes.lastPrompt().toStdString();
    }
    EXPECT_EQ(f().GridFile(), "");
}

// ---------------------------------------------------------------- keys and menu

// Each dialog from its key and from the menu; cancelled, it does nothing.
TEST_F(Sim, CtrlKeysAndTheMenuOpenTheirDialogsAndCancelDoesNothing) {
    evening::Compose(doc());
    remember();
    int printed = 0;
    ui::setPrintDialogHandler([&](QPrinter&) {
        ++printed;
        return false;
    });
    for (const auto& [k, entry] : {std::pair{Qt::Key_S, "Save grid as"},
                                   {Qt::Key_O, "Open grid"},
                                   {Qt::Key_E, "Export as PDF"},
                                   {Qt::Key_P, "Print"}}) {
        key(k);
        menu(7, entry + QString("\u2026"));
    }
    EXPECT_EQ(printed, 2);
    QStringList shown;
    for (const ui::FileDialogCall& c : dialogs) shown << c.caption;
    EXPECT_EQ(shown, QStringList(
                         {"Save grid as", "Save grid as", "Open grid", "Open grid", "Export as PDF", "Export as PDF"}));
    EXPECT_TRUE(unchanged() && boxes.calls().empty());
    EXPECT_TRUE(QDir(QString::fromStdString(db.dir().string())).entryList({"*.ipuz", "*.pdf"}).isEmpty());
}

// ---------------------------------------------------------------- paper

// The first page, headed by the title, shows the clue words in their clue
// squares and no answer letter; the second shows every letter in its own square.
void expectPages(const QString& pdf, const sim::Grid& g, const QString& title) {
    const auto pages = pdfWords(pdf);
    ASSERT_TRUE(pages.size() == 2u && !pages[0].empty());
    EXPECT_EQ(pages[0].front().text, title);
    QStringList clues;  // every word printed in the grid, so no answer letter either
    for (const Word& w : pages[0])
        if (w.square) clues << QString("%1:%2").arg(w.square).arg(w.text);
    EXPECT_EQ(clues, QStringList({"1:BIG", "1:OCEAN", "20:RODENT", "34:CARPET", "48:EXIST"}));

    std::map<int, QString> letters;
    for (const Word& w : pages[1])
        if (w.square && g[size_t(w.square)].ord1.isEmpty() && g[size_t(w.square)].ord2.isEmpty())
            letters[w.square] += w.text;
    std::map<int, QString> want;
    for (int n = 1; n <= g.count(); ++n)
        if (!g[size_t(n)].caption.isEmpty() && !g[size_t(n)].isMark()) want[n] = g[size_t(n)].caption;
    EXPECT_EQ(letters, want);
}

// Print and Export as PDF give the same pages, headed by the grid file's
// name, or by the program's for a grid of no file (a cleared grid is none's).
TEST_F(Sim, PrintAndPdfHaveThePuzzleThenTheSolutionUnderTheGridsTitle) {
    evening::Compose(doc());
    save("evening.ipuz");
    pick = file("evening.pdf");
    f().M_EksporterPdf_Click();
    menu(7, "Clear grid");
    key(Qt::Key_Z);
    printTo = file("printed.pdf");
    f().M_SkrivUt_Click();
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    expectPages(pick, doc().squares(), "evening");
    expectPages(printTo, doc().squares(), "Velmora");
}

// A count without a clue word shows on its square, across and down, and
// goes with the count; the square itself stays as the dialog left it. Its
// clue square prints shaded, with its arrow into the answer's first square,
// as a clue square does; a square no answer uses is dark.
TEST_F(Sim, OpenAnswersShowTheirCountAndDirectionAndPrintAsClueSquares) {
    setSquare(20, "", 3, "", 0);
    setSquare(64, "", 0, "", 4);
    setSquare(100, "", 2, "", 5);
    setSquare(130, "alone", 3, "", 6);  // a clue word across, open down
    const auto openMarks = [] {
        QString s;
        for (int n = 1; n <= doc().size(); ++n)
            if (!f().OpenMark(n).isEmpty()) s += QString("%1:%2 ").arg(n).arg(f().OpenMark(n));
        return s;
    };
    EXPECT_EQ(openMarks(), "20:3\u2192 64:4\u2193 100:2\u2192 5\u2193 130:6\u2193 ");
    EXPECT_EQ(run(20, 20) + run(64, 64) + run(100, 100) + run(130, 130), "...X");
    // Drawn in the clue squares' orange over a plain square.
    EXPECT_EQ(f().X(64).button()->grab().toImage().pixelColor(4, 4), sim::kClueColour);
    pick = file("open.pdf");
    f().M_EksporterPdf_Click();
    QProcess p;
    p.start("pdftoppm", {"-r", "144", "-gray", "-singlefile", "-f", "1", "-l", "1", pick, file("open")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QImage page(file("open.pgm"));
    ASSERT_FALSE(page.isNull());
    const double margin = sim::print::kMarginMm / 25.4 * 144;
    const QRectF grid =
        sim::print::GridRect(QRectF(margin, margin, page.width() - 2 * margin, page.height() - 2 * margin));
    const double side = grid.width() / 15;
    const auto grey = [&](int n, double dx, double dy) {      // at (dx, dy) of square n's side from its top left
        const int row = (n - 1) / 15, column = (n - 1) % 15;  // from 0
        return qGray(page.pixel(int(grid.left() + side * (column + dx)), int(grid.top() + side * (row + dy))));
    };
    for (int n : {20, 64}) EXPECT_GT(grey(n, 0.5, 0.5), 200) << n;
    EXPECT_LT(grey(200, 0.5, 0.5), 180);
    EXPECT_LT(grey(21, 0.06, 0.5), 100);  // the arrow across
    EXPECT_LT(grey(79, 0.5, 0.06), 100);  // the arrow down
    key(Qt::Key_Z);                       // the last dialog
    menu(20, "Clear square");
    EXPECT_EQ(openMarks(), "64:4\u2193 100:2\u2192 5\u2193 ");
}

}  // namespace
