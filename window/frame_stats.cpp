// The block's figures, from the kernel and from the frame times handed in.
#include "frame_stats.h"

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sinkaway {

int64_t MonotonicNanos() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void FrameStats::Presented(int64_t now, bool inPlay) {
    ++frames_;
    const bool bothInPlay = inPlay && lastInPlay_;
    lastInPlay_ = inPlay;
    if (first_ < 0) {
        first_ = last_ = now;
        return;
    }
    const int64_t interval = std::max<int64_t>(0, now - last_);
    if (bothInPlay)
        longestPlay_ = std::max(longestPlay_, interval);
    last_ = now;
    sumNanos_ += interval;
    const int64_t bucket = std::min<int64_t>(interval / kBucketNanos, kBuckets - 1);
    ++histogram_[static_cast<size_t>(bucket)];
}

double FrameStats::MeanIntervalMs() const {
    return frames_ < 2 ? 0.0
                       : static_cast<double>(sumNanos_) / 1e6 / static_cast<double>(frames_ - 1);
}

double FrameStats::PercentileIntervalMs(double fraction) const {
    const int64_t intervals = frames_ - 1;
    if (intervals <= 0)
        return 0.0;
    // The rank of the interval wanted, counted from 1.
    const auto rank = static_cast<int64_t>(std::ceil(fraction * static_cast<double>(intervals)));
    int64_t seen = 0;
    for (int i = 0; i < kBuckets; ++i) {
        seen += histogram_[static_cast<size_t>(i)];
        if (seen >= std::max<int64_t>(rank, 1))
            return static_cast<double>((i + 1) * kBucketNanos) / 1e6;  // the bucket's upper edge
    }
    return static_cast<double>(kBuckets * kBucketNanos) / 1e6;
}

void FrameStats::Print(std::FILE* out, const Extra& x) const {
    const int64_t sinceStart = first_ < 0 ? -1 : NanosSinceProcessStart(first_);
    std::fprintf(out, "stats program %s\n", x.program.c_str());
    std::fprintf(out, "stats renderer %s\n", x.renderer.empty() ? "unknown" : x.renderer.c_str());
    std::fprintf(out, "stats vsync %s\n", x.vsync ? "on" : "off");
    std::fprintf(out, "stats display_hz %.2f\n", x.displayHz);
    std::fprintf(out, "stats frames %lld\n", static_cast<long long>(frames_));
    std::fprintf(out, "stats frame_interval_mean_ms %.3f\n", MeanIntervalMs());
    std::fprintf(out, "stats frame_interval_p99_ms %.3f\n", PercentileIntervalMs(0.99));
    std::fprintf(out, "stats frame_interval_max_play_ms %.3f\n", LongestPlayIntervalMs());
    std::fprintf(out, "stats main_ticks %lld\n", static_cast<long long>(x.mainTicks));
    std::fprintf(out, "stats points %lld\n", static_cast<long long>(x.points));
    std::fprintf(out, "stats wall_s %.3f\n", x.wallSeconds);
    std::fprintf(out, "stats cpu_s %.3f\n", ProcessCpuSeconds());
    std::fprintf(out, "stats peak_rss_kib %lld\n", static_cast<long long>(PeakResidentKiB()));
    std::fprintf(out, "stats first_frame_ms %.1f\n",
                 sinceStart < 0 ? -1.0 : static_cast<double>(sinceStart) / 1e6);
    std::fprintf(out, "stats first_frame_monotonic_ns %lld\n", static_cast<long long>(first_));
    std::fflush(out);
}

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

int64_t PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // Linux counts it in KiB
}

int64_t NanosSinceProcessStart(int64_t monotonicNanos) {
    // Field 22 of /proc/self/stat: the start, in clock ticks since boot. The command name
    // (field 2) may hold blanks and parentheses, so count from its closing parenthesis.
    std::ifstream in("/proc/self/stat");
    std::string line;
    if (!std::getline(in, line))
        return -1;
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    long long startTicks = -1;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22)
            startTicks = std::atoll(field.c_str());
    }
    const long hz = sysconf(_SC_CLK_TCK);
    if (startTicks < 0 || hz <= 0)
        return -1;
    // The start is on the boot clock, which also counts time suspended: bring the instant there.
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const int64_t bootNow = static_cast<int64_t>(boot.tv_sec) * 1'000'000'000 + boot.tv_nsec;
    const int64_t atBoot = bootNow - (MonotonicNanos() - monotonicNanos);
    const int64_t started = startTicks * (1'000'000'000 / hz);
    return std::max<int64_t>(0, atBoot - started);
}

}  // namespace sinkaway
