// Long unattended play by our bot, with every invariant checked after every event and tick and a
// sample of trace lines read back against the state they describe; and bot games recorded as
// scripts. SINKAWAY_SOAK_HOURS sets the simulated hours (make soak plays 24).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>

#include "bot.h"
#include "invariants.h"
#include "script.h"
#include "scripted_source.h"
#include "trace.h"

namespace sinkaway::testing {
namespace {

using nlohmann::json;

constexpr Micros kHour = 3'600'000'000;

// Writes every event's trace line into memory, checks the invariants after each event, and reads
// every input's line and one tick line in 61 back against the game.
class SoakWatcher final : public BotWatcher {
  public:
    explicit SoakWatcher(Session& session) : session_(session) {
        mem_ = open_memstream(&buffer_, &size_);
        trace_ = std::make_unique<TraceWriter>(mem_);
    }
    ~SoakWatcher() override {
        trace_.reset();
        std::fclose(mem_);
        std::free(buffer_);
    }

    void OnTimerTick(TimerId id, Micros) override { Record(TickText(id), KindOfTick(id)); }
    void OnInput(std::string_view event, EventKind kind) override {
        ++inputs;
        Record(event, kind);
    }
    bool failed() const override { return failed_; }

    int64_t events = 0, inputs = 0, powerUps = 0, linesChecked = 0;

  private:
    void Record(std::string_view event, EventKind kind) {
        ++events;
        const Game& game = session_.game;
        if (const char* broken = invariants_.Check(game, kind))
            Fail(event, broken);
        // A pickup sets the count to 1; the main tick due with the first power tick still sees 1.
        if (kind == EventKind::kMainTick) {
            if (game.state.intPowerTicks == 1 && lastMainTickPower_ != 1)
                ++powerUps;
            lastMainTickPower_ = game.state.intPowerTicks;
        }
        trace_->Write(session_.now(), event, game);
        if (!trace_->Flush())
            Fail(event, "trace write failed");
        // Prime, so that no timer's ticks are favoured.
        if (kind == EventKind::kClick || kind == EventKind::kOther || events % 61 == 0) {
            CheckLine(event);
        }
        std::rewind(mem_);
    }

    void CheckLine(std::string_view event) {
        ++linesChecked;
        const std::string_view line(buffer_, size_);
        if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) {
            return Fail(event, "not exactly one trace line");
        }
        const json j = json::parse(line, nullptr, false);
        if (j.is_discarded())
            return Fail(event, "trace line is not JSON");
        const Game& g = session_.game;
        const GameState& s = g.state;
        const Form& f = g.form;
        const json& st = j["state"];
        const json& sh = j["shapes"];
        auto flt = [](const json& v) { return static_cast<float>(v.get<double>()); };
        const std::pair<const char*, bool> checks[] = {
            {"t", j["t"].get<double>() == static_cast<double>(session_.now()) / 1000.0},
            {"event", j["event"] == event},
            {"intBallDX", st["intBallDX"] == s.intBallDX},
            {"intFallStep", st["intFallStep"] == s.intFallStep},
            {"intSideSpeed", st["intSideSpeed"] == s.intSideSpeed},
            {"intRiseStep", st["intRiseStep"] == s.intRiseStep},
            {"blnGameOver", st["blnGameOver"] == s.blnGameOver},
            {"dblScore", st["dblScore"] == s.dblScore},
            {"blnOnFloor", st["blnOnFloor"] == s.blnOnFloor},
            {"blnOverHole", st["blnOverHole"] == s.blnOverHole},
            {"blnThroughHole", st["blnThroughHole"] == s.blnThroughHole},
            {"intPowerTicks", st["intPowerTicks"] == s.intPowerTicks},
            {"ball", flt(sh["shpBall"]["left"]) == f.shpBall.left &&
                         flt(sh["shpBall"]["top"]) == f.shpBall.top &&
                         sh["shpBall"]["fillColor"] == f.shpBall.fillColor &&
                         sh["shpBall"]["visible"] == f.shpBall.visible},
            {"hole", flt(sh["shpHole"]["left"]) == f.shpHole.left &&
                         flt(sh["shpHole"]["top"]) == f.shpHole.top &&
                         flt(sh["shpHole"]["width"]) == f.shpHole.width &&
                         sh["shpHole"]["fillColor"] == f.shpHole.fillColor},
            {"floor", flt(sh["shpFloor"]["top"]) == f.shpFloor.top &&
                          sh["shpFloor"]["fillColor"] == f.shpFloor.fillColor},
            {"token", flt(sh["shpPower"]["left"]) == f.shpPower.left &&
                          flt(sh["shpPower"]["top"]) == f.shpPower.top &&
                          sh["shpPower"]["visible"] == f.shpPower.visible},
            {"lblScore", j["labels"]["lblScore"]["caption"] == f.lblScore.caption &&
                             j["labels"]["lblScore"]["foreColor"] == f.lblScore.foreColor},
            {"lblGameOverScore",
             j["labels"]["lblGameOverScore"]["caption"] == f.lblGameOverScore.caption &&
                 j["labels"]["lblGameOverScore"]["visible"] == f.lblGameOverScore.visible},
            {"backColor", j["form"]["backColor"] == f.backColor},
            {"tmrMain", j["timers"]["tmrMain"] == f.timer(TimerId::tmrMain).enabled},
            {"tmrBall", j["timers"]["tmrBall"] == f.timer(TimerId::tmrBall).enabled},
            {"tmrPower", j["timers"]["tmrPower"] == f.timer(TimerId::tmrPower).enabled},
            {"plays", j["sound"]["plays"] == g.musicPlays},
        };
        for (const auto& [what, ok] : checks) {
            if (!ok)
                return Fail(event, std::string("trace line disagrees on ") + what);
        }
    }

