// How fast the rules and the trace run headless: one simulated hour of play, without a trace and
// with the trace written to /dev/null.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "play_pattern.h"
#include "trace.h"

namespace sinkaway::bench {
namespace {

constexpr int64_t kHourMs = 3'600'000;

void BM_SimulatedHour(benchmark::State& st) {
    for (auto _ : st) {
        SeededGenerator random;
        NullMusicPlayer music;
        Session session(random, music);
        session.Load(1);
        PlayPattern(session, kHourMs);
        benchmark::DoNotOptimize(session.game.state.dblScore);
    }
}
BENCHMARK(BM_SimulatedHour)->Unit(benchmark::kMillisecond);

class CountingTracer final : public TickObserver {
public:
    CountingTracer(TraceWriter& trace, const Game& game) : trace_(trace), game_(game) {}
    void OnTimerTick(TimerId id, Micros at) override {
        trace_.Write(at, TimerName(id), game_);
        ++lines;
    }
    int64_t lines = 0;

private:
    TraceWriter& trace_;
    const Game& game_;
};

void BM_SimulatedHourTraced(benchmark::State& st) {
    std::FILE* devnull = std::fopen("/dev/null", "wb");
    int64_t lines = 0;
    for (auto _ : st) {
        SeededGenerator random;
        NullMusicPlayer music;
        Session session(random, music);
        session.Load(1);
        TraceWriter trace(devnull);
        CountingTracer tracer(trace, session.game);
        PlayPattern(session, kHourMs, &tracer);
        lines += tracer.lines;
    }
    st.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(lines),
                                                    benchmark::Counter::kIsRate);
    std::fclose(devnull);
}
BENCHMARK(BM_SimulatedHourTraced)->Unit(benchmark::kMillisecond);

void BM_MainTick(benchmark::State& st) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(1);
    session.Click(ClickTarget::imgNewGame);
    for (auto _ : st) {
        session.game.MainTick();
        // Keep the game from ending so every tick does the full work.
        session.game.state.blnGameOver = 0;
        if (session.game.form.shpBall.top < 200) session.game.form.shpBall.top = 3000;
    }
}
BENCHMARK(BM_MainTick);

}  // namespace
}  // namespace sinkaway::bench

BENCHMARK_MAIN();
