// The headless driver's script: one input event a line, read and checked one line at a time so a
// bad line stops the run exactly before it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "vocabulary.h"

namespace sinkaway {

inline constexpr size_t kMaxScriptLine = 4096;

// Plain decimal digits only, at most `max`: no sign, blank, base prefix or trailing junk. The
// command line's --seed follows the same rule as the script's numbers.
bool ParseDecimal(std::string_view word, uint64_t max, uint64_t& value);

// Parses one line. Returns true with `isEvent` false for blank and comment lines; false with a
// message for a bad line.
bool ParseScriptLine(std::string_view line, ScriptEvent& event, bool& isEvent, std::string& error);

// Reads lines of at most kMaxScriptLine bytes from a stream without ever holding a longer one.
class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file) {}
    enum class Result { kLine, kTooLong, kEnd, kError };
    // On kTooLong the rest of that line is still unread: the caller stops anyway.
    Result Next(std::string& line);
    int lineNumber() const { return lineNumber_; }

  private:
    std::FILE* file_;
    int lineNumber_ = 0;
};

}  // namespace sinkaway
