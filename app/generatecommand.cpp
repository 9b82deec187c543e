// The command-line puzzle maker: the folder checked before any work, the
// word data read in bulk, the puzzle made and checked against the rules,
// and the file written whole or not at all (the grid file writer renames a
// finished temporary file into place).
#include "generatecommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <exception>

#include "grid/generate.h"
#include "grid/genwords.h"
#include "grid/ipuz.h"
#include "store/shown.h"
#include "store/wordstore.h"

namespace app {

namespace {

QString shown(const QString& path) {
    return QString::fromStdString(store::Shown(QDir::toNativeSeparators(path).toStdString(), 1000));
}

}  // namespace

int GenerateCommand(const QString& out, uint64_t seed, const QString& database) {
    QTextStream err(stderr), say(stdout);
    const QFileInfo target(out);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || (target.exists() && !target.isFile())) {
        err << "velmora: the puzzle cannot be written to " << shown(out) << ": "
            << (!folder.isDir()                       ? "its folder does not exist"
                : target.exists() && !target.isFile() ? "it is not a regular file"
                                                      : "its folder cannot be written")
            << "\n";
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    sim::gen::WordData words;
    try {
        store::DBEngine engine(database.toStdString());
        store::Database db = engine.OpenDatabase();
        words = sim::gen::ReadWordData(db);
    } catch (const std::exception& e) {
        err << "velmora: the word database could not be read: " << e.what() << "\n";
        return 1;
    }
    sim::gen::Options options;
    options.seed = seed;
    const sim::gen::Made made = sim::gen::Generate(sim::Grid{}, words, options);
    if (!made.ok) {
        err << "velmora: " << made.error << "\n";
        return 2;
    }
    // A puzzle that breaks a rule of the form is a fault of the maker; it is
    // not written.
    if (const QStringList broken = sim::gen::BrokenRules(made.grid, &words); !broken.isEmpty()) {
        err << "velmora: the puzzle made breaks the rules of the form:\n" << broken.join("\n") << "\n";
        return 3;
    }
    QString error;
    if (!sim::ipuz::WriteFile(out, made.grid, {}, &error)) {
        err << "velmora: the puzzle could not be written to " << shown(out) << ": " << error << "\n";
        return 1;
    }
    const sim::gen::Figures f = sim::gen::Measure(made.grid);
    const auto percent = [](int part, int whole) {
        return whole ? QString::number(100.0 * part / whole, 'f', 1) : "0";
    };
    say << "Made " << shown(out) << " (seed " << seed << ") in "
        << QString::number(double(clock.elapsed()) / 1000.0, 'f', 2) << " s: " << f.clueSquares << " clue squares ("
        << percent(f.clueSquares, sim::gen::kSquares) << " %), " << f.letterSquares << " letter squares ("
        << percent(f.inAnswer, f.letterSquares) << " % in an answer), " << f.blank << " blank, " << f.answers
        << " answers (" << percent(f.clued, f.answers) << " % with a clue word), " << made.layoutsTried
        << " layouts tried; " << percent(f.inTwo, f.letterSquares)
        << " % of letter squares in an across and a down answer\n";
    if (!made.open.isEmpty()) say << "Open answers (no clue word): " << made.open.join(", ") << "\n";
    return 0;
}

}  // namespace app
