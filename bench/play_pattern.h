// One simulated hour of play for benchmarks and allocation checks: a new game whenever the last
// one is over, and the arrow keys tapped in a fixed pattern so the ball keeps moving.
#pragma once

#include "session.h"

namespace sinkaway::bench {

inline constexpr Micros kMs = 1000;

// Plays `ms` of virtual time on a loaded session; `observer` hears about every tick.
inline void PlayPattern(Session& session, int64_t ms, TickObserver* observer = nullptr) {
    session.Click(ClickTarget::imgNewGame);
    for (int64_t done = 0; done < ms; done += 1000) {
        session.KeyDown(kKeyLeft);
        session.Advance(400 * kMs, observer);
        session.KeyUp(kKeyLeft);
        session.KeyDown(kKeyRight);
        session.Advance(350 * kMs, observer);
        session.KeyUp(kKeyRight);
        session.Advance(250 * kMs, observer);
        session.Click(ClickTarget::cmdNewGame);  // does nothing while a game runs
    }
}

}  // namespace sinkaway::bench
