// The command-line export: no window, no word database, only the grid file
// read and checked as Open grid… reads it, and the pages Export as PDF…
// writes.
#include "pdfcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <filesystem>

#include "grid/gridprint.h"
#include "grid/ipuz.h"
#include "store/shown.h"

namespace app {

namespace {

// A path as the terminal shows it: a name may hold control characters.
QString shown(const QString& path) {
    return QString::fromStdString(store::Shown(QDir::toNativeSeparators(path).toStdString(), 1000));
}

// Why `out` may not take the PDF, or "" when it may: only a new name or a
// regular file that is not the grid itself, through whatever links.
QString refusal(const QString& in, const QString& out) {
    namespace fs = std::filesystem;
    if (out.endsWith(".ipuz", Qt::CaseInsensitive)) return "it is named as a grid file (.ipuz), not as a PDF";
    const fs::path o(QFile::encodeName(out).toStdString());
    std::error_code ec;
    const fs::file_status st = fs::status(o, ec);
    if (!fs::exists(st)) return {};
    if (!fs::is_regular_file(st)) return "it is not a regular file";
    if (fs::equivalent(fs::path(QFile::encodeName(in).toStdString()), o, ec)) return "it is the grid file itself";
    return {};
}

}  // namespace

int PdfCommand(int& argc, char** argv, const QString& in, const QStringList& rest) {
    QTextStream err(stderr);
    if (rest.size() != 1) {
        err << "velmora: --pdf needs the grid file and the PDF file to write\n"
            << "Usage: velmora --pdf GRID.ipuz OUT.pdf\n";
        return 1;
    }
    const QString& out = rest.first();
    if (const QString why = refusal(in, out); !why.isEmpty()) {
        err << "velmora: the PDF is not written to " << shown(out) << ": " << why << "\n";
        return 1;
    }
    // No display is needed to paint a PDF.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const sim::ipuz::Loaded loaded = sim::ipuz::ReadFile(in);
    if (!loaded.grid) {
        err << "velmora: the grid in " << shown(in) << " could not be opened:\n" << loaded.error << "\n";
        return 1;
    }
    QString error;
    if (!sim::print::WritePdf(out, *loaded.grid, QFileInfo(in).completeBaseName(), &error)) {
        err << "velmora: the PDF could not be written to " << shown(out) << ":\n" << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace app
