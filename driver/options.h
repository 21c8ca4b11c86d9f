// What the command line asks of a headless run; the window has its own (window_options.h), and the
// program combines them (app/command_line.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sinkaway {

struct HeadlessOptions {
    std::string script;      // the events, "-" for standard input
    std::string trace;       // where the JSON lines go, "-" for standard output
    std::string screenshot;  // a PNG of the client area after the last event
    std::optional<uint64_t> seed;
};

}  // namespace sinkaway
