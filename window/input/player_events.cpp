// The player's events on their way to the session, and into the recording when there is one.
#include "player_events.h"

#include <cstdio>
#include <cstdlib>

#include "trace.h"

namespace sinkaway {

void PlayerEvents::Write(const ScriptEvent& event) {
    if (entries_ == nullptr && !recorder_.isOpen())
        return;
    script_.Event(session_.now(), event);
    recorder_.Write(script_);
}

void PlayerEvents::Click(ClickTarget target) {
    Write({.verb = Verb::kClick, .target = target});
    session_.Click(target);
}

void PlayerEvents::KeyDown(uint16_t vk) {
    Write({.verb = Verb::kKeyDown, .keyCode = vk});
    session_.KeyDown(vk);
}

void PlayerEvents::KeyUp(uint16_t vk) {
    Write({.verb = Verb::kKeyUp, .keyCode = vk});
    session_.KeyUp(vk);
}

void PlayerEvents::Restart(uint64_t seed) {
    script_.Start(seed,
                  "Sinkaway session: sinkaway --replay FILE watches it, "
                  "sinkaway --verify FILE proves its score");
}

bool PlayerEvents::Record(const std::string& path, uint64_t seed) {
    Restart(seed);
    if (path.empty())
        return true;
    path_ = path;
    std::string error;
    if (!recorder_.Open(path, error)) {
        std::fprintf(stderr, "sinkaway: cannot record to %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    recorder_.Write(script_);
    return true;
}

void PlayerEvents::FinishRecording() {
    if (!recorder_.isOpen())
        return;
    // What the window showed last, as the headless trace would say it, so that a replay can be
    // checked against it.
    char* text = nullptr;
    size_t size = 0;
    if (std::FILE* memory = open_memstream(&text, &size)) {
        {
            TraceWriter trace(memory);
            trace.Write(session_.now(), "end", session_.game);
        }
        std::fclose(memory);
        std::string line(text, size);
        std::free(text);
        while (!line.empty() && line.back() == '\n') line.pop_back();
        script_.Note(session_.now(), "window's final state: " + line);
    }
    script_.AdvanceTo(session_.now());
    if (!recorder_.Finish(script_))
        std::fprintf(stderr, "sinkaway: the recording in %s is incomplete\n", path_.c_str());
}

}  // namespace sinkaway
