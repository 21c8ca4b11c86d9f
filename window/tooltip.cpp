// The tooltip's timing.
#include "tooltip.h"

namespace sinkaway {

void Tooltip::Move(bool over, int x, int y, int64_t nowMs) {
    if (!over) {
        hovering_ = false;
        dismissed_ = false;
        return;
    }
    if (!hovering_) {
        hovering_ = true;
        dismissed_ = false;
        since_ = nowMs;
    }
    // While the tip is still waiting, moving starts the wait again, so it comes up where the
    // pointer rests; once up (or gone) it stays put until the pointer leaves.
    if (nowMs - since_ < kDelayMs) {
        since_ = nowMs;
        x_ = x;
        y_ = y;
    }
}

void Tooltip::Dismiss() {
    if (hovering_)
        dismissed_ = true;
}

bool Tooltip::Showing(int64_t nowMs) const {
    if (!hovering_ || dismissed_)
        return false;
    const int64_t rested = nowMs - since_;
    return rested >= kDelayMs && rested < kDelayMs + kShowMs;
}

int64_t Tooltip::MillisUntilChange(int64_t nowMs) const {
    if (!hovering_ || dismissed_)
        return -1;
    const int64_t rested = nowMs - since_;
    if (rested < kDelayMs)
        return kDelayMs - rested;
    if (rested < kDelayMs + kShowMs)
        return kDelayMs + kShowMs - rested;
    return -1;
}

}  // namespace sinkaway
