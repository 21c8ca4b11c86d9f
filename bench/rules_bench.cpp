// How fast the rules and the trace run headless: one simulated hour of play, without a trace and
// with the trace written to /dev/null; and what proving a replay costs, by the work the replay's
// bound counts, for an hour of play, an hour on the game-over screen and an hour on the title.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "play_pattern.h"
#include "script.h"
#include "script_writer.h"
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
    st.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    std::fclose(devnull);
}
BENCHMARK(BM_SimulatedHourTraced)->Unit(benchmark::kMillisecond);

// Replays, as a proof reads and plays them.
std::string HourOfPlayScript() {
    ScriptWriter w;
    w.Start(1);
    w.Click(0, ClickTarget::imgNewGame);
    for (Micros t = 0; t < kHourMs * kMs; t += 1000 * kMs) {
        w.Key(t, true, kKeyLeft);
        w.Key(t + 400 * kMs, false, kKeyLeft);
        w.Key(t + 400 * kMs, true, kKeyRight);
        w.Key(t + 750 * kMs, false, kKeyRight);
        w.Click(t + 1000 * kMs, ClickTarget::cmdNewGame);
    }
    return w.text();
}

// An unsteered game ends within seconds; then an hour of its game-over screen.
std::string HourOnGameOverScript() {
    ScriptWriter w;
    w.Start(1);
    w.Click(0, ClickTarget::imgNewGame);
    w.AdvanceTo(20'000 * kMs);
    w.AdvanceTo((20'000 + kHourMs) * kMs);
    return w.text();
}

std::string HourOnTitleScript() {
    ScriptWriter w;
    w.Start(1);
    w.AdvanceTo(kHourMs * kMs);
    return w.text();
}

void BM_Replay(benchmark::State& st, std::string script) {
    uint64_t work = 0;
    for (auto _ : st) {
        std::FILE* in = fmemopen(script.data(), script.size(), "rb");
        ScriptReader reader(in, "bench", ScriptUse::kReplay);
        SeededGenerator random;
        NullMusicPlayer music;
        Session session(random, music);
        ScriptEvent e;
        reader.Next(e);
        session.Load(e.number);
        while (reader.Next(e) == ScriptReader::Result::kEvent && reader.Play(session, e)) {
        }
        std::fclose(in);
        work = reader.work();
        benchmark::DoNotOptimize(session.game.state.dblScore);
    }
    st.counters["work"] = static_cast<double>(work);
    st.counters["work_per_s"] = benchmark::Counter(static_cast<double>(work) * st.iterations(),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_Replay, HourOfPlay, HourOfPlayScript())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, HourOnGameOver, HourOnGameOverScript())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, HourOnTitle, HourOnTitleScript())->Unit(benchmark::kMillisecond);

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
        if (session.game.form.shpBall.top < 200)
            session.game.form.shpBall.top = 3000;
    }
}
BENCHMARK(BM_MainTick);

}  // namespace
}  // namespace sinkaway::bench

BENCHMARK_MAIN();
