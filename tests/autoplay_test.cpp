// The autoplayer keeps the game going on its own: games start, the ball finds holes, points
// come, and a game over leads to the next game.
#include <gtest/gtest.h>

#include <algorithm>

#include "autoplay.h"

namespace sinkaway {
namespace {

constexpr Micros kTick = 15625;

struct Outcome {
    int64_t ticks = 0, gamesStarted = 0, gameOvers = 0, actions = 0;
    double bestScore = 0;
    float ballLeftMin = 1e9f, ballLeftMax = -1e9f;
};

Outcome Play(uint64_t seed, Micros span) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(seed);
    Autoplay autoplay;
    Outcome run;
    bool wasOver = false;
    // As the window does: whatever came due, then a look.
    for (Micros t = 0; t < span; t += kTick) {
        session.Advance(kTick);
        ++run.ticks;
        run.actions += autoplay.Step(session) ? 1 : 0;
        const Form& form = session.game.form;
        const bool over = form.lblGameOver.visible;
        run.gameOvers += over && !wasOver ? 1 : 0;
        wasOver = over;
        run.bestScore = std::max(run.bestScore, session.game.state.dblScore);
        run.ballLeftMin = std::min(run.ballLeftMin, form.shpBall.left);
        run.ballLeftMax = std::max(run.ballLeftMax, form.shpBall.left);
    }
    run.gamesStarted = autoplay.gamesStarted();
    return run;
}

TEST(Autoplay, PlaysGameAfterGameWithoutAnyInput) {
    int64_t gameOvers = 0;
    for (uint64_t seed : {1u, 2u, 77u}) {
        SCOPED_TRACE(seed);
        const Outcome run = Play(seed, 5 * 60 * 1'000'000);
        gameOvers += run.gameOvers;
        // Every game over is followed by a new game, and the title screen starts one at once.
        EXPECT_GE(run.gamesStarted, run.gameOvers);
        EXPECT_LE(run.gamesStarted, run.gameOvers + 1);
        EXPECT_GT(run.bestScore, 10);
        // The ball crosses most of the playfield: it is really steered.
        EXPECT_GT(run.ballLeftMax - run.ballLeftMin, 2000);
        // It does not press a key on every tick: only when the wanted direction changes.
        EXPECT_LT(run.actions, run.ticks / 2);
    }
    // It is good, but not that good.
    EXPECT_GE(gameOvers, 2);
}

TEST(Autoplay, StartsAtOnceButLetsTheGameOverScreenShow) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(5);
    Autoplay autoplay;
    EXPECT_TRUE(autoplay.Step(session));
    EXPECT_FALSE(session.game.form.imgNewGame.visible);
    // Play on until the game ends, then count how long the game-over screen stays.
    Micros shownFor = -1;
    for (int i = 0; i < 64 * 600 && shownFor < 0; ++i) {
        session.Advance(kTick);
        autoplay.Step(session);
        if (session.game.form.lblGameOver.visible) {
            const Micros since = session.now();
            while (session.game.form.lblGameOver.visible) {
                session.Advance(kTick);
                autoplay.Step(session);
            }
            shownFor = session.now() - since;
        }
    }
    ASSERT_GE(shownFor, 0) << "no game over in ten minutes";
    EXPECT_GE(shownFor, Autoplay::kGameOverPause);
    EXPECT_LE(shownFor, Autoplay::kGameOverPause + 2 * kTick);
}

}  // namespace
}  // namespace sinkaway
