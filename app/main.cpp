// Velmora: looks words up in the word database velmora.mdb of the current
// folder, edits it, and simulates a puzzle grid. Started from the
// applications menu (--user-data), the word database is the user's own in
// their data folder. With --pdf it writes a saved grid as a PDF, without a
// window. With --database URL the word database is on a PostgreSQL server
// (postgresql://user@host/dbname, or a libpq connection string; the password
// comes from ~/.pgpass or PGPASSWORD, never from the command line). The
// simulator's grid is kept in the user's state folder and comes back at the
// next start.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>

#include "generatecommand.h"
#include "lookup/Velmora.h"
#include "pdfcommand.h"
#include "recovery.h"
#include "shared/M.h"
#include "store/parts.h"
#include "userdata.h"

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("velmora");
    QCoreApplication::setApplicationVersion(VELMORA_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Looks words up in a word database, keeps it, and simulates an arrow-word grid.\n"
        "Without options it works on velmora.mdb in the current folder.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption userData("user-data",
                                      QString("Work on your own word database in %1, made on the first start from the "
                                              "installed word lists (as the applications menu starts Velmora).")
                                          .arg(app::userDataFolder()));
    parser.addOption(userData);
    const QCommandLineOption database(
        "database",
        "Work on the word database on a PostgreSQL server that URL names (postgresql://user@host/dbname); "
        "the password comes from ~/.pgpass or PGPASSWORD.",
        "URL");
    parser.addOption(database);
    const QCommandLineOption pdf("pdf",
                                 "Write the grid saved in GRID.ipuz to OUT.pdf, the puzzle and then its solution, "
                                 "without a window: velmora --pdf GRID.ipuz OUT.pdf",
                                 "GRID.ipuz");
    parser.addOption(pdf);
    const QCommandLineOption generate("generate",
                                      "Make a whole puzzle from the word database and write it to OUT.ipuz, without "
                                      "a window; the same seed and word database make the same puzzle.",
                                      "OUT.ipuz");
    parser.addOption(generate);
    const QCommandLineOption seed("seed", "The seed of --generate (a whole number; 1 when not given).", "N");
    parser.addOption(seed);
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    // Help, version and refusals need no display, so they are answered
    // before the window system is opened.
    const bool parsed = parser.parse(args);
    // The help option brings --help-all along, which shows Qt's own options too.
    if (!parsed || parser.isSet(help) || parser.isSet("help-all") || parser.isSet(version)) {
        QCoreApplication core(argc, argv);
        parser.process(core);  // prints the answer or the error and ends the process
        return 1;
    }
    if (parser.isSet(userData) && parser.isSet(database)) {
        std::fprintf(stderr, "velmora: --user-data and --database name two word databases; give one\n");
        return 1;
    }
    if (parser.isSet(pdf) && (parser.isSet(database) || parser.isSet(userData))) {
        std::fprintf(stderr, "velmora: --pdf uses no word database; leave out --%s\n",
                     parser.isSet(database) ? "database" : "user-data");
        return 1;
    }
    if (parser.isSet(generate)) {
        bool number = true;
        const qulonglong n = parser.isSet(seed) ? parser.value(seed).toULongLong(&number) : 1;
        if (!number || !parser.positionalArguments().isEmpty() || parser.isSet(pdf) || parser.isSet(userData)) {
            std::fprintf(stderr,
                         "velmora: --generate takes OUT.ipuz, a whole number with --seed, and --database URL "
                         "only\nUsage: velmora --generate OUT.ipuz [--seed N] [--database URL]\n");
            return 1;
        }
        QCoreApplication core(argc, argv);
        return app::GenerateCommand(parser.value(generate), n, parser.value(database));
    }
    if (parser.isSet(seed)) {
        std::fprintf(stderr, "velmora: --seed belongs to --generate\n");
        return 1;
    }
    if (parser.isSet(pdf)) return app::PdfCommand(argc, argv, parser.value(pdf), parser.positionalArguments());
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "velmora: unexpected argument '%s'\nTry 'velmora --help' for more information.\n",
                     qPrintable(parser.positionalArguments().first()));
        return 1;
    }

    QApplication app(argc, argv);
    ui::setUpApplication();
    if (parser.isSet(userData) && !app::openUserData()) return 1;
    if (parser.isSet(database)) M::UseServer(parser.value(database).toStdString());
    // Loading the main window runs its start-up, which reads the word
    // database; a database that cannot be read ends the program there with a
    // message naming the file (or the server's database) and the error.
    // Half-built word databases of killed velmora-mkdb runs are only litter.
    store::RemoveDeadParts(".", store::kDatabaseFile);
    Velmora& main = M::Velmora();
    main.Show();
    // The grid comes back only once the word database has opened, and is
    // kept from then on, also through Exit, a kill or a database error.
    const auto keeper = app::keepGrid();
    main.T_Ord.SetFocus();
    // The words for pattern lookups are read while the user looks at the
    // window, on a thread of their own, so "?" finds them ready.
    // (A server answers them from its own index.)
    if (!M::DBEngine().onServer()) QTimer::singleShot(0, [] { M::DBEngine().Words().Preload(store::kDatabaseFile); });
    return app.exec();
}
