// Keeping a grid from the simulator window: saved as ipuz and opened again
// as one undoable step, a question before a grid is replaced, refusals and
// failures said, the keys and the right-click menu, the PDF and print
// pages' title, and an open answer's mark on the screen. (What the files
// and the pages hold: tests/grid.)
#include <QProcess>

#include "simulator.h"

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A grid saved opens again as one undoable step, in the open dialog from
// the folder last used; over a grid that holds anything only on Yes. Then
// it prints.
TEST_F(Sim, SavedGridOpensAgainAsOneUndoableStepAndOverAGridOnlyOnYesAndPrints) {
    evening::Compose(doc());
    const sim::Grid saved = doc().squares();
    save("evening.ipuz");
    ASSERT_TRUE(boxes.calls().empty() && f().GridFile() == file("evening.ipuz")) << boxes.lastPrompt().toStdString();
    f().fyll_velmora1("LARGO", 5, 1, true);
    const sim::Grid changed = doc().squares();
    boxes.answer(ui::Answer::No);
    open("evening.ipuz");
    EXPECT_EQ(boxes.prompts(),
              QStringList("Do you really want to replace this grid with the one in " + file("evening.ipuz") + "?"));
    EXPECT_TRUE(doc().squares() == changed);
    boxes.answer(ui::Answer::Yes);
    open("evening.ipuz");
    EXPECT_TRUE(doc().squares() == saved && firstMisshown() == 0);
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

    // Print and Export as PDF paint the grid, headed by the grid file's
    // name, or by the program's for a grid of no file (a cleared grid is none's).
    pick = file("evening.pdf");
    f().M_EksporterPdf_Click();
    menu(7, "Clear grid");
    key(Qt::Key_Z);
    printTo = file("printed.pdf");
    f().M_SkrivUt_Click();
    ASSERT_TRUE(boxes.calls().empty()) << boxes.lastPrompt().toStdString();
    const QString pdf = pdfText(pick);
    EXPECT_TRUE(pdf.startsWith("evening\n") && pdf.contains("RODENT")) << pdf.toStdString();
    EXPECT_EQ(pdfText(printTo), QString(pdf).replace("evening", "Velmora"));
}

// ---------------------------------------------------------------- keys and menu

// Each dialog from its key and from the menu; cancelled, it does nothing.
TEST_F(Sim, CtrlKeysAndTheMenuOpenTheirDialogsAndCancelRefusalAndFailureChangeNothing) {
    evening::Compose(doc());
    remember();
    for (const auto& [k, entry] : {std::pair{Qt::Key_S, "Save grid as"},
                                   {Qt::Key_O, "Open grid"},
                                   {Qt::Key_E, "Export as PDF"},
                                   {Qt::Key_P, "Print"}}) {
        key(k);
        menu(7, entry + QString("\u2026"));
    }
    EXPECT_EQ(printDialogs, 2);
    QStringList shown;
    for (const ui::FileDialogCall& c : dialogs) shown << c.caption;
    EXPECT_EQ(shown, QStringList(
                         {"Save grid as", "Save grid as", "Open grid", "Open grid", "Export as PDF", "Export as PDF"}));
    EXPECT_TRUE(unchanged() && boxes.calls().empty());
    EXPECT_TRUE(QDir(QString::fromStdString(db.dir().string())).entryList({"*.ipuz", "*.pdf"}).isEmpty());

    // A file refused, one that cannot be made, and one there already that
    // cannot be replaced: each said, and nothing changed.
    writeFile(file("bad.ipuz").toStdString(), "{\"version\": ");
    open("bad.ipuz");
    ASSERT_TRUE(unchanged() && boxes.calls().size() == 1u) << "refused without a question";
    EXPECT_TRUE(boxes.lastPrompt().startsWith("The grid in " + file("bad.ipuz") +
                                              " could not be opened, so the grid is as it was:\n"))
        << boxes.lastPrompt().toStdString();
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

// A count without a clue word shows on its square, across and down, and
// goes with the count; the square itself stays as the dialog left it.
TEST_F(Sim, OpenAnswersShowTheirCountAndDirection) {
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
    key(Qt::Key_Z);  // the last dialog
    menu(20, "Clear square");
    EXPECT_EQ(openMarks(), "64:4\u2193 100:2\u2192 5\u2193 ");
}

}  // namespace
