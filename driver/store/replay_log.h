// The session so far as a headless script, kept in memory: the replay a game leaves behind when
// it enters the best games. The generator is seeded once at load, so a game's replay starts at
// the load and holds every game played before it in the session.
#pragma once

#include <cstdint>
#include <string>

#include "scheduler.h"
#include "session.h"

namespace sinkaway {

class ReplayLog {
  public:
    void Start(uint64_t seed);
    void Click(Micros now, ClickTarget target);
    void Key(Micros now, bool down, uint16_t keyCode);
    // The script up to `now`, ending with the time played since the last event.
    std::string ScriptUpTo(Micros now) const;

  private:
    void AdvanceTo(Micros now);

    std::string text_;
    Micros last_ = 0;  // whole milliseconds written so far
};

}  // namespace sinkaway
