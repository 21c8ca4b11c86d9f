// Writes a played session as a headless script, in memory: the seed line first, then every event
// with the virtual time between events as lines that let it pass, and notes as comments. The
// recorder, the best games and the bot all write their scripts with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vocabulary.h"

namespace sinkaway {

class ScriptWriter {
  public:
    // Begins a new script: `heading` as comment lines (none when empty), then the seed line. The
    // session's virtual time is 0 at its load.
    void Start(uint64_t seed, std::string_view heading = {});

    // `now` is the session's virtual time when the event was delivered. A script only says whole
    // milliseconds, which is all the window and the bot ever deliver events at.
    void Event(Micros now, const ScriptEvent& event);
    void Click(Micros now, ClickTarget target) {
        Event(now, {.verb = Verb::kClick, .target = target});
    }
    void Key(Micros now, bool down, uint16_t keyCode) {
        Event(now, {.verb = down ? Verb::kKeyDown : Verb::kKeyUp, .keyCode = keyCode});
    }
    // A comment line after the time played up to `now`: a replay skips it.
    void Note(Micros now, std::string_view text);
    // Lets the time played since the last event pass.
    void AdvanceTo(Micros now);

    const std::string& text() const { return text_; }
    // The script as it would end at `now`, leaving this one as it is.
    std::string TextUpTo(Micros now) const;

  private:
    void Line(const ScriptEvent& event);

    std::string text_;
    Micros written_ = 0;  // the virtual time the script has let pass, in whole milliseconds
};

}  // namespace sinkaway
