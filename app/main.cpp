// Velmora: looks words up in the word database velmora.mdb of the current
// folder, edits it, and simulates a puzzle grid.
#include <QApplication>

#include "lookup/Velmora.h"
#include "shared/M.h"
#include "simulator/pdfcommand.h"

int main(int argc, char** argv) {
    if (const auto status = sim::PdfCommand(argc, argv)) return *status;
    QApplication app(argc, argv);
    ui::setUpApplication();
    // Loading the main window runs its start-up, which reads the word
    // database; a database that cannot be read ends the program there with a
    // message naming the file and the error.
    Velmora& main = M::Velmora();
    main.Show();
    main.T_Ord.SetFocus();
    return app.exec();
}
