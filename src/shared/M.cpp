#include "shared/M.h"

#include <QCoreApplication>
#include <array>

namespace M {

namespace {
std::array<ui::Form*, static_cast<size_t>(Win::Count)> windowSlots{};
std::unique_ptr<store::DBEngine> engine;
std::string server;
}  // namespace

QString SokModus;
sim::Document Rutenett;

ui::Form*& slot(Win w) { return windowSlots[static_cast<size_t>(w)]; }

bool Loaded(Win w) { return slot(w) != nullptr; }

void Unload(Win w) {
    if (ui::Form* f = slot(w)) f->Unload();
}

ui::Form& form(Win w) { return *slot(w); }

store::DBEngine& DBEngine() {
    if (!engine) engine = std::make_unique<store::DBEngine>(server);
    return *engine;
}

store::Database OpenDatabase() { return DBEngine().OpenDatabase(store::kDatabaseFile); }

void UseServer(const std::string& conninfo) {
    server = conninfo;
    engine.reset();
}

void ResetAll() {
    // Windows first: their destructors may still look at the shared state.
    for (auto w : {Win::F_Passer, Win::F_FinnOrd, Win::F_Intro, Win::F_Hjelp, Win::Resultat, Win::F_Egenskaper,
                   Win::F_Ruter, Win::Velmora}) {
        if (ui::Form* f = slot(w)) {
            slot(w) = nullptr;
            f->onUnload = nullptr;
            delete f;
        }
    }
    engine.reset();
    server.clear();
    SokModus.clear();
    Rutenett.reset();
}

}  // namespace M
