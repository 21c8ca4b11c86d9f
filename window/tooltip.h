// When the start image's tooltip shows: after the pointer has rested on the image for a moment,
// until it leaves, a button goes down, or the tip has been up for a while.
#pragma once

#include <cstdint>

namespace sinkaway {

class Tooltip {
  public:
    static constexpr int64_t kDelayMs = 500;
    static constexpr int64_t kShowMs = 5000;

    // The pointer moved to (x, y) in output pixels; `over` says whether it is over the image.
    void Move(bool over, int x, int y, int64_t nowMs);
    // A mouse button or a key went down: the tip goes away until the pointer enters again.
    void Dismiss();
    // The target disappeared (a game started): like leaving it.
    void Leave() { hovering_ = false; }

    bool Showing(int64_t nowMs) const;
    // Milliseconds until Showing changes, or -1 when it will not change by itself.
    int64_t MillisUntilChange(int64_t nowMs) const;
    // Where the pointer rested when the tip came up (output pixels).
    int x() const { return x_; }
    int y() const { return y_; }

  private:
    bool hovering_ = false;
    bool dismissed_ = false;
    int64_t since_ = 0;  // when the pointer entered, or last moved before the tip came up
    int x_ = 0, y_ = 0;
};

}  // namespace sinkaway
