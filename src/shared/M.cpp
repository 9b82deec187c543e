#include "shared/M.h"

#include <QCoreApplication>

namespace M {

namespace {
std::array<ui::Form*, static_cast<size_t>(Win::Count)> windowSlots{};
std::unique_ptr<store::DBEngine> engine;
std::string server;
}  // namespace

QString SokModus;
Squares<QString> RuteOrd1;
Squares<QString> RuteOrd2;
Squares<int16_t> RuteLengde1{};
Squares<int16_t> RuteLengde2{};
Squares<int16_t> RuteRetning1{};
Squares<int16_t> RuteRetning2{};
int16_t AktivRute = 0;
int16_t ValgtRute = 0;

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

void InitialiseSquare(int n) {
    RuteRetning1[n] = 2;
    RuteRetning2[n] = 8;
    RuteLengde1[n] = 0;
    RuteLengde2[n] = 0;
    RuteOrd1[n] = "";
    RuteOrd2[n] = "";
}

void ClearSquare(int n) {
    RuteOrd1[n] = "";
    RuteLengde1[n] = 0;
    RuteOrd2[n] = "";
    RuteLengde2[n] = 0;
}

int Step(int n, int direction, int k) { return direction == 8 ? n + kColumns * k : n + k; }

void ResetAll() {
    // Windows first: their destructors may still look at the shared state.
    for (auto w : {Win::F_Intro, Win::F_Hjelp, Win::Resultat, Win::F_Egenskaper, Win::F_Ruter, Win::Velmora}) {
        if (ui::Form* f = slot(w)) {
            slot(w) = nullptr;
            f->onUnload = nullptr;
            delete f;
        }
    }
    engine.reset();
    server.clear();
    SokModus.clear();
    for (int n = 0; n <= kSquares; ++n) {
        RuteOrd1[n].clear();
        RuteOrd2[n].clear();
        RuteLengde1[n] = RuteLengde2[n] = RuteRetning1[n] = RuteRetning2[n] = 0;
    }
    AktivRute = ValgtRute = 0;
}

}  // namespace M
