// Every click and key the window gives the game passes through here, and into the recording when
// there is one: a replay can only reproduce what it was told.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game_window.h"
#include "trace.h"

namespace sinkaway {

void GameWindow::SendClick(ClickTarget target) {
    recorder_.Click(session_.now(), target);
    session_.Click(target);
}

void GameWindow::SendKeyDown(uint16_t vk) {
    recorder_.Key(session_.now(), true, vk);
    session_.KeyDown(vk);
}

void GameWindow::SendKeyUp(uint16_t vk) {
    recorder_.Key(session_.now(), false, vk);
    session_.KeyUp(vk);
}

bool GameWindow::StartRecording(uint64_t seed) {
    if (options_.record.empty())
        return true;
    std::string error;
    if (!recorder_.Open(options_.record, seed, error)) {
        std::fprintf(stderr, "sinkaway: cannot record to %s: %s\n", options_.record.c_str(),
                     error.c_str());
        return false;
    }
    return true;
}

void GameWindow::FinishRecording() {
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
        std::fprintf(stderr, "sinkaway: the recording in %s is incomplete\n",
                     options_.record.c_str());
}

}  // namespace sinkaway
