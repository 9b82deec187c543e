// Module M: the state the windows share for the life of the process — the
// window instances (each at most once, loaded on first access), the engine
// object, the pending lookup mode and the grid being composed.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "grid/document.h"
#include "store/wordstore.h"
#include "ui/toolkit.h"

class Velmora;
class Resultat;
class F_Ruter;
class F_Egenskaper;
class F_Intro;
class F_Hjelp;
class F_FinnOrd;
class F_Passer;

namespace M {

enum class Win { Velmora, Resultat, F_Ruter, F_Egenskaper, F_Intro, F_Hjelp, F_FinnOrd, F_Passer, Count };

// The slot of a window: null until the window is first used.
ui::Form*& slot(Win w);
bool Loaded(Win w);
// Destroys a loaded window; the next access loads it afresh.
void Unload(Win w);
// The loaded window in a slot, for the generic operations (Show, Hide).
// Only for windows that are loaded.
ui::Form& form(Win w);

// Creates the window on first access and runs its load handler.
template <class T>
T& load(Win w) {
    ui::Form*& p = slot(w);
    if (!p) {
        T* t = new T;
        p = t;
        t->onUnload = [w] { slot(w) = nullptr; };
        t->load();
    }
    return static_cast<T&>(*p);
}

// Each defined by the subsystem that owns the window.
::Velmora& Velmora();
::Resultat& Resultat();
::F_Ruter& F_Ruter();
::F_Egenskaper& F_Egenskaper();
::F_Intro& F_Intro();
::F_Hjelp& F_Hjelp();
// The composing tools: "Find words" and "Words that fit".
::F_FinnOrd& F_FinnOrd();
::F_Passer& F_Passer();

// The engine object, created on first use.
store::DBEngine& DBEngine();
// Opens the word database for one operation: velmora.mdb, or the server's
// database chosen with UseServer.
store::Database OpenDatabase();
// Before the engine object is first used: the word database is on a
// PostgreSQL server (a connection string or postgresql:// URL).
void UseServer(const std::string& conninfo);

// The pending kind of lookup: "", "*", "?" or "kategori".
extern QString SokModus;

// The grid being composed, which the simulator windows show and change.
extern sim::Document Rutenett;

// UTF-8 <-> QString at the store's boundary.
inline std::string s(const QString& q) { return q.toStdString(); }
inline QString q(const std::string& s) { return QString::fromStdString(s); }

// For tests: destroys every window and resets the shared state to what a
// new process has.
void ResetAll();

}  // namespace M
