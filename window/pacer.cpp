// The real-time pace of the window's loop.
#include "pacer.h"

#include <algorithm>

namespace sinkaway {

Micros Pacer::Elapse(Micros realNow) {
    const Micros span = realNow - last_;
    if (span < 0 || span > kMaxCatchUp) {
        // A clock that went backwards gives nothing; a stall gives the most the game may catch up.
        last_ = realNow;
        return span < 0 ? 0 : kMaxCatchUp;
    }
    const Micros whole = span - span % 1000;
    last_ += whole;
    return whole;
}

int WaitMillis(Micros gameNow, Micros nextDue, int capMs) {
    if (nextDue < 0)
        return capMs;
    const Micros left = std::max<Micros>(0, nextDue - gameNow);
    const int ms = static_cast<int>((left + 999) / 1000);
    return capMs < 0 ? ms : std::min(ms, capMs);
}

}  // namespace sinkaway
