// The player's events on their way to the session, and into the recording when there is one.
#include "player_events.h"

#include <cstdio>
#include <cstdlib>

#include "trace.h"

namespace sinkaway {

void PlayerEvents::Click(ClickTarget target) {
    recorder_.Click(session_.now(), target);
    if (keeper_ != nullptr)
        keeper_->Click(session_.now(), target);
    session_.Click(target);
}

void PlayerEvents::KeyDown(uint16_t vk) {
    recorder_.Key(session_.now(), true, vk);
    if (keeper_ != nullptr)
        keeper_->Key(session_.now(), true, vk);
    session_.KeyDown(vk);
}

void PlayerEvents::KeyUp(uint16_t vk) {
    recorder_.Key(session_.now(), false, vk);
    if (keeper_ != nullptr)
        keeper_->Key(session_.now(), false, vk);
    session_.KeyUp(vk);
}

bool PlayerEvents::Record(const std::string& path, uint64_t seed) {
    if (path.empty())
        return true;
    path_ = path;
    std::string error;
    if (!recorder_.Open(path, seed, error)) {
        std::fprintf(stderr, "sinkaway: cannot record to %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
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
        recorder_.Note(session_.now(), "window's final state: " + line);
    }
    if (!recorder_.Finish(session_.now()))
        std::fprintf(stderr, "sinkaway: the recording in %s is incomplete\n", path_.c_str());
}

}  // namespace sinkaway
