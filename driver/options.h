// What the command line asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sinkaway {

struct Options {
    bool headless = false;
    std::string script;      // headless: the events, "-" for standard input
    std::string trace;       // headless: where the JSON lines go, "-" for standard output
    std::string screenshot;  // a PNG of the client area after the last event
    std::optional<uint64_t> seed;
    int scale = 0;            // window: 0 picks one that fits the display
    std::string music;        // window: the music file to try first
    bool stats = false;       // window: print tick and frame counts at exit
    std::string record;       // window: write the session here as a headless script
    bool fullscreen = false;  // window: start fullscreen
    double seconds = 0;       // window: end after this much real time (0: never)
    int64_t frames = 0;       // window: end after this many presented frames (0: never)
    bool autoplay = false;    // window: a game starts at once and steers itself
    bool noSave = false;      // window: keep no scores and no settings
    std::string replay;       // window: watch this recorded game instead of playing
    std::string verify;       // replay this script headless and print its final score
    bool scores = false;      // print the best games and stop
};

}  // namespace sinkaway
