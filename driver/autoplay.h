// A player for measurements and smoke runs (--autoplay): starts a game at once, steers the ball
// towards the centre of the bar's hole, and starts the next game a moment after one ends. It
// plays through the same Session calls the window's keys and clicks make, so what it costs is
// what a player's game costs.
#pragma once

#include <cstdint>

#include "session.h"

namespace sinkaway {

class Autoplay {
  public:
    // Time the game-over screen stays up before the next game, so its labels get drawn too.
    static constexpr Micros kGameOverPause = 1'000'000;
    // Closer than this (twips) to the hole's centre the ball is left alone, so it does not
    // jitter from side to side.
    static constexpr float kDeadZone = 60.0f;

    // Looks at the game and acts; returns true when it sent the game an event.
    bool Step(Session& session);

    int64_t gamesStarted() const { return gamesStarted_; }

  private:
    int direction_ = 0;  // -1 left, 1 right, 0 still: the arrow last pressed
    Micros overSince_ = -1;
    int64_t gamesStarted_ = 0;
};

}  // namespace sinkaway