    void Fail(std::string_view event, const std::string& what) {
        if (failed_)
            return;
        failed_ = true;
        ADD_FAILURE() << "after '" << event << "' at " << session_.now() / 1000.0
                      << " virtual ms: " << what;
    }

    Session& session_;
    InvariantChecker invariants_;
    std::FILE* mem_ = nullptr;
    char* buffer_ = nullptr;
    size_t size_ = 0;
    std::unique_ptr<TraceWriter> trace_;
    int16_t lastMainTickPower_ = 0;
    bool failed_ = false;
};

double SoakHours() {
    const char* text = std::getenv("SINKAWAY_SOAK_HOURS");
    // Two hours take a few seconds, and about twenty under the sanitizers.
    return text != nullptr ? std::atof(text) : 2.0;
}

// Every run opens a new window and plays an hour with its own seed and its own habits.
TEST(Soak, BotPlaysForHoursWithoutBreakingAnything) {
    const Micros total = static_cast<Micros>(SoakHours() * static_cast<double>(kHour));
    ASSERT_GT(total, 0) << "SINKAWAY_SOAK_HOURS must be a positive number";
    const auto wallStart = std::chrono::steady_clock::now();
    int64_t runs = 0, events = 0, inputs = 0, games = 0, powerUps = 0, lines = 0;
    double best = 0;
    for (Micros done = 0; done < total && !HasFailure(); done += kHour, ++runs) {
        SeededGenerator random;
        CountingMusic music;
        Session session(random, music);
        session.Load(1000 + runs);
        SoakWatcher watcher(session);
        watcher.OnInput("load", EventKind::kOther);
        BotStyle style;
        style.powerUpsOff = runs % 4 == 3;
        style.musicOff = runs % 2 == 1;
        style.lapseChance = (runs % 3 + 1) * 0.003;
        Bot bot(session, 77 + runs, style, &watcher);
        bot.PlayUntil(std::min(kHour, total - done));

        EXPECT_EQ(music.plays, session.game.musicPlays);
        events += watcher.events;
        inputs += watcher.inputs;
        powerUps += watcher.powerUps;
        lines += watcher.linesChecked;
        games += bot.games;
        best = std::max(best, bot.bestScore);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf(
        "soak: %.2f simulated hours in %lld runs: %lld events (%lld inputs), %lld games, best "
        "score %.0f, %lld power-ups caught, %lld trace lines read back; %.1f s wall, %.0f "
        "events/s\n",
        static_cast<double>(total) / static_cast<double>(kHour), static_cast<long long>(runs),
        static_cast<long long>(events), static_cast<long long>(inputs),
        static_cast<long long>(games), best, static_cast<long long>(powerUps),
        static_cast<long long>(lines), wall, static_cast<double>(events) / wall);
    EXPECT_GT(games, 0);
    EXPECT_GT(powerUps, 0);
}

struct Recording {
    std::string script;
    double score = 0;
    int64_t powerUps = 0;
    GameState state;
    Form form;
    Micros now = 0;
};

// One bot game from the title screen to a second of its game-over screen, as a script.
Recording RecordBotGame(uint64_t seed, double lapseChance) {
    Recording r;
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(seed);
    SoakWatcher watcher(session);
    ScriptWriter script;
    script.Start(seed);
    BotStyle style;
    style.lapseChance = lapseChance;
    Bot bot(session, seed, style, &watcher, &script);
    bot.PlayUntil(kHour, 1);
    r.script = script.text();
    r.score = bot.lastScore;
    r.powerUps = watcher.powerUps;
    r.state = session.game.state;
    r.form = session.game.form;
    r.now = session.now();
    return r;
}

// A replay's way through a script, from memory.
Micros Replay(std::string script, Session& session) {
    std::FILE* in = fmemopen(script.data(), script.size(), "rb");
    ScriptReader reader(in, "bot game", ScriptUse::kReplay);
    ScriptEvent e;
    EXPECT_EQ(reader.Next(e), ScriptReader::Result::kEvent) << reader.error();
    session.Load(e.number);
    while (reader.Next(e) == ScriptReader::Result::kEvent) EXPECT_TRUE(reader.Play(session, e));
    EXPECT_EQ(reader.status(), 0) << reader.error();
    std::fclose(in);
    return session.now();
}

TEST(BotReplay, RecordedGamePlaysBackToTheSameState) {
    const Recording r = RecordBotGame(5, 0.01);
    ASSERT_FALSE(HasFailure());
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    EXPECT_EQ(Replay(r.script, session), r.now);
    EXPECT_EQ(session.game.state, r.state);
    EXPECT_EQ(session.game.form.shpHole.left, r.form.shpHole.left);
    EXPECT_EQ(session.game.form.lblGameOverScore.caption, r.form.lblGameOverScore.caption);
    EXPECT_TRUE(session.game.form.imgNewGame.visible);
}

}  // namespace
}  // namespace sinkaway::testing
