// The command-line export: no window, no word database, only the grid file
// read and checked as Open grid… reads it, and the pages Export as PDF…
// writes.
#include "simulator/pdfcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include "grid/gridprint.h"
#include "grid/ipuz.h"

namespace sim {

int PdfCommand(int& argc, char** argv, const QString& in, const QStringList& rest) {
    QTextStream err(stderr);
    if (rest.size() != 1) {
        err << "velmora: --pdf needs the grid file and the PDF file to write\n"
            << "Usage: velmora --pdf GRID.ipuz OUT.pdf\n";
        return 1;
    }
    const QString out = rest.first();
    // No display is needed to paint a PDF.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const ipuz::Loaded loaded = ipuz::ReadFile(in);
    if (!loaded.grid) {
        err << "velmora: the grid in " << QDir::toNativeSeparators(in) << " could not be opened:\n"
            << loaded.error << "\n";
        return 1;
    }
    QString error;
    if (!print::WritePdf(out, *loaded.grid, QFileInfo(in).completeBaseName(), &error)) {
        err << "velmora: the PDF could not be written to " << QDir::toNativeSeparators(out) << ":\n" << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace sim
