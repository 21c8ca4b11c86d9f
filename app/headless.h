// The headless driver: the game run by a script, without a window.
#pragma once

#include "options.h"

namespace sinkaway {

// Returns the exit status: 0 done, 2 script error, 1 any other failure.
int RunHeadless(const Options& options);

}  // namespace sinkaway
