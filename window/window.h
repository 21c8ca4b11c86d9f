// The game in a real window.
#pragma once

#include "options.h"

namespace sinkaway {

// Returns the exit status: 0 when the player closed the window, 1 when it could not open.
int RunWindow(const Options& options);

}  // namespace sinkaway
