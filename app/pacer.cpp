// The real-time pace of the window's loop.
#include "pacer.h"

#include <algorithm>

namespace sinkaway {

Micros Pacer::Elapse(Micros realNow) {
    Micros span = realNow - last_;
    last_ = realNow;
    return std::clamp<Micros>(span, 0, kMaxCatchUp);
}

int WaitMillis(Micros gameNow, Micros nextDue, int capMs) {
    if (nextDue < 0)
        return capMs;
    const Micros left = std::max<Micros>(0, nextDue - gameNow);
    const int ms = static_cast<int>((left + 999) / 1000);
    return capMs < 0 ? ms : std::min(ms, capMs);
}

}  // namespace sinkaway
