// Records what a player does (--record): the session's script, as its writer builds it, goes to a
// file as it grows, so that the headless driver replays the same game.
#pragma once

#include <cstdio>
#include <string>

#include "script_writer.h"

namespace sinkaway {

class ScriptRecorder {
  public:
    ScriptRecorder() = default;
    ~ScriptRecorder() { Close(); }
    ScriptRecorder(const ScriptRecorder&) = delete;
    ScriptRecorder& operator=(const ScriptRecorder&) = delete;

    bool Open(const std::string& path, std::string& error);
    bool isOpen() const { return file_ != nullptr; }

    // Writes what the script has gained since the last call.
    void Write(const ScriptWriter& script);
    // Writes the rest and closes the file; false when any of it could not be written.
    bool Finish(const ScriptWriter& script);

  private:
    void Close();

    std::FILE* file_ = nullptr;
    size_t written_ = 0;  // bytes of the script already in the file
    bool ok_ = true;
};

}  // namespace sinkaway
