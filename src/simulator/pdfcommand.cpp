// The command-line export: no window, no word database, only the grid file
// read and checked as Open grid… reads it, and the pages Export as PDF…
// writes.
#include "simulator/pdfcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cstring>

#include "simulator/gridprint.h"
#include "simulator/ipuz.h"

namespace sim {

std::optional<int> PdfCommand(int& argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--pdf") != 0) return std::nullopt;
    // No display is needed to paint a PDF.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 4) {
        err << "Usage: velmora --pdf GRID.ipuz OUT.pdf\n";
        return 2;
    }
    const QString in = args[2], out = args[3];
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
