// Velmora: looks words up in the word database velmora.mdb of the current
// folder, edits it, and simulates a puzzle grid.
//
//   velmora                    works on velmora.mdb in the current folder
//   velmora --database URL     works on a database on a PostgreSQL server
//                              (postgresql://user@host/dbname, or a libpq
//                              connection string; the password comes from
//                              ~/.pgpass or PGPASSWORD, never from here)
#include <QApplication>
#include <cstdio>
#include <string>

#include "lookup/Velmora.h"
#include "shared/M.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::setUpApplication();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--database" && i + 1 < argc) {
            M::UseServer(argv[++i]);
        } else if (arg.rfind("--database=", 0) == 0) {
            M::UseServer(arg.substr(11));
        } else {
            std::fprintf(stderr, "usage: velmora [--database URL]\n");
            return 2;
        }
    }
    // Loading the main window runs its start-up, which reads the word
    // database; a database that cannot be read ends the program there with a
    // message naming the file (or the server's database) and the error.
    Velmora& main = M::Velmora();
    main.Show();
    main.T_Ord.SetFocus();
    return app.exec();
}
