// Power-up tokens: walls and riding, placement on a returning bar, pickup, the active look and
// speeds, the end after 400 power ticks, and the count left running on the game-over screen.
#include <gtest/gtest.h>

#include <string>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

TEST(TokenTest, WallLimitsApplyToTheTokenEvenWhenHidden) {
    struct Case {
        float left, expected;
    };
    const Case cases[] = {{1, 80},      {79, 80},     {80, 80},     {81, 81},
                          {4359, 4359}, {4360, 4360}, {4361, 4360}, {4600, 4360}};
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpPower.left = c.left;
        rig.game.LimitTokenToWalls();
        EXPECT_EQ(rig.form.shpPower.left, c.expected) << c.left;
    }
}

TEST(TokenTest, RidesOneRiseStepBehindTheBar) {
    Rig rig;
    rig.NewGame();
    rig.form.shpFloor.top = 3000;
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 2950.0f);
    EXPECT_EQ(rig.form.shpPower.top, 2700.0f) << "300 above the bar's Top before the rise";
}

TEST(SpawnTest, OnlyAReturningBarWithTheBoxTickedDrawsAChance) {
    struct Case {
        bool ticked;
        float floorTop;
        int chance;  // -1: no draw expected
    };
    const Case cases[] = {
        {true, 6301, 1},  {true, 6301, 0},  {false, 6301, -1},
        {true, 6300, -1}, {true, 6251, -1}, {true, 3720, -1},
    };
    for (const Case& c : cases) {
        Rig rig;
        if (!c.ticked) {
            rig.session.Click(ClickTarget::chkPower);
        }
        rig.NewGame();
        rig.form.shpFloor.top = c.floorTop;
        if (c.chance >= 0) {
            rig.random.PushFor(0, 1, c.chance);
        }
        if (c.chance == 1) {
            rig.random.PushFor(1, 2, 2);
            rig.random.Push(0.0f);
        }
        rig.game.SpawnToken();
        EXPECT_EQ(rig.random.left(), 0u);
        EXPECT_EQ(rig.form.shpPower.visible, c.chance == 1) << c.floorTop;
    }
}

// The design hole is replaced by the test's; sides: Rand(1, 2) gives 1 for r < 0.5.
TEST(PlacePowerUpTest, PicksALeftFromTheRangeOnEitherSideOfTheHole) {
    struct Case {
        const char* what;
        float holeLeft, holeWidth;
        float sideDraw, leftDraw;
        float placed, afterWalls;
    };
    const Case cases[] = {
        {"left, lowest", 2000, 700, 0.0f, 0.0f, 1, 80},
        {"left, highest: reaches into the hole", 2000, 700, 0.0f, kAlmostOne, 2000, 2000},
        {"left of a hole at 0: Rand(1, 0)", 0, 700, 0.0f, 0.7f, 1, 80},
        {"right, lowest", 1000, 800, kAlmostOne, 0.0f, 1800, 1800},
        {"right, highest", 1000, 800, kAlmostOne, kAlmostOne, 4525, 4360},
        {"right of a hole past 4525, lowest draw", 4000, 600, kAlmostOne, 0.0f, 4600, 4360},
        {"right of a hole past 4525, highest draw", 4000, 600, kAlmostOne, kAlmostOne, 4526, 4360},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpHole.left = c.holeLeft;
        rig.form.shpHole.width = c.holeWidth;
        rig.random.Push(c.sideDraw);
        rig.random.Push(c.leftDraw);
        rig.game.PlacePowerUp();
        EXPECT_TRUE(rig.form.shpPower.visible) << c.what;
        EXPECT_EQ(rig.form.shpPower.left, c.placed) << c.what;
        rig.game.LimitTokenToWalls();
        EXPECT_EQ(rig.form.shpPower.left, c.afterWalls) << c.what;
    }
}

TEST(SpawnTest, ATokenIsPlacedAgainstThePreviousHoleAndComesUpWithTheBar) {
    Rig rig;
    rig.NewGame();
    rig.form.shpHole.left = 0;
    rig.form.shpHole.width = 700;
    rig.form.shpFloor.top = -180;
    rig.game.RecycleFloor();
    rig.random.PushFor(0, 1, 1);
    rig.random.PushFor(1, 2, 1);
    rig.random.Push(0.3f);  // Rand(1, 0) answers 1 whatever it draws
    rig.random.PushFor(550, 800, 600);
    rig.random.PushFor(0, 4125, 3000);
    rig.MainTick();
    EXPECT_TRUE(rig.form.shpPower.visible);
    EXPECT_EQ(rig.form.shpPower.left, 1.0f);
    EXPECT_EQ(rig.form.shpPower.top, 6001.0f);
    EXPECT_EQ(rig.form.shpHole.left, 3000.0f);

    rig.MainTick();
    EXPECT_EQ(rig.form.shpPower.left, 80.0f);
    EXPECT_EQ(rig.form.shpPower.top, 5951.0f);
}

