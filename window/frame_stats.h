// What a windowed run cost, measured from inside: frame pace, ticks, CPU, memory and start-up
// time, printed as one block at exit (--stats). No SDL here: the game and the bare SDL loop we
// compare it against print the very same block, and scripts read both the same way.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace sinkaway {

// CLOCK_MONOTONIC in nanoseconds.
int64_t MonotonicNanos();

class FrameStats {
  public:
    // Frame intervals are kept as a histogram of this resolution, up to one second; longer ones
    // fall into the last bucket. Fixed storage: counting a frame never touches the heap.
    static constexpr int64_t kBucketNanos = 50'000;
    static constexpr int kBuckets = 20'000;  // one second

    // Call with MonotonicNanos() right after each presented frame; `inPlay` when a game was in
    // play on it, which draws a frame every tick: a long wait between two such frames is a stall,
    // where between the title screen's frames it is only the loop sleeping.
    void Presented(int64_t nowNanos, bool inPlay = false);

    int64_t frames() const { return frames_; }
    int64_t firstFrameNanos() const { return first_; }
    double MeanIntervalMs() const;
    // The smallest interval that at least `fraction` of the intervals (0.99: 99 %) do not exceed,
    // to a bucket.
    double PercentileIntervalMs(double fraction) const;
    // The longest interval between two frames of a game in play.
    double LongestPlayIntervalMs() const { return static_cast<double>(longestPlay_) / 1e6; }

    // What the caller counted besides frames.
    struct Extra {
        std::string program;   // "sinkaway", "baseline"
        std::string renderer;  // SDL's renderer name
        bool vsync = false;
        double displayHz = 0;  // 0: unknown
        int64_t mainTicks = 0;
        int64_t points = 0;
        double wallSeconds = 0;
    };
    // The block, one "stats KEY VALUE" line per figure.
    void Print(std::FILE* out, const Extra& extra) const;

  private:
    int64_t frames_ = 0;
    int64_t first_ = -1, last_ = -1;
    int64_t sumNanos_ = 0;
    bool lastInPlay_ = false;
    int64_t longestPlay_ = 0;
    std::array<uint32_t, kBuckets> histogram_{};
};

// The process's CPU time (user + system), in seconds.
double ProcessCpuSeconds();
// Peak resident set size, in kibibytes (getrusage's ru_maxrss).
int64_t PeakResidentKiB();
// Nanoseconds from the process's start (as the kernel recorded it) to CLOCK_MONOTONIC instant
// `monotonicNanos`; -1 when unknown. Good to the kernel's clock tick (usually 10 ms).
int64_t NanosSinceProcessStart(int64_t monotonicNanos);

}  // namespace sinkaway
