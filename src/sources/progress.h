// How a long read reports how far it has come, so that a terminal can show
// it: the share of the input done (0 to 1) and the entries read so far.
#pragma once

#include <functional>

namespace sources {

using Progress = std::function<void(double share, long entries)>;

}  // namespace sources
