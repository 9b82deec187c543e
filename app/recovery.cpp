#include "recovery.h"

#include "shared/M.h"
#include "simulator/F_Ruter.h"

namespace app {

std::unique_ptr<sim::recovery::Keeper> keepGrid(const QString& folder) {
    auto keeper = std::make_unique<sim::recovery::Keeper>(M::Rutenett, folder);
    keeper->say = [](const QString& line) { M::F_Ruter().setStatusLine(line); };
    keeper->warn = [](const QString& message) { ui::MsgBox(message, ui::Buttons::OK, "Velmora"); };
    keeper->Start();
    return keeper;
}

}  // namespace app
