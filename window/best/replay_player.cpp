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

}  // namespace

ReplayPlayer::ReplayPlayer(ReplayScript script, MusicPlayer& music)
    : script_(std::move(script)), music_(music), session_(random_, music_) {
    session_.Load(script_.seed);
    size_t watchFrom = 0;
    for (size_t i = 0; i < script_.events.size(); ++i) {
        if (StartsGame(script_.events[i]))
            watchFrom = i;
    }
    for (; next_ < watchFrom; ++next_) PlayEvent(session_, script_.events[next_]);
    music_.Open();
}

void ReplayPlayer::PlayUntil(Micros until, TickObserver* observer) {
    while (!ended()) {
        const ScriptEvent& e = script_.events[next_];
        if (e.verb != Verb::kAdvance) {
            PlayEvent(session_, e, observer);
            ++next_;
            continue;
        }
        if (!inAdvance_) {
            advanceLeft_ = static_cast<Micros>(e.number) * 1000;
            inAdvance_ = true;
        }
        const Micros step = std::min(advanceLeft_, until - session_.now());
        if (step > 0) {
            session_.Advance(step, observer);
            advanceLeft_ -= step;
        }
        if (advanceLeft_ > 0)
            return;
        inAdvance_ = false;
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
        inAdvance_ ? advanceLeft_ : static_cast<Micros>(script_.events[next_].number) * 1000;
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
