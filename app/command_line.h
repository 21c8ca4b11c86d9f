// The command line: what the player asked for.
#pragma once

#include "options.h"

namespace sinkaway {

// Parses argv. Returns an exit status to stop with (0 for --help and --version), or -1 to run.
int ParseOptions(int argc, char** argv, Options& options);

}  // namespace sinkaway
