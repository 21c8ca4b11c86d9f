// The real clock the window's timers follow: time since the window started, and the pacer that
// turns it into the session's time.
#pragma once

#include <chrono>
#include <cstdint>

#include "pacer.h"

namespace sinkaway {

class WindowClock {
  public:
    // Before the load: every reading counts from here.
    void Start() { start_ = std::chrono::steady_clock::now(); }
    // The loop begins: the session's time runs from here, and so does the run's measurement.
    void StartLoop() {
        loopStart_ = NowMicros();
        pacer_.Start(loopStart_);
    }
    // The time until now was not the session's (a pause, another session on screen): no
    // catching up.
    void Restart() { pacer_.Start(NowMicros()); }
    // The session's time to let pass since the last call (Pacer::Elapse).
    Micros Elapse() { return pacer_.Elapse(NowMicros()); }

    Micros NowMicros() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    int64_t NowMillis() const { return NowMicros() / 1000; }
    double SecondsSinceLoop() const { return static_cast<double>(NowMicros() - loopStart_) / 1e6; }

  private:
    std::chrono::steady_clock::time_point start_;
    Micros loopStart_ = 0;
    Pacer pacer_;
};

}  // namespace sinkaway
