// Writing a played session as a headless script.
#include "recorder.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

namespace sinkaway {

const char* ClickTargetName(ClickTarget t) {
    switch (t) {
        case ClickTarget::imgNewGame: return "imgNewGame";
        case ClickTarget::cmdNewGame: return "cmdNewGame";
        case ClickTarget::chkBGM: return "chkBGM";
        case ClickTarget::chkPower: return "chkPower";
    }
    return "";
}

bool ScriptRecorder::Open(const std::string& path, uint64_t seed, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    std::fprintf(file_, "# Sinkaway session, replay with: sinkaway --headless --script FILE\n");
    std::fprintf(file_, "seed %" PRIu64 "\n", seed);
    last_ = 0;
    return true;
}

void ScriptRecorder::AdvanceTo(Micros now) {
    const Micros ms = (now - last_) / 1000;
    if (ms > 0) {
        std::fprintf(file_, "advance %" PRId64 "\n", ms);
        last_ += ms * 1000;
    }
}

void ScriptRecorder::Click(Micros now, ClickTarget target) {
    if (file_ == nullptr) return;
    AdvanceTo(now);
    std::fprintf(file_, "click %s\n", ClickTargetName(target));
}

void ScriptRecorder::Key(Micros now, bool down, uint16_t keyCode) {
    if (file_ == nullptr) return;
    AdvanceTo(now);
    std::fprintf(file_, "%s %u\n", down ? "keydown" : "keyup", static_cast<unsigned>(keyCode));
}

void ScriptRecorder::Note(Micros now, const std::string& text) {
    if (file_ == nullptr) return;
    AdvanceTo(now);
    std::fprintf(file_, "# %s\n", text.c_str());
}

bool ScriptRecorder::Finish(Micros now) {
    if (file_ == nullptr) return ok_;
    AdvanceTo(now);
    Close();
    return ok_;
}

void ScriptRecorder::Close() {
    if (file_ == nullptr) return;
    if (std::ferror(file_) || std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
}

}  // namespace sinkaway
