// The --stats block: interval figures from known frame times, and a block that reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frame_stats.h"

namespace sinkaway {
namespace {

// Reads back the "stats" lines of a block from any text; false when there are none.
bool ParseStatsBlock(const std::string& text, std::map<std::string, std::string>& out) {
    std::istringstream lines(text);
    std::string line;
    bool any = false;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag, key, value;
        if (!(words >> tag >> key >> value) || tag != "stats")
            continue;
        out[key] = value;
        any = true;
    }
    return any;
}

constexpr int64_t kMs = 1'000'000;

struct Pace {
    const char* name;
    std::vector<int64_t> intervalsMs;
    double mean, p99;
};

TEST(FrameStats, MeanAndP99FromIntervals) {
    std::vector<int64_t> steadyWithStalls(200, 16);
    steadyWithStalls[50] = steadyWithStalls[120] = steadyWithStalls[170] = 100;
    std::vector<int64_t> mostlyLong(100, 40);
    mostlyLong[0] = 10;
    const Pace paces[] = {
        {"one interval", {16}, 16.0, 16.05},
        {"steady", std::vector<int64_t>(100, 16), 16.0, 16.05},
        // Three stalls in 200 frames: more than 1 %, so the 99th percentile is a stall.
        {"stalls", steadyWithStalls, (197 * 16 + 300) / 200.0, 100.05},
        {"past the histogram", {16, 16, 16, 5000}, (48 + 5000) / 4.0, 1000.0},
        {"mostly long", mostlyLong, (10 + 99 * 40) / 100.0, 40.05},
    };
    for (const Pace& pace : paces) {
        SCOPED_TRACE(pace.name);
        FrameStats stats;
        int64_t t = 5 * kMs;
        stats.Presented(t);
        for (int64_t ms : pace.intervalsMs) stats.Presented(t += ms * kMs);
        EXPECT_EQ(stats.frames(), static_cast<int64_t>(pace.intervalsMs.size()) + 1);
        EXPECT_EQ(stats.firstFrameNanos(), 5 * kMs);
        EXPECT_NEAR(stats.MeanIntervalMs(), pace.mean, 1e-9);
        EXPECT_NEAR(stats.PercentileIntervalMs(0.99), pace.p99, 1e-9);
    }
}

TEST(FrameStats, NoFramesOrOneFrameGiveZeroIntervals) {
    FrameStats stats;
    EXPECT_EQ(stats.MeanIntervalMs(), 0.0);
    EXPECT_EQ(stats.PercentileIntervalMs(0.99), 0.0);
    stats.Presented(kMs);
    EXPECT_EQ(stats.MeanIntervalMs(), 0.0);
    EXPECT_EQ(stats.PercentileIntervalMs(0.99), 0.0);
}

// A clock that steps back (it should not, but a caller may mix clocks) counts as no time.
TEST(FrameStats, BackwardStepIsAZeroInterval) {
    FrameStats stats;
    stats.Presented(100 * kMs);
    stats.Presented(90 * kMs);
    stats.Presented(106 * kMs);
    EXPECT_NEAR(stats.MeanIntervalMs(), 8.0, 1e-9);
}

TEST(FrameStats, PrintedBlockReadsBackWithEveryFigure) {
    FrameStats stats;
    const int64_t first = MonotonicNanos() - 20 * kMs;
    stats.Presented(first);
    stats.Presented(first + 16 * kMs);
    FrameStats::Extra extra;
    extra.program = "sinkaway";
    extra.renderer = "software";
    extra.mainTicks = 640;
    extra.points = 33;
    extra.wallSeconds = 10.5;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    stats.Print(file, extra);
    std::rewind(file);
    std::string text = "unrelated line\nsinkaway: 1.00 s: frames 2\n";
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
    std::fclose(file);

    std::map<std::string, std::string> block;
    ASSERT_TRUE(ParseStatsBlock(text, block));
    for (const char* key :
         {"program", "renderer", "vsync", "display_hz", "frames", "frame_interval_mean_ms",
          "frame_interval_p99_ms", "main_ticks", "points", "wall_s", "cpu_s", "peak_rss_kib",
          "first_frame_ms", "first_frame_monotonic_ns"}) {
        EXPECT_TRUE(block.count(key)) << key;
    }
    EXPECT_EQ(block["program"], "sinkaway");
    EXPECT_EQ(block["frames"], "2");
    EXPECT_EQ(block["main_ticks"], "640");
    EXPECT_EQ(block["points"], "33");
    EXPECT_EQ(std::stoll(block["first_frame_monotonic_ns"]), first);
    EXPECT_GT(std::stoll(block["peak_rss_kib"]), 0);
    // This process started before its first "frame", and not days before.
    const double sinceStart = std::stod(block["first_frame_ms"]);
    EXPECT_GE(sinceStart, 0.0);
    EXPECT_LT(sinceStart, 3'600'000.0);
}

TEST(FrameStats, ParseFindsNothingInOtherText) {
    std::map<std::string, std::string> block;
    EXPECT_FALSE(ParseStatsBlock("sinkaway: renderer x\nstats\nstatsfoo a b\n", block));
    EXPECT_TRUE(block.empty());
}

}  // namespace
}  // namespace sinkaway
