// A recorded session replays headless to the same game.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "recorder.h"
#include "run_binary.h"

namespace sinkaway::testing {
namespace {

TEST(Recorder, ARecordedSessionReplaysToTheSameState) {
    TempDir dir;
    const auto path = dir / "session.txt";
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    ScriptWriter script;
    ScriptRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.Open(path.string(), error)) << error;
    session.Load(1234);
    script.Start(1234, "a player's session");

    // A player: a click, keys at odd whole-millisecond times, a game over and a second game.
    auto click = [&](ClickTarget t) {
        session.Click(t);
        script.Click(session.now(), t);
        recorder.Write(script);
    };
    auto key = [&](bool down, uint16_t code) {
        down ? session.KeyDown(code) : session.KeyUp(code);
        script.Key(session.now(), down, code);
        recorder.Write(script);
    };
    click(ClickTarget::chkPower);
    session.Advance(1'317'000);
    click(ClickTarget::imgNewGame);
    for (int i = 0; i < 40; ++i) {
        session.Advance((97 + i * 13) * 1000);
        key(true, i % 3 == 0 ? kKeyLeft : kKeyRight);
        session.Advance(211'000);
        key(false, 65);
    }
    session.Advance(20'000'000);
    click(ClickTarget::cmdNewGame);
    session.Advance(2'503'000);
    script.AdvanceTo(session.now());
    ASSERT_TRUE(recorder.Finish(script));

    EXPECT_EQ(ReadFile(path), script.text());
    const RunResult r = RunScript(ReadFile(path), "");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto last = nlohmann::json::parse(r.traceLines().back());
    const Game& g = session.game;
    EXPECT_EQ(last["state"]["dblScore"].get<double>(), g.state.dblScore);
    EXPECT_EQ(last["state"]["blnGameOver"].get<int>(), g.state.blnGameOver);
    EXPECT_EQ(last["shapes"]["shpBall"]["left"].get<float>(), g.form.shpBall.left);
    EXPECT_EQ(last["shapes"]["shpBall"]["top"].get<float>(), g.form.shpBall.top);
    EXPECT_EQ(last["shapes"]["shpHole"]["left"].get<float>(), g.form.shpHole.left);
    EXPECT_EQ(last["shapes"]["shpFloor"]["top"].get<float>(), g.form.shpFloor.top);
    EXPECT_EQ(last["checks"]["chkPower"]["value"].get<int>(), g.form.chkPower.value);
    EXPECT_EQ(last["sound"]["plays"].get<int>(), g.musicPlays);
}

TEST(Recorder, AnUnwritablePathIsReported) {
    ScriptRecorder recorder;
    std::string error;
    EXPECT_FALSE(recorder.Open("/nonexistent/dir/session.txt", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace sinkaway::testing
