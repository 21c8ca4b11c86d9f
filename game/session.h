// A game window's behaviour together with its timers on the virtual clock: what the headless
// driver and the real window both drive. Every event goes through here so the scheduler sees each
// change of a timer's state.
#pragma once

#include <cstdint>

#include "game.h"
#include "scheduler.h"

namespace sinkaway {

// The controls a click can reach.
enum class ClickTarget : uint8_t { imgNewGame, cmdNewGame, chkBGM, chkPower };

class TickObserver {
  public:
    virtual ~TickObserver() = default;
    virtual void OnTimerTick(TimerId id, Micros at) = 0;
};

class Session {
  public:
    Session(FloatSource& random, MusicPlayer& music) : game(random, music) {}

    void Load(uint64_t seed);
    // As a new session loaded with `seed`: the design form, no game played, the clock at zero.
    void Restart(uint64_t seed);
    // A click on a hidden control does nothing.
    void Click(ClickTarget target);
    void KeyDown(uint16_t keyCode);
    void KeyUp(uint16_t keyCode);
    // Runs a timer's handler now, whatever the timer's state; the handler's own checks decide.
    void Tick(TimerId id);
    // Lets the clock run for `span`, firing every tick that comes due in order. The observer,
    // if any, hears about each tick right after its handler ran.
    void Advance(Micros span, TickObserver* observer = nullptr);

    Micros now() const { return scheduler_.now(); }
    Micros NextDue() const { return scheduler_.NextDue(); }
    // When the clock must next run for the game to move on: the next tick due, leaving out the
    // game-over poller while its ticks do nothing. A tick left out still fires at its own instant
    // whenever the clock next runs, before any event that came later.
    Micros NextWake() const;

    Game game;

  private:
    TimerScheduler scheduler_;
};

}  // namespace sinkaway
