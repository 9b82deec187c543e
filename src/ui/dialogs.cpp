// Qt's file and print dialogs, shown modal over the window that asks, or
// answered by a test through the handlers.
#include "ui/dialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace ui {

namespace {
std::function<QString(const FileDialogCall&)> fileDialogHandler;
std::function<bool(QPrinter&)> printDialogHandler;
}  // namespace

QString FileDialog(QWidget* parent, FileDialogKind kind, const QString& caption, const QString& folder,
                   const QString& filter, const QString& suffix) {
    if (fileDialogHandler) return fileDialogHandler({kind, caption, folder, filter});
    QFileDialog dlg(parent, caption, folder, filter);
    if (kind == FileDialogKind::Save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(suffix);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

void setFileDialogHandler(std::function<QString(const FileDialogCall&)> handler) {
    fileDialogHandler = std::move(handler);
}

bool PrintDialog(QWidget* parent, QPrinter& printer) {
    if (printDialogHandler) return printDialogHandler(printer);
    QPrintDialog dlg(&printer, parent);
    return dlg.exec() == QDialog::Accepted;
}

void setPrintDialogHandler(std::function<bool(QPrinter&)> handler) { printDialogHandler = std::move(handler); }

}  // namespace ui
