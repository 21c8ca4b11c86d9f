// The timers on a virtual clock. The headless driver advances it by script; the window advances it
// from a monotonic clock. Time is counted in whole microseconds so that every tick lands exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "form.h"

namespace sinkaway {

using Micros = int64_t;

// Timers of 1 ms tick at the pace of a 64 Hz system clock; longer intervals keep their own.
inline constexpr Micros kSystemTick = 15625;
Micros TickPeriod(int intervalMs);

// Decides when each enabled timer comes due.
//  - A timer that becomes enabled is first due one period later.
//  - Enabling a timer that is already enabled keeps its phase.
//  - A disable followed by an enable within one handler also keeps the phase: the scheduler only
//    looks at the timers between handlers. (The landing test does this to the gravity timer on
//    every main tick while the ball lies on the bottom boundary, so that ball gets a gravity tick
//    every period; gravity fires before the main tick, which then puts the ball back, so it is
//    drawn resting on the boundary.)
//  - Timers due at the same instant fire in TimerId order.
//  - A timer disabled when it would come due does not fire and is forgotten.
class TimerScheduler {
  public:
    // Call after every event and every handler: arms and disarms timers from the form.
    void Sync(const Form& form);

    // The next timer due at or before `until`; false when none is. Moves the clock to its instant
    // and schedules its next period, so the caller only has to run the handler and Sync.
    bool PopDue(Micros until, TimerId& id);

    void SetNow(Micros t) { now_ = t; }
    Micros now() const { return now_; }
    // Earliest instant at which an armed timer is due; -1 when none is armed. `ignored`, if
    // given, is left out.
    Micros NextDue(std::optional<TimerId> ignored = std::nullopt) const;

  private:
    struct Slot {
        bool armed = false;
        Micros due = 0;
        Micros period = kSystemTick;
    };
    std::array<Slot, kTimerCount> slots_{};
    Micros now_ = 0;
};

}  // namespace sinkaway
