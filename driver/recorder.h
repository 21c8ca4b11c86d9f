// Records what a player does as a headless script: the seed first, then every click and key, with
// the virtual time between them as lines that let it pass, so the headless driver replays the same
// game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "vocabulary.h"

namespace sinkaway {

class ScriptRecorder {
  public:
    ScriptRecorder() = default;
    ~ScriptRecorder() { Close(); }
    ScriptRecorder(const ScriptRecorder&) = delete;
    ScriptRecorder& operator=(const ScriptRecorder&) = delete;

    bool Open(const std::string& path, uint64_t seed, std::string& error);
    bool isOpen() const { return file_ != nullptr; }

    // `now` is the session's virtual time when the event was delivered; the window only delivers
    // events at whole milliseconds, which is all a script can say.
    void Click(Micros now, ClickTarget target);
    void Key(Micros now, bool down, uint16_t keyCode);
    // A comment line, after the time played up to `now`: the replay skips it.
    void Note(Micros now, const std::string& text);
    // Writes the time played since the last event and closes the file.
    bool Finish(Micros now);

  private:
    void AdvanceTo(Micros now);
    void WriteLine(const ScriptEvent& event);
    void Close();

    std::FILE* file_ = nullptr;
    Micros last_ = 0;
    bool ok_ = true;
    std::string line_;
};

}  // namespace sinkaway
