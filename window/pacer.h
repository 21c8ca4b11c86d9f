// Turns real time into game time for the window's loop: the clock's whole progress, except after a
// stall, and how long the loop may sleep before the next timer comes due.
#pragma once

#include "scheduler.h"

namespace sinkaway {

class Pacer {
  public:
    // After a stall (a dragged window, a suspended process) the game runs at most this much
    // time at once instead of racing through every tick it missed.
    static constexpr Micros kMaxCatchUp = 250000;
    // The longest the loop sleeps while any timer runs, even one whose ticks change nothing (it
    // need not wake for those): well inside kMaxCatchUp, so that a long sleep is never taken for
    // a stall and no tick is lost.
    static constexpr int kLongestSleepMs = static_cast<int>(kMaxCatchUp / 2000);

    void Start(Micros realNow) { last_ = realNow; }
    // Game time to let pass for the real clock now reading `realNow`: whole milliseconds, the
    // rest carried over, so every event reaches the game at a whole millisecond and a recorded
    // session (whose script can only say milliseconds) replays exactly.
    Micros Elapse(Micros realNow);

  private:
    Micros last_ = 0;
};

// Milliseconds to wait for events before `nextDue` (game time; -1: no timer armed), rounded up
// so that the wait never ends just short of the tick; at most `capMs` (-1: no cap).
int WaitMillis(Micros gameNow, Micros nextDue, int capMs);

}  // namespace sinkaway