// The token at Left 2000, Top 2700; for a ball resting on the bar both Tops are equal.
TEST(PickupTest, TheBallMustCoverTheTokensWidthAndItsTopEdge) {
    struct Case {
        float ballLeft, ballTop;
        bool visible, caught;
    };
    const Case cases[] = {
        {1899, 2700, true, false}, {1900, 2700, true, true},  {1950, 2700, true, true},
        {2000, 2700, true, true},  {2001, 2700, true, false}, {1950, 2400, true, true},
        {1950, 2399, true, false}, {1950, 2701, true, false}, {1950, 2700, false, false},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpPower.left = 2000;
        rig.form.shpPower.top = 2700;
        rig.form.shpPower.visible = c.visible;
        rig.form.shpBall.left = c.ballLeft;
        rig.form.shpBall.top = c.ballTop;
        rig.game.PickUpAndEndPowerUp();
        const std::string what = std::to_string(c.ballLeft) + ", " + std::to_string(c.ballTop);
        EXPECT_EQ(rig.form.tmrPower().enabled, c.caught) << what;
        EXPECT_EQ(rig.form.shpPower.visible, c.visible && !c.caught) << what;
        EXPECT_EQ(rig.state.intPowerTicks, c.caught ? 1 : 0) << what;
        EXPECT_EQ(rig.state.intFallStep, c.caught ? 75 : 55) << what;
        EXPECT_EQ(rig.state.intSideSpeed, c.caught ? 125 : 100) << what;
        EXPECT_EQ(rig.form.shpBall.fillColor, c.caught ? colors::kBlue : colors::kBlack) << what;
        EXPECT_EQ(rig.form.shpBall.borderColor, c.caught ? colors::kGrey : colors::kRed) << what;
    }
}

TEST(PickupTest, AnotherTokenDuringAPowerUpExtendsIt) {
    Rig rig;
    rig.NewGame();
    rig.form.tmrPower().enabled = true;
    rig.state.intPowerTicks = 350;
    rig.form.shpPower.visible = true;  // right under the ball
    rig.form.shpPower.left = rig.form.shpBall.left;
    rig.form.shpPower.top = rig.form.shpBall.top;
    rig.game.PickUpAndEndPowerUp();
    EXPECT_FALSE(rig.form.shpPower.visible);
    EXPECT_TRUE(rig.form.tmrPower().enabled);
    EXPECT_EQ(rig.state.intPowerTicks, 1);
}

TEST(PowerUpTest, EndsOnTheFirstMainTickWithACountOf400) {
    struct Case {
        int16_t count;
        bool ends;
    };
    for (const Case& c : {Case{1, false}, Case{399, false}, Case{400, true}, Case{401, true}}) {
        Rig rig;
        rig.NewGame();
        rig.form.tmrPower().enabled = true;
        rig.state.intPowerTicks = c.count;
        rig.game.PickUpAndEndPowerUp();
        EXPECT_EQ(rig.form.tmrPower().enabled, !c.ends) << c.count;
        EXPECT_EQ(rig.state.intPowerTicks, c.ends ? 0 : c.count) << c.count;
        // After a power-up the ball falls 50, not the 55 of a new game.
        EXPECT_EQ(rig.state.intFallStep, c.ends ? 50 : 75) << c.count;
        EXPECT_EQ(rig.state.intSideSpeed, c.ends ? 100 : 125) << c.count;
        EXPECT_EQ(rig.form.shpBall.fillColor, c.ends ? colors::kBlack : colors::kBlue);
        EXPECT_EQ(rig.form.shpBall.borderColor, c.ends ? colors::kRed : colors::kGrey);
    }
}

// The power tick and the main tick share a period and the main tick fires first, so the main
// tick of the 400th period after the pickup is the first to see a count of 400.
TEST(PowerUpTest, LastsFourHundredMainTicksAfterThePickup) {
    Rig rig;
    rig.NewGame();
    rig.state.intRiseStep = 0;  // hold the bar still so the game outlasts the power-up
    rig.form.shpFloor.top = 3000;
    rig.form.shpHole.left = 0;
    rig.form.shpHole.width = 600;
    rig.form.shpBall.left = 2000;
    rig.form.shpBall.top = 2700;
    rig.state.blnOnFloor = kTrue;
    rig.form.tmrBall().enabled = false;
    rig.form.shpPower.visible = true;
    rig.form.shpPower.left = 2000;
    rig.session.KeyUp(0);  // any event lets the scheduler see the hand-set timers

    rig.session.Advance(kPeriod);
    ASSERT_TRUE(rig.form.tmrPower().enabled) << "picked up in the first main tick";
    rig.session.Advance(399 * kPeriod);
    EXPECT_TRUE(rig.form.tmrPower().enabled);
    EXPECT_EQ(rig.state.intPowerTicks, 400);
    rig.session.Advance(kPeriod);
    EXPECT_FALSE(rig.form.tmrPower().enabled);
    EXPECT_EQ(rig.state.intPowerTicks, 0);
    EXPECT_EQ(rig.state.intFallStep, 50);
}

TEST(PowerUpTest, TheCountStopsAtItsLimitOnTheGameOverScreen) {
    SeededGenerator random(5);
    CountingMusic music;
    Session session(random, music);
    session.Load(5);
    session.Click(ClickTarget::imgNewGame);
    Game& game = session.game;
    game.form.tmrPower().enabled = true;
    game.state.intPowerTicks = 100;
    game.state.blnGameOver = kTrue;
    session.KeyUp(0);  // any event lets the scheduler see the hand-set timers

    // 600 virtual seconds are 38400 power ticks, well past the count's 16-bit limit.
    session.Advance(600'000'000);
    EXPECT_TRUE(game.form.tmrPower().enabled);
    EXPECT_EQ(game.state.intPowerTicks, 32767);

    session.Click(ClickTarget::cmdNewGame);
    EXPECT_FALSE(game.form.tmrPower().enabled);
    EXPECT_EQ(game.state.intPowerTicks, 0);
}

}  // namespace
}  // namespace sinkaway::testing
