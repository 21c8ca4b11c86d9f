// What the command line asks of the window; a headless run has its own (driver/options.h), and
// the program combines them (app/command_line.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sinkaway {

struct WindowOptions {
    std::optional<uint64_t> seed;
    int scale = 0;            // 0 picks one that fits the display
    std::string music;        // the music file to try first
    bool stats = false;       // print tick and frame counts at exit
    std::string record;       // write the session here as a headless script
    bool fullscreen = false;  // start fullscreen
    double seconds = 0;       // end after this much real time (0: never)
    int64_t frames = 0;       // end after this many presented frames (0: never)
    bool autoplay = false;    // a game starts at once and steers itself
    bool noSave = false;      // keep no scores and no settings
    std::string replay;       // watch this recorded game instead of playing
    std::string server;       // the world's boards ("http://host:port"); else the settings'
};

}  // namespace sinkaway
