// The arrow keys and the steering step: the key handlers only set the step; the main tick moves
// the ball and holds it at the left wall, else the right wall, else the bottom boundary.
#include <gtest/gtest.h>

#include <vector>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

struct Key {
    bool down;
    uint16_t code;
};
constexpr Key Down(uint16_t code) {
    return {true, code};
}
constexpr Key Up(uint16_t code) {
    return {false, code};
}

TEST(KeyTest, TheLastArrowPressedWinsAndAnyReleaseStops) {
    struct Case {
        const char* what;
        int16_t sideSpeed;
        std::vector<Key> keys;
        int16_t dx;
    };
    const Case cases[] = {
        {"left", 100, {Down(kKeyLeft)}, -100},
        {"right", 100, {Down(kKeyRight)}, 100},
        {"left then right", 100, {Down(kKeyLeft), Down(kKeyRight)}, 100},
        {"right then left", 100, {Down(kKeyRight), Down(kKeyLeft)}, -100},
        {"release of the other arrow", 100, {Down(kKeyLeft), Down(kKeyRight), Up(kKeyLeft)}, 0},
        {"release of shift", 100, {Down(kKeyRight), Up(kKeyShift)}, 0},
        {"release of a letter", 100, {Down(kKeyLeft), Up(kKeyA)}, 0},
        {"other keys pressed",
         100,
         {Down(kKeyRight), Down(kKeySpace), Down(kKeyUp), Down(kKeyShift)},
         100},
        {"only other keys", 100, {Down(kKeySpace), Down(kKeyUp)}, 0},
        {"left during a power-up", 125, {Down(kKeyLeft)}, -125},
        {"right during a power-up", 125, {Down(kKeyRight)}, 125},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.state.intSideSpeed = c.sideSpeed;
        for (const Key& key : c.keys) {
            if (key.down) {
                rig.session.KeyDown(key.code);
            } else {
                rig.session.KeyUp(key.code);
            }
        }
        EXPECT_EQ(rig.state.intBallDX, c.dx) << c.what;
    }
}

TEST(KeyTest, ANewSideSpeedReachesTheBallOnlyWithTheNextKeyDown) {
    Rig rig;
    rig.NewGame();
    rig.session.KeyDown(kKeyRight);
    rig.state.intSideSpeed = 125;  // a power-up starts while the key is held
    EXPECT_EQ(rig.state.intBallDX, 100);
    rig.session.KeyDown(kKeyRight);  // the key's auto-repeat
    EXPECT_EQ(rig.state.intBallDX, 125);
}

TEST(KeyTest, AKeyHeldIntoTheNextGameMovesTheBallFromItsFirstTick) {
    Rig rig;
    rig.NewGame();
    rig.state.blnGameOver = kTrue;
    rig.random.PushFor(400, 800, 600);
    rig.random.PushFor(0, 4125, 2000);
    rig.session.Tick(TimerId::tmrGameOver);
    rig.session.KeyDown(kKeyRight);  // on the game-over screen
    rig.session.Click(ClickTarget::cmdNewGame);
    EXPECT_EQ(rig.state.intBallDX, 100);
    rig.MainTick();
    EXPECT_EQ(rig.form.shpBall.left, 1540.0f);
}

// With the design walls the ball's Left stays within 80 .. 4260 and its Top at most 5480.
TEST(SteeringTest, WallsAndBottomLimitActAsOneChain) {
    struct Case {
        const char* what;
        float left, top;
        int16_t dx;
        float expectedLeft, expectedTop;
        bool gravityAfter;
    };
    const Case cases[] = {
        {"free move", 2000, 1000, 100, 2100, 1000, true},
        {"moved past the left wall", 150, 1000, -100, 80, 1000, true},
        {"moved exactly onto the left wall", 180, 1000, -100, 80, 1000, true},
        {"moved past the right wall", 4200, 1000, 100, 4260, 1000, true},
        {"moved exactly onto the right wall", 4160, 1000, 100, 4260, 1000, true},
        {"one twip inside the left wall", 81, 1000, 0, 81, 1000, true},
        {"one twip inside the right wall", 4259, 1000, 0, 4259, 1000, true},
        {"far outside on the right", 5000, 1000, 0, 4260, 1000, true},
        {"just above the bottom", 2000, 5479, 0, 2000, 5479, true},
        {"exactly on the bottom", 2000, 5480, 0, 2000, 5480, false},
        {"below the bottom", 2000, 5500, 0, 2000, 5480, false},
        {"below the bottom, moving", 2000, 5500, -100, 1900, 5480, false},
        {"near a wall but not touching", 81, 5600, 0, 81, 5480, false},
        {"near the right wall, not touching", 4259, 5600, 0, 4259, 5480, false},
        // A ball touching a side wall is clamped again and escapes the bottom test.
        {"at the left wall, below the bottom", 80, 5600, 0, 80, 5600, true},
        {"at the right wall, below the bottom", 4260, 5600, 0, 4260, 5600, true},
        {"into the left wall, below the bottom", 150, 5600, -100, 80, 5600, true},
        {"into the right wall, below the bottom", 4200, 9000, 100, 4260, 9000, true},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpBall.left = c.left;
        rig.form.shpBall.top = c.top;
        rig.state.intBallDX = c.dx;
        rig.game.SteerBall();
        EXPECT_EQ(rig.form.shpBall.left, c.expectedLeft) << c.what;
        EXPECT_EQ(rig.form.shpBall.top, c.expectedTop) << c.what;
        EXPECT_EQ(rig.form.tmrBall().enabled, c.gravityAfter) << c.what;
    }
}

TEST(SteeringTest, ABallFallingAlongAWallLeavesThePlayfield) {
    Rig rig;
    rig.NewGame();
    rig.form.shpBall.left = 80;
    rig.form.shpBall.top = 5400;
    rig.form.shpFloor.top = 3000;
    rig.form.shpHole.top = 3000;
    rig.state.blnThroughHole = kTrue;  // dropped through this bar
    for (int i = 0; i < 4; ++i) {
        rig.session.Tick(TimerId::tmrBall);
        rig.MainTick();
    }
    EXPECT_EQ(rig.form.shpBall.top, 5400.0f + 4 * 55);
    EXPECT_EQ(rig.form.shpBall.left, 80.0f);
    EXPECT_TRUE(rig.form.tmrBall().enabled);
}

}  // namespace
}  // namespace sinkaway::testing
