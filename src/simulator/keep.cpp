// Keeping a grid beyond the life of the process: Save grid as… writes it to
// an ipuz file, Open grid… replaces it by a saved one as one undoable step,
// Export as PDF… and Print… put it on paper. The folder last used for grids
// is remembered between runs.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPageLayout>
#include <QPrinter>
#include <QSettings>

#include "grid/gridprint.h"
#include "grid/ipuz.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "ui/dialogs.h"

namespace {

const QString kFolderKey = QStringLiteral("simulator/gridFolder");

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Whether any square shows or holds something.
bool holdsAnything(const sim::Grid& g) {
    for (const sim::Square& s : g)
        if (!s.caption.isEmpty() || s.back || !s.ord1.isEmpty() || !s.ord2.isEmpty() || s.lengde1 || s.lengde2)
            return true;
    return false;
}

}  // namespace

void F_Ruter::setUpKeeping() {
    M_Rutenett->addSeparator();
    const auto entry = [this](const QString& caption, Qt::Key key, void (F_Ruter::*handler)()) {
        QAction* a = M_Rutenett->addAction(caption);
        a->setShortcut(QKeySequence(Qt::CTRL | key));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setShortcutVisibleInContextMenu(true);
        // On the window too, so that the keys work while the menu is closed.
        addAction(a);
        QObject::connect(a, &QAction::triggered, this,
                         [this, handler] { ui::run([this, handler] { (this->*handler)(); }); });
        return a;
    };
    M_LagreRutenett = entry("Save grid as\u2026", Qt::Key_S, &F_Ruter::M_LagreRutenett_Click);
    M_AapneRutenett = entry("Open grid\u2026", Qt::Key_O, &F_Ruter::M_AapneRutenett_Click);
    M_EksporterPdf = entry("Export as PDF\u2026", Qt::Key_E, &F_Ruter::M_EksporterPdf_Click);
    M_SkrivUt = entry("Print\u2026", Qt::Key_P, &F_Ruter::M_SkrivUt_Click);
}

QString F_Ruter::GridFolder() {
    const QString folder = QSettings("Velmora", "Velmora").value(kFolderKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath();
}

void F_Ruter::setGridFolder(const QString& folder) { QSettings("Velmora", "Velmora").setValue(kFolderKey, folder); }

QString F_Ruter::printTitle() const {
    return gridFile_.isEmpty() ? QStringLiteral("Velmora") : QFileInfo(gridFile_).completeBaseName();
}

void F_Ruter::M_LagreRutenett_Click() {
    const QString start = gridFile_.isEmpty() ? GridFolder() : gridFile_;
    const QString path =
        ui::FileDialog(this, ui::FileDialogKind::Save, "Save grid as", start, "Grids (*.ipuz)", "ipuz");
    if (path.isEmpty()) return;
    setGridFolder(QFileInfo(path).absolutePath());
    QString error;
    const bool existed = QFileInfo::exists(path);
    if (!sim::ipuz::WriteFile(path, M::Rutenett.squares(), kept_, &error)) {
        ui::MsgBox(QString(existed ? "The grid could not be saved to %1, so that file is as it was:\n%2"
                                   : "The grid could not be saved to %1, and no file was made there:\n%2")
                       .arg(shown(path), error),
                   ui::Buttons::OK, "Velmora");
        return;
    }
    gridFile_ = path;
}

void F_Ruter::M_AapneRutenett_Click() {
    const QString path = ui::FileDialog(this, ui::FileDialogKind::Open, "Open grid", GridFolder(),
                                        "Grids (*.ipuz);;All files (*)", "ipuz");
    if (path.isEmpty()) return;
    setGridFolder(QFileInfo(path).absolutePath());
    // The file is read and checked whole before anything is asked or shown.
    // Only a grid of the size the window shows.
    const sim::ipuz::Loaded loaded = sim::ipuz::ReadFile(path, M::Rutenett.geometry());
    if (!loaded.grid) {
        ui::MsgBox(
            QString("The grid in %1 could not be opened, so the grid is as it was:\n%2").arg(shown(path), loaded.error),
            ui::Buttons::OK, "Velmora");
        return;
    }
    if (holdsAnything(M::Rutenett.squares()) &&
        ui::MsgBox("Do you really want to replace this grid with the one in " + shown(path) + "?", ui::Buttons::YesNo,
                   "Velmora") != ui::Answer::Yes)
        return;
    M::Rutenett.setSquares(*loaded.grid);
    kept_ = loaded.kept;
    gridFile_ = path;
}

void F_Ruter::M_EksporterPdf_Click() {
    const QString start =
        gridFile_.isEmpty() ? GridFolder() : QFileInfo(gridFile_).absolutePath() + "/" + printTitle() + ".pdf";
    const QString path =
        ui::FileDialog(this, ui::FileDialogKind::Save, "Export as PDF", start, "PDF files (*.pdf)", "pdf");
    if (path.isEmpty()) return;
    setGridFolder(QFileInfo(path).absolutePath());
    QString error;
    if (!sim::print::WritePdf(path, M::Rutenett.squares(), printTitle(), &error))
        ui::MsgBox(QString("The PDF could not be written to %1:\n%2").arg(shown(path), error), ui::Buttons::OK,
                   "Velmora");
}

void F_Ruter::M_SkrivUt_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(sim::print::kMarginMm, sim::print::kMarginMm, sim::print::kMarginMm, sim::print::kMarginMm),
        QPageLayout::Millimeter));
    printer.setDocName(printTitle());
    if (!ui::PrintDialog(this, printer)) return;
    if (!sim::print::Paint(printer, M::Rutenett.squares(), printTitle()))
        ui::MsgBox("The grid could not be printed: the printer cannot be used.", ui::Buttons::OK, "Velmora");
}
