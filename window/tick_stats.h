// Counts of timer ticks and drawn frames, for measuring the window's pace (--stats).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "session.h"

namespace sinkaway {

class TickStats final : public TickObserver {
  public:
    void OnTimerTick(TimerId id, Micros) override { ++ticks[static_cast<int>(id)]; }

    // One line: real seconds, the ticks of every timer, the frames drawn.
    void Print(std::FILE* out, double seconds) const {
        std::fprintf(out, "sinkaway: %.2f s:", seconds);
        for (TimerId id : kAllTimers) {
            std::fprintf(out, " %s %lld", TimerName(id),
                         static_cast<long long>(ticks[static_cast<int>(id)]));
        }
        std::fprintf(out, " frames %lld\n", static_cast<long long>(frames));
    }

    std::array<int64_t, kTimerCount> ticks{};
    int64_t frames = 0;
};

}  // namespace sinkaway
