// Velmora: looks words up in the word database velmora.mdb of the current
// folder, edits it, and simulates a puzzle grid.
#include <QApplication>
#include <QTimer>

#include "lookup/Velmora.h"
#include "shared/M.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::setUpApplication();
    // Loading the main window runs its start-up, which reads the word
    // database; a database that cannot be read ends the program there with a
    // message naming the file and the error.
    Velmora& main = M::Velmora();
    main.Show();
    main.T_Ord.SetFocus();
    // The words for pattern lookups are read while the user looks at the
    // window, on a thread of their own, so "?" finds them ready.
    QTimer::singleShot(0, [] { M::DBEngine().Words().Preload(store::kDatabaseFile); });
    return app.exec();
}
