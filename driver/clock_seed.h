// A seed for the random generator taken from the clock, for games that are not replays.
#pragma once

#include <chrono>
#include <cstdint>

namespace sinkaway {

inline uint64_t ClockSeed() {
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
           static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace sinkaway
