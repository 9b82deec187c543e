// "New puzzle…" in the simulator window: a grid that holds anything is
// replaced only when the user says so (keeping what they made when they
// tick it); the word data is read and the puzzle made under a progress
// window with Cancel, and the result shown as one undoable step.
#include <QRandomGenerator>
#include <exception>
#include <optional>

#include "grid/generate.h"
#include "grid/genwords.h"
#include "shared/M.h"
#include "simulator/F_Ruter.h"
#include "ui/progress.h"

namespace {

bool holdsAnything(const sim::Grid& g) {
    for (int n = 1; n <= M::Rutenett.size(); ++n) {
        const sim::Square& sq = g[size_t(n)];
        if (!sq.caption.isEmpty() || !sq.ord1.isEmpty() || !sq.ord2.isEmpty() || sq.lengde1 || sq.lengde2) return true;
    }
    return false;
}

}  // namespace

void F_Ruter::M_NyttKryss_Click() {
    if (M::Rutenett.editing()) return;  // not while another change is under way
    const sim::Grid before = M::Rutenett.squares();
    bool keep = false;
    if (holdsAnything(before) &&
        ui::MsgBox("Replace the grid with a new puzzle? What is in it now goes, unless you keep what you made: its "
                   "clue squares, clue words and picked answers.",
                   "Keep what I made", keep, ui::Buttons::YesNo, "Velmora") != ui::Answer::Yes)
        return;
    std::optional<store::Database> db;
    QString readError;
    try {
        db.emplace(M::OpenDatabase());
    } catch (const std::exception& e) {
        readError = QString::fromStdString(e.what());
    }
    sim::gen::Made made;
    const uint64_t seed = QRandomGenerator::global()->generate64();
    const bool finished = ui::RunWithProgress(
        "Making a new puzzle…",
        [&](ui::Task& task) {
            task.setText("Reading the word database");
            if (!db) return;
            sim::gen::WordData words;
            try {
                words = sim::gen::ReadWordData(*db);
            } catch (const std::exception& e) {
                readError = QString::fromStdString(e.what());
                return;
            }
            if (task.cancelled()) return;
            sim::gen::Options options;
            options.seed = seed;
            options.keep = keep;
            made = sim::gen::Generate(before, words, options, [&](int done, int) {
                task.setText(QString("%1 % of the answers placed in the layout being tried").arg(done));
                return !task.cancelled();
            });
        },
        500);
    db.reset();
    // Cancel keeps the grid as it was.
    if (!finished || made.cancelled) return;
    if (!readError.isEmpty()) {
        ui::MsgBox("The word database could not be read: " + readError, ui::Buttons::OK, "Velmora");
        return;
    }
    if (!made.ok) {
        ui::MsgBox(made.error, ui::Buttons::OK, "Velmora");
        return;
    }
    M::Rutenett.setSquares(made.grid);
    if (!made.open.isEmpty())
        ui::MsgBox(QString("%1 answers have no clue word in the word database and stay open answers: %2.")
                       .arg(made.open.size())
                       .arg(made.open.join(", ")),
                   ui::Buttons::OK, "Velmora");
}
