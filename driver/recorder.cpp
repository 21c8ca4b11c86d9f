// Writing a played session's script to its file.
#include "recorder.h"

#include <cerrno>
#include <cstring>

namespace sinkaway {

bool ScriptRecorder::Open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    written_ = 0;
    return true;
}

void ScriptRecorder::Write(const ScriptWriter& script) {
    if (file_ == nullptr)
        return;
    const std::string& text = script.text();
    if (text.size() > written_)
        std::fwrite(text.data() + written_, 1, text.size() - written_, file_);
    written_ = text.size();
}

bool ScriptRecorder::Finish(const ScriptWriter& script) {
    if (file_ == nullptr)
        return ok_;
    Write(script);
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
