// The recorder's format, line for line, into a string.
#include "replay_log.h"

#include "recorder.h"

namespace sinkaway {

namespace {

std::string AdvanceLine(Micros from, Micros to) {
    const Micros ms = (to - from) / 1000;
    return ms > 0 ? "advance " + std::to_string(ms) + "\n" : std::string();
}

}  // namespace

void ReplayLog::Start(uint64_t seed) {
    text_ =
        "# Sinkaway game, watch with: sinkaway --replay FILE\nseed " + std::to_string(seed) + "\n";
    last_ = 0;
}

void ReplayLog::AdvanceTo(Micros now) {
    const std::string line = AdvanceLine(last_, now);
    if (!line.empty()) {
        text_ += line;
        last_ += (now - last_) / 1000 * 1000;
    }
}

void ReplayLog::Click(Micros now, ClickTarget target) {
    AdvanceTo(now);
    text_ += std::string("click ") + ClickTargetName(target) + "\n";
}

void ReplayLog::Key(Micros now, bool down, uint16_t keyCode) {
    AdvanceTo(now);
    text_ += (down ? "keydown " : "keyup ") + std::to_string(keyCode) + "\n";
}

std::string ReplayLog::ScriptUpTo(Micros now) const {
    return text_ + AdvanceLine(last_, now);
}

}  // namespace sinkaway
