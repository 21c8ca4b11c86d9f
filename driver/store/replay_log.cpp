// The recorder's lines, in the script's own words, into a string.
#include "replay_log.h"

#include "vocabulary.h"

namespace sinkaway {

namespace {

void AppendLine(std::string& text, const ScriptEvent& event) {
    AppendEventText(text, event);
    text += '\n';
}

void AppendTimePlayed(std::string& text, Micros from, Micros to) {
    const Micros ms = (to - from) / 1000;
    if (ms > 0)
        AppendLine(text, {.verb = Verb::kAdvance, .number = static_cast<uint64_t>(ms)});
}

}  // namespace

void ReplayLog::Start(uint64_t seed) {
    text_ = "# Sinkaway game, watch with: sinkaway --replay FILE\n";
    AppendLine(text_, {.verb = Verb::kSeed, .number = seed});
    last_ = 0;
}

void ReplayLog::AdvanceTo(Micros now) {
    AppendTimePlayed(text_, last_, now);
    last_ += (now - last_) / 1000 * 1000;
}

void ReplayLog::Click(Micros now, ClickTarget target) {
    AdvanceTo(now);
    AppendLine(text_, {.verb = Verb::kClick, .target = target});
}

void ReplayLog::Key(Micros now, bool down, uint16_t keyCode) {
    AdvanceTo(now);
    AppendLine(text_, {.verb = down ? Verb::kKeyDown : Verb::kKeyUp, .keyCode = keyCode});
}

std::string ReplayLog::ScriptUpTo(Micros now) const {
    std::string script = text_;
    AppendTimePlayed(script, last_, now);
    return script;
}

}  // namespace sinkaway
