// The simulator's grid survives the process: the grid the last Velmora kept
// comes back at start, with a line in the simulator that says so, and every
// change is kept from then on (see grid/recovery.h).
#pragma once

#include <QString>
#include <memory>

#include "grid/recovery.h"

namespace app {

// Keeps M::Rutenett in the recovery folder for as long as the keeper lives.
std::unique_ptr<sim::recovery::Keeper> keepGrid(const QString& folder = sim::recovery::Folder());

}  // namespace app
