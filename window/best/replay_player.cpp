// The replay's clock: real time times the speed, in whole game milliseconds as the window's own
// game runs, so every event lands on the instant it was recorded at.
#include "replay_player.h"

#include <algorithm>

namespace sinkaway {

namespace {

bool StartsGame(const ScriptEvent& e) {
    return e.verb == Verb::kClick &&
           (e.target == ClickTarget::imgNewGame || e.target == ClickTarget::cmdNewGame);
}

// Counts the ticks a stretch of time fires.
class TickCount final : public TickObserver {
  public:
    void OnTimerTick(TimerId, Micros) override { ++ticks; }
    uint64_t ticks = 0;
};

// How much game time catching up plays between two looks at its work.
constexpr Micros kCatchUpStretch = 60'000'000;

}  // namespace

ReplayPlayer::ReplayPlayer(ReplayScript script, MusicPlayer& music, CatchUpNow now)
    : script_(std::move(script)), music_(music), session_(random_, music_) {
    session_.Load(script_.seed);
    for (size_t i = 0; i < script_.events.size(); ++i) {
        if (StartsGame(script_.events[i]))
            watchFrom_ = i;
    }
    if (now == CatchUpNow::kYes)
        CatchUp(UINT64_MAX);
}

bool ReplayPlayer::CatchUp(uint64_t work) {
    TickCount count;
    while (next_ < watchFrom_ && count.ticks < work) {
        const Micros until =
            session_.NextDue() < 0 ? EventPlay::kForever : session_.now() + kCatchUpStretch;
        ++count.ticks;
        if (play_.PlayUntil(session_, script_.events[next_], until, &count))
            ++next_;
    }
    if (next_ < watchFrom_)
        return false;
    music_.Open();
    return true;
}

void ReplayPlayer::PlayUntil(Micros until, TickObserver* observer) {
    while (!ended()) {
        if (!play_.PlayUntil(session_, script_.events[next_], until, observer))
            return;
        ++next_;
    }
}

void ReplayPlayer::Run(Micros real, TickObserver* observer) {
    if (paused_ || ended() || real <= 0)
        return;
    const Micros game = real * speed_ + gameCarry_;
    const Micros whole = game / 1000 * 1000;
    gameCarry_ = game - whole;
    PlayUntil(session_.now() + whole, observer);
}

int ReplayPlayer::WaitMillis() const {
    if (paused_ || ended())
        return -1;
    if (script_.events[next_].verb != Verb::kAdvance)
        return 0;
    const Micros left =
        play_.started() ? play_.left() : static_cast<Micros>(script_.events[next_].number) * 1000;
    Micros until = session_.now() + left;
    const Micros due = session_.NextDue();
    if (due >= 0 && due < until)
        until = due;
    const Micros real = std::max<Micros>(0, until - session_.now() - gameCarry_) / speed_;
    return static_cast<int>(std::min<Micros>((real + 999) / 1000, 1'000'000));
}

std::string ReplayPlayer::Tag() const {
    if (ended())
        return "Replay ended";
    return "Replay " + std::to_string(speed_) + "\u00d7";
}

}  // namespace sinkaway
