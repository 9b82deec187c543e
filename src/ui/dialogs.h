// The system's file and print dialogs, each behind a seam: the windows ask
// here for a file to open or save and for a printer, and tests answer in
// place of the user, so that no test ever waits on a modal dialog.
#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace ui {

enum class FileDialogKind { Open, Save };

struct FileDialogCall {
    FileDialogKind kind;
    QString caption;
    QString folder;  // where the dialog starts
    QString filter;  // "Grids (*.ipuz)"
};

// The file the user picked, or "" when the dialog was cancelled. A save
// dialog adds `suffix` to a name typed without one and asks before it
// replaces a file.
QString FileDialog(QWidget* parent, FileDialogKind kind, const QString& caption, const QString& folder,
                   const QString& filter, const QString& suffix);
// Tests pick the file here; nullptr restores the real dialogs.
void setFileDialogHandler(std::function<QString(const FileDialogCall&)> handler);

// The system's print dialog for `printer`: true when the user chose to print.
bool PrintDialog(QWidget* parent, QPrinter& printer);
// Tests stand in for the user here (they may set up the printer, for
// example to print into a PDF file); nullptr restores the real dialog.
void setPrintDialogHandler(std::function<bool(QPrinter&)> handler);

}  // namespace ui
