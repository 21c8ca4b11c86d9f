// The floor bar and its hole: the rise on every main tick, the recycling of a bar that has left
// the top, and the one new hole every recycled bar gets on the following tick.
#include <gtest/gtest.h>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

// A running game without power-ups, so the only random draws are the holes'.
struct FloorRig : Rig {
    FloorRig() {
        session.Click(ClickTarget::chkPower);
        NewGame();
    }
    void SetFloor(float top) {
        form.shpFloor.top = top;
        form.shpHole.top = top;
    }
};

TEST(FloorTest, TheBarRisesByTheStepAndTheHoleFollowsIt) {
    FloorRig rig;
    // In the first game the hole starts above the bar; the first tick brings it down to it.
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 3670.0f);
    EXPECT_EQ(rig.form.shpHole.top, 3670.0f);
    EXPECT_EQ(rig.form.shpHole.left, 2760.0f);
    EXPECT_EQ(rig.form.shpHole.width, 1095.0f);

    rig.state.intRiseStep = 155;
    rig.game.RaiseFloor();
    EXPECT_EQ(rig.form.shpFloor.top, 3515.0f);
    EXPECT_EQ(rig.form.shpHole.top, 3515.0f);
}

TEST(FloorTest, RecyclesOnlyABarWhollyAboveTheWindow) {
    struct Case {
        float top;
        bool recycled;
    };
    const Case cases[] = {
        {0, false},   {-130, false}, {-134, false}, {-134.9f, false},
        {-135, true}, {-180, true},  {-305, true},  {6301, true},  // already recycled
    };
    for (const Case& c : cases) {
        FloorRig rig;
        rig.SetFloor(c.top);
        rig.state.blnOnFloor = kTrue;
        rig.state.blnOverHole = kTrue;
        rig.state.blnThroughHole = kTrue;
        rig.game.RecycleFloor();
        EXPECT_EQ(rig.form.shpFloor.top, c.recycled ? 6301.0f : c.top) << c.top;
        EXPECT_EQ(rig.form.shpHole.top, c.top) << "the hole waits for the next rise";
        const int16_t flag = c.recycled ? kFalse : kTrue;
        EXPECT_EQ(rig.state.blnOnFloor, flag) << c.top;
        EXPECT_EQ(rig.state.blnOverHole, flag) << c.top;
        EXPECT_EQ(rig.state.blnThroughHole, flag) << c.top;
    }
}

TEST(FloorTest, ARecycledBarGetsOneNewHoleOnTheFollowingTick) {
    FloorRig rig;
    rig.SetFloor(-80);
    // The ball lies in the hole below the bar, so the landing test raises flags in every tick.
    rig.form.shpBall.left = rig.form.shpHole.left;
    rig.form.shpBall.top = 3000;

    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, -130.0f) << "5 twips of the bar still show";
    EXPECT_EQ(rig.state.blnThroughHole, kTrue);

    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 6301.0f);
    EXPECT_EQ(rig.form.shpHole.top, -180.0f);
    EXPECT_EQ(rig.form.shpHole.width, 1095.0f) << "no new hole in the recycling tick";
    EXPECT_EQ(rig.state.blnOnFloor, 0);
    EXPECT_EQ(rig.state.blnOverHole, 0);
    EXPECT_EQ(rig.state.blnThroughHole, 0);

    rig.random.PushFor(550, 800, 700);
    rig.random.PushFor(0, 4725 - 700, 3000);
    rig.MainTick();
    EXPECT_EQ(rig.random.left(), 0u);
    EXPECT_EQ(rig.form.shpFloor.top, 6251.0f);
    EXPECT_EQ(rig.form.shpHole.top, 6251.0f);
    EXPECT_EQ(rig.form.shpHole.width, 700.0f);
    EXPECT_EQ(rig.form.shpHole.left, 3000.0f);

    rig.MainTick();  // would throw on a further draw
    EXPECT_EQ(rig.form.shpHole.width, 700.0f);
    EXPECT_EQ(rig.form.shpHole.top, 6201.0f);
}

TEST(FloorTest, TheFirstBarOfAGameGetsNoNewHole) {
    FloorRig rig;
    rig.random.PushFor(550, 800, 600);
    rig.random.PushFor(0, 4725 - 600, 100);
    // 3720 - 78 * 50 = -180: the 78th tick recycles the bar.
    for (int tick = 1; tick <= 78; ++tick) {
        rig.MainTick();
        ASSERT_EQ(rig.random.left(), 2u) << "tick " << tick;
    }
    EXPECT_EQ(rig.form.shpFloor.top, 6301.0f);
    rig.MainTick();
    EXPECT_EQ(rig.random.left(), 0u);
    EXPECT_EQ(rig.form.shpHole.width, 600.0f);
    EXPECT_EQ(rig.form.shpHole.left, 100.0f);
}

TEST(FloorTest, NewHolesSpanWholeWidthsFrom550To800WithinTheBar) {
    struct Case {
        float widthDraw, leftDraw;
        float width, left;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 550, 0},       {0.0f, kAlmostOne, 550, 4175},
        {kAlmostOne, 0.0f, 800, 0}, {kAlmostOne, kAlmostOne, 800, 3925},
        {0.5f, 0.5f, 675, 2025},
    };
    for (const Case& c : cases) {
        FloorRig rig;
        rig.SetFloor(6301);
        rig.random.Push(c.widthDraw);
        rig.random.Push(c.leftDraw);
        rig.game.DrawNewHole();
        EXPECT_EQ(rig.form.shpHole.width, c.width);
        EXPECT_EQ(rig.form.shpHole.left, c.left);
        EXPECT_LE(rig.form.shpHole.left + rig.form.shpHole.width, 4725.0f);
    }
}

}  // namespace
}  // namespace sinkaway::testing
