// The game in a real window.
#pragma once

#include "window_options.h"

namespace sinkaway {

// Returns the exit status: 0 when the player closed the window; 1 when it could not open or the
// replay asked for (--replay) cannot be read; 2 when that replay is not one the game can play.
int RunWindow(const WindowOptions& options);

}  // namespace sinkaway
