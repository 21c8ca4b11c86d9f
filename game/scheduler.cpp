// The virtual-clock timer scheduler.
#include "scheduler.h"

namespace sinkaway {

Micros TickPeriod(int intervalMs) {
    const Micros asked = static_cast<Micros>(intervalMs) * 1000;
    return asked < kSystemTick ? kSystemTick : asked;
}

void TimerScheduler::Sync(const Form& form) {
    for (int i = 0; i < kTimerCount; ++i) {
        const Timer& timer = form.timers[i];
        Slot& slot = slots_[i];
        if (!timer.enabled) {
            slot.armed = false;
        } else if (!slot.armed) {
            slot.armed = true;
            slot.period = TickPeriod(timer.intervalMs);
            slot.due = now_ + slot.period;
        }
    }
}

bool TimerScheduler::PopDue(Micros until, TimerId& id) {
    int best = -1;
    for (int i = 0; i < kTimerCount; ++i) {
        const Slot& slot = slots_[i];
        // Strictly earlier wins; on a tie the lower index, which is the firing order.
        if (slot.armed && slot.due <= until && (best < 0 || slot.due < slots_[best].due)) {
            best = i;
        }
    }
    if (best < 0) {
        return false;
    }
    Slot& slot = slots_[best];
    now_ = slot.due;
    slot.due += slot.period;
    id = static_cast<TimerId>(best);
    return true;
}

Micros TimerScheduler::NextDue(std::optional<TimerId> ignored) const {
    Micros next = -1;
    for (int i = 0; i < kTimerCount; ++i) {
        const Slot& slot = slots_[i];
        if (ignored && static_cast<int>(*ignored) == i) {
            continue;
        }
        if (slot.armed && (next < 0 || slot.due < next)) {
            next = slot.due;
        }
    }
    return next;
}

}  // namespace sinkaway
