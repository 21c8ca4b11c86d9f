// The words of a headless script, in one place: its verbs, the controls a click names and the
// timers a tick names; how one event plays on a session; how an event is written back as a line;
// and the seed a script runs with. The reader, the driver, the recorder and every tool that makes
// or plays scripts go through here, so they cannot drift apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clock_seed.h"
#include "scheduler.h"
#include "session.h"

namespace sinkaway {

inline constexpr uint64_t kMaxAdvanceMs = 10'000'000'000ull;

enum class Verb : uint8_t { kClick, kKeyDown, kKeyUp, kTick, kSeed, kAdvance };

struct ScriptEvent {
    Verb verb = Verb::kTick;
    ClickTarget target = ClickTarget::imgNewGame;  // click
    TimerId timer = TimerId::tmrMain;              // tick
    uint16_t keyCode = 0;                          // keydown, keyup
    uint64_t number = 0;                           // seed N, or the milliseconds to let pass

    bool operator==(const ScriptEvent&) const = default;
};

struct VerbWord {
    const char* name;
    Verb verb;
    const char* argument;  // what the one word after the verb is
};

// Null for a word that is no verb.
const VerbWord* FindVerb(std::string_view name);
bool FindClickTarget(std::string_view name, ClickTarget& target);
bool FindTimer(std::string_view name, TimerId& id);
const char* ClickTargetName(ClickTarget target);
// The names a click or a tick takes, for messages: "a, b, c or d".
const std::string& ClickTargetNames();
const std::string& TimerNames();

// The event's line without its newline: "click imgNewGame", "tick tmrMain", "keyup 37". The
// trace names events the same way.
void AppendEventText(std::string& out, const ScriptEvent& event);
std::string EventText(const ScriptEvent& event);
// The text of a tick of `id` ("tick tmrBall"), made once.
std::string_view TickText(TimerId id);

// Plays one event on a loaded session; the observer hears every tick a stretch of time fires. A
// seed plays as nothing: it only chooses the seed of the load event (ScriptSeed).
void PlayEvent(Session& session, const ScriptEvent& event, TickObserver* observer = nullptr);

// One event played a stretch at a time: an `advance` runs only up to a given instant each call, so
// that whoever plays it can stop between stretches (a replay's clock, the bound on a replay's work,
// a slice of a frame) and go on later. Every player of a script's events goes through here.
class EventPlay {
  public:
    static constexpr Micros kForever = INT64_MAX;
    // Plays `event` on a loaded session up to the game time `until`; true once it is played
    // whole. A call with false goes on with the same event.
    bool PlayUntil(Session& session, const ScriptEvent& event, Micros until,
                   TickObserver* observer = nullptr);
    // The game time the `advance` under way still has to run; 0 between events.
    Micros left() const { return left_ < 0 ? 0 : left_; }
    bool started() const { return left_ >= 0; }

  private:
    Micros left_ = -1;  // -1 between events
};

// The seed a script runs with: the one the command line gives, else the seed on the script's
// first event line, else the clock's. `first` is null for a script without events.
uint64_t ScriptSeed(std::optional<uint64_t> commandLine, const ScriptEvent* first,
                    uint64_t (*clock)() = ClockSeed);

}  // namespace sinkaway
