// Velmora: looks words up in the word database velmora.mdb of the current
// folder, edits it, and simulates a puzzle grid.
#include <QApplication>

#include "lookup/Velmora.h"
#include "shared/M.h"
#include "store/shown.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::setUpApplication();
    // Loading the main window runs its start-up, which reads the word
    // database; a database that cannot be read ends the program there with a
    // message naming the file and the error.
    // Half-built word databases of killed velmora-mkdb runs are only litter.
    store::RemoveDeadParts(".");
    Velmora& main = M::Velmora();
    main.Show();
    main.T_Ord.SetFocus();
    return app.exec();
}
