// The command line: what the player asked for, the headless run's options and the window's
// together with the program's own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "options.h"
#include "window_options.h"

namespace sinkaway {

struct Options : HeadlessOptions, WindowOptions {
    bool headless = false;
    std::optional<uint64_t> seed;  // both runs': handed to theirs by the two below
    std::string verify;            // replay this script headless and print its final score
    bool scores = false;           // print the best games and stop

    HeadlessOptions Headless() const {
        HeadlessOptions run = *this;
        run.seed = seed;
        return run;
    }
    WindowOptions Window() const {
        WindowOptions window = *this;
        window.seed = seed;
        return window;
    }
};

// Parses argv. Returns an exit status to stop with (0 for --help and --version), or -1 to run.
int ParseOptions(int argc, char** argv, Options& options);

}  // namespace sinkaway
