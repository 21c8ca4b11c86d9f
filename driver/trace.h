// The headless driver's trace: one JSON object a line holding the whole state after an event.
#pragma once

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "game.h"
#include "scheduler.h"

namespace sinkaway {

class TraceWriter {
  public:
    explicit TraceWriter(std::FILE* out) : out_(out) { buffer_.reserve(kFlushAt + 8192); }
    ~TraceWriter() { Flush(); }
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    // Appends one whole line; lines reach the file only whole.
    void Write(Micros t, std::string_view event, const Game& game);
    // False once a write to the file has failed.
    bool Flush();
    bool ok() const { return ok_; }

  private:
    static constexpr size_t kFlushAt = 1 << 16;

    // The JSON text of an object is kept with the values it was made from: most controls do not
    // change from one tick to the next, so most lines reuse most of their text.
    struct CachedShape {
        Shape value;
        std::string text;
        bool valid = false;
    };
    struct CachedLabel {
        Color foreColor = 0;
        bool visible = false;
        std::string caption;
        std::string text;
        bool valid = false;
    };
    void AppendShape(size_t index, const char* name, const Shape& shape);
    void AppendLabel(size_t index, const char* name, const Label& label);

    std::FILE* out_;
    std::string buffer_;
    CachedShape shapes_[std::size(kFormShapes)];
    CachedLabel labels_[std::size(kFormLabels)];
    bool ok_ = true;
};

// Virtual milliseconds as a JSON number: 15.625, 31.25, 300.
void AppendMillis(std::string& out, Micros t);
// The shortest decimal text that reads back to the same single-precision value.
void AppendFloat(std::string& out, float v);
void AppendJsonString(std::string& out, std::string_view s);

}  // namespace sinkaway
