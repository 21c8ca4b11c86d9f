// Gravity and the landing test: a ball reaching the bar away from the hole rests on it and rides
// up; a ball within the hole drops through and never rests on that bar again.
#include <gtest/gtest.h>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

TEST(GravityTest, MovesTheBallDownByTheFallStepOnlyWhileEnabled) {
    struct Case {
        bool enabled;
        int16_t fallStep;
        float top;
    };
    const Case cases[] = {{true, 55, 1055}, {true, 75, 1075}, {true, 50, 1050}, {false, 55, 1000}};
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpBall.top = 1000;
        rig.form.tmrBall().enabled = c.enabled;
        rig.state.intFallStep = c.fallStep;
        rig.session.Tick(TimerId::tmrBall);
        EXPECT_EQ(rig.form.shpBall.top, c.top) << c.fallStep << (c.enabled ? " on" : " off");
    }
}

// The bar's Top is 3000, so a resting ball has its Top at 2700; the hole spans 1000 .. 2000.
TEST(CheckLandingTest, DecidesRestingFallingAndThrough) {
    constexpr int16_t T = kTrue, F = kFalse;
    struct Case {
        const char* what;
        float left, top;
        int16_t onFloor, through;  // before
        int16_t onFloorAfter, overHoleAfter, throughAfter;
        float topAfter;
        bool gravity;
    };
    const Case cases[] = {
        // Over-hole bounds are inclusive on both sides; the hole's height plays no part.
        {"at the hole's left edge", 1000, 1000, F, F, F, T, F, 1000, true},
        {"one twip left of the hole", 999, 1000, F, F, F, F, F, 1000, true},
        {"at the hole's right edge", 1700, 1000, F, F, F, T, F, 1000, true},
        {"one twip right of the hole", 1701, 1000, F, F, F, F, F, 1000, true},
        // Reaching the bar's level away from the hole: put exactly onto it, gravity off.
        {"one twip above the bar", 500, 2699, F, F, F, F, F, 2699, true},
        {"exactly on the bar", 500, 2700, F, F, T, F, F, 2700, false},
        {"fallen past the bar's top", 500, 2750, F, F, T, F, F, 2700, false},
        {"far below the bar", 500, 5000, F, F, T, F, F, 2700, false},
        {"resting, the bar has risen", 2500, 2750, T, F, T, F, F, 2700, false},
        // A resting ball lifted clear of the bar keeps its flag.
        {"resting flag above the bar", 500, 1000, T, F, T, F, F, 1000, false},
        // Within the hole at the bar's level: through, whatever it rested on before.
        {"falling into the hole", 1500, 2750, F, F, F, T, T, 2750, true},
        {"resting ball steered into the hole", 1500, 2750, T, F, F, T, T, 2750, true},
        {"above the bar within the hole", 1500, 1000, T, F, F, T, F, 1000, true},
        // Once through, never put back onto this bar, wherever it is steered.
        {"through, steered away from the hole", 500, 2750, F, T, F, F, T, 2750, true},
        {"through, far below", 4000, 5480, F, T, F, F, T, 5480, true},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpFloor.top = 3000;
        rig.form.shpHole.top = 3000;
        rig.form.shpHole.left = 1000;
        rig.form.shpHole.width = 1000;
        rig.form.shpBall.left = c.left;
        rig.form.shpBall.top = c.top;
        rig.state.blnOnFloor = c.onFloor;
        rig.state.blnOverHole = kTrue;  // stale: the test must write it afresh
        rig.state.blnThroughHole = c.through;
        rig.form.tmrBall().enabled = !c.gravity;  // stale as well
        rig.game.CheckLanding();
        EXPECT_EQ(rig.state.blnOnFloor, c.onFloorAfter) << c.what;
        EXPECT_EQ(rig.state.blnOverHole, c.overHoleAfter) << c.what;
        EXPECT_EQ(rig.state.blnThroughHole, c.throughAfter) << c.what;
        EXPECT_EQ(rig.form.shpBall.top, c.topAfter) << c.what;
        EXPECT_EQ(rig.form.shpBall.left, c.left) << c.what;
        EXPECT_EQ(rig.form.tmrBall().enabled, c.gravity) << c.what;
    }
}

// Ball from 240 falling 55 per period, bar from 3720 rising 50: the ball's bottom passes the
// bar's top in the 31st period (1945 >= 2170 - 300).
TEST(LandingTest, TheFirstBallFallsOntoTheBarAndRidesUpWithIt) {
    Rig rig;
    rig.NewGame();
    rig.session.Advance(30 * kPeriod);
    EXPECT_EQ(rig.form.shpBall.top, 240.0f + 30 * 55);
    EXPECT_EQ(rig.form.shpFloor.top, 3720.0f - 30 * 50);
    EXPECT_TRUE(rig.form.tmrBall().enabled);

    rig.session.Advance(kPeriod);
    EXPECT_EQ(rig.form.shpFloor.top, 2170.0f);
    EXPECT_EQ(rig.form.shpBall.top, 1870.0f) << "put back exactly onto the bar";
    EXPECT_EQ(rig.state.blnOnFloor, kTrue);
    EXPECT_FALSE(rig.form.tmrBall().enabled);

    rig.session.Advance(9 * kPeriod);
    EXPECT_EQ(rig.form.shpFloor.top, 1720.0f);
    EXPECT_EQ(rig.form.shpBall.top, 1420.0f);
}

TEST(LandingTest, ABallFallingWithinTheHoleDropsPastTheBar) {
    Rig rig;
    rig.NewGame();
    rig.form.shpBall.left = 3000;  // within the design hole 2760 .. 3855
    for (int period = 1; period <= 45; ++period) {
        rig.session.Advance(kPeriod);
        ASSERT_EQ(rig.state.blnOverHole, kTrue) << period;
        ASSERT_EQ(rig.state.blnOnFloor, kFalse) << period;
        ASSERT_TRUE(rig.form.tmrBall().enabled) << period;
        ASSERT_EQ(rig.state.blnThroughHole, period >= 31 ? kTrue : kFalse) << period;
    }
    EXPECT_EQ(rig.form.shpBall.top, 240.0f + 45 * 55);
    EXPECT_GT(rig.form.shpBall.top, rig.form.shpFloor.top);
}

TEST(LandingTest, ABallBelowThePlayfieldIsPickedUpByTheNextBar) {
    Rig rig;
    rig.session.Click(ClickTarget::chkPower);
    rig.NewGame();
    rig.form.shpBall.left = 80;  // fell out along the left wall
    rig.form.shpBall.top = 7000;
    rig.form.shpFloor.top = -180;  // just recycled below
    rig.game.RecycleFloor();
    rig.random.PushFor(550, 800, 600);
    rig.random.PushFor(0, 4125, 2000);  // hole 2000 .. 2600, away from the ball
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 6251.0f);
    EXPECT_EQ(rig.form.shpBall.top, 5951.0f);
    EXPECT_EQ(rig.state.blnOnFloor, kTrue);
}

}  // namespace
}  // namespace sinkaway::testing
