// Writing a played session as a headless script.
#include "recorder.h"

#include <cerrno>
#include <cstring>

namespace sinkaway {

bool ScriptRecorder::Open(const std::string& path, uint64_t seed, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    std::fprintf(file_, "# Sinkaway session, replay with: sinkaway --headless --script FILE\n");
    last_ = 0;
    WriteLine({.verb = Verb::kSeed, .number = seed});
    return true;
}

void ScriptRecorder::WriteLine(const ScriptEvent& event) {
    line_.clear();
    AppendEventText(line_, event);
    line_ += '\n';
    std::fputs(line_.c_str(), file_);
}

void ScriptRecorder::AdvanceTo(Micros now) {
    const Micros ms = (now - last_) / 1000;
    if (ms > 0) {
        WriteLine({.verb = Verb::kAdvance, .number = static_cast<uint64_t>(ms)});
        last_ += ms * 1000;
    }
}

void ScriptRecorder::Click(Micros now, ClickTarget target) {
    if (file_ == nullptr)
        return;
    AdvanceTo(now);
    WriteLine({.verb = Verb::kClick, .target = target});
}

void ScriptRecorder::Key(Micros now, bool down, uint16_t keyCode) {
    if (file_ == nullptr)
        return;
    AdvanceTo(now);
    WriteLine({.verb = down ? Verb::kKeyDown : Verb::kKeyUp, .keyCode = keyCode});
}

void ScriptRecorder::Note(Micros now, const std::string& text) {
    if (file_ == nullptr)
        return;
    AdvanceTo(now);
    std::fprintf(file_, "# %s\n", text.c_str());
}

bool ScriptRecorder::Finish(Micros now) {
    if (file_ == nullptr)
        return ok_;
    AdvanceTo(now);
    Close();
    return ok_;
}

void ScriptRecorder::Close() {
    if (file_ == nullptr)
        return;
    if (std::ferror(file_) || std::fclose(file_) != 0)
        ok_ = false;
    file_ = nullptr;
}

}  // namespace sinkaway
