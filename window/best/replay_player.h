// Watching a recorded game in the window: the script's events delivered to a session of its own at
// the pace they were played, or faster, with a pause. No SDL: the window hands it real time and
// draws its session's form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "rand.h"
#include "script.h"
#include "session.h"
#include "vocabulary.h"

namespace sinkaway {

// Passes the music on only while the watched game runs: the games before it are played through
// in silence.
class GatedMusic final : public MusicPlayer {
  public:
    explicit GatedMusic(MusicPlayer& music) : music_(music) {}
    void PlayAsync() override {
        if (open_)
            music_.PlayAsync();
    }
    void Open() { open_ = true; }

  private:
    MusicPlayer& music_;
    bool open_ = false;
};

class ReplayPlayer {
  public:
    static constexpr int kMaxSpeed = 8;

    // Loads the session. Watching starts where the script's last game starts: a recorded game's
    // generator is seeded once, so its replay holds every game played before it in the session,
    // which are played through at once, or with `later` by CatchUp.
    enum class CatchUpNow : uint8_t { kYes, kLater };
    ReplayPlayer(ReplayScript script, MusicPlayer& music, CatchUpNow now = CatchUpNow::kYes);
    // Plays on through the games before the watched one, for about `work` more ticks and events;
    // true once the watched game is reached. ReadReplay has held the script to a replay's bound
    // on work, so that takes moments, spread over a few calls where frames must go on.
    bool CatchUp(uint64_t work);
    ReplayPlayer(const ReplayPlayer&) = delete;
    ReplayPlayer& operator=(const ReplayPlayer&) = delete;

    // Lets `real` microseconds of real time pass: that much game time times the speed, with the
    // script's events delivered at their instants. Nothing while paused or ended.
    void Run(Micros real, TickObserver* observer = nullptr);
    // Real milliseconds until something is due at the current speed; -1 when nothing ever is.
    int WaitMillis() const;

    bool ended() const { return next_ >= script_.events.size(); }
    bool paused() const { return paused_; }
    int speed() const { return speed_; }
    void TogglePause() { paused_ = !paused_; }
    void Faster() { speed_ = speed_ * 2 > kMaxSpeed ? kMaxSpeed : speed_ * 2; }
    void Slower() { speed_ = speed_ / 2 < 1 ? 1 : speed_ / 2; }
    // "Replay 2×", and the like.
    std::string Tag() const;

    const Session& session() const { return session_; }

  private:
    // Delivers events until the game time reaches `until` or the script waits for later.
    void PlayUntil(Micros until, TickObserver* observer);

    ReplayScript script_;
    SeededGenerator random_;
    GatedMusic music_;
    Session session_;
    size_t next_ = 0;       // the next event to deliver
    size_t watchFrom_ = 0;  // the event that starts the watched game
    EventPlay play_;        // the event at next_, when an `advance` is under way
    int speed_ = 1;
    bool paused_ = false;
    Micros gameCarry_ = 0;  // game time not yet a whole millisecond
};

}  // namespace sinkaway
