// Key codes, the tooltip's timing and the loop's pace: the small tables the window runs on.
#include <gtest/gtest.h>

#include "keys.h"
#include "pacer.h"
#include "tooltip.h"

namespace sinkaway {
namespace {

TEST(ToVirtualKey, GivesTheWindowsCodes) {
    struct Case {
        SDL_Keycode key;
        uint16_t mod;
        uint16_t vk;
    } cases[] = {
        {SDLK_LEFT, KMOD_NONE, 37},
        {SDLK_RIGHT, KMOD_NONE, 39},
        {SDLK_UP, KMOD_NONE, 38},
        {SDLK_DOWN, KMOD_NONE, 40},
        {SDLK_a, KMOD_NONE, 65},
        {SDLK_z, KMOD_SHIFT, 90},
        {SDLK_0, KMOD_NONE, 48},
        {SDLK_9, KMOD_NONE, 57},
        {SDLK_SPACE, KMOD_NONE, 32},
        {SDLK_RETURN, KMOD_NONE, 13},
        {SDLK_KP_ENTER, KMOD_NONE, 13},
        {SDLK_ESCAPE, KMOD_NONE, 27},
        {SDLK_TAB, KMOD_NONE, 9},
        {SDLK_BACKSPACE, KMOD_NONE, 8},
        {SDLK_LSHIFT, KMOD_NONE, 16},
        {SDLK_RSHIFT, KMOD_NONE, 16},
        {SDLK_LCTRL, KMOD_NONE, 17},
        {SDLK_RALT, KMOD_NONE, 18},
        {SDLK_F1, KMOD_NONE, 112},
        {SDLK_F12, KMOD_NONE, 123},
        {SDLK_DELETE, KMOD_NONE, 46},
        {SDLK_HOME, KMOD_NONE, 36},
        {SDLK_COMMA, KMOD_NONE, 188},
        {SDLK_QUOTE, KMOD_NONE, 222},
        // The keypad: digits with Num Lock, arrows without.
        {SDLK_KP_4, KMOD_NUM, 100},
        {SDLK_KP_4, KMOD_NONE, 37},
        {SDLK_KP_6, KMOD_NUM, 102},
        {SDLK_KP_6, KMOD_NONE, 39},
        {SDLK_KP_PLUS, KMOD_NONE, 107},
        {SDLK_VOLUMEUP, KMOD_NONE, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToVirtualKey(c.key, c.mod), c.vk) << SDL_GetKeyName(c.key) << " mod " << c.mod;
    }
}

TEST(Tooltip, ShowsAfterTheRestAndGoesAway) {
    Tooltip tip;
    tip.Move(true, 10, 20, 1000);
    EXPECT_FALSE(tip.Showing(1499));
    EXPECT_EQ(tip.MillisUntilChange(1200), 300);
    // Moving while it waits starts the wait again, and the tip comes up where the pointer rests.
    tip.Move(true, 12, 22, 1400);
    EXPECT_FALSE(tip.Showing(1600));
    EXPECT_TRUE(tip.Showing(1900));
    EXPECT_EQ(tip.x(), 12);
    EXPECT_EQ(tip.y(), 22);
    // Once up it stays where it came up.
    tip.Move(true, 30, 40, 2000);
    EXPECT_EQ(tip.x(), 12);
    EXPECT_EQ(tip.MillisUntilChange(2000), 1900 + Tooltip::kShowMs - 2000);
    EXPECT_FALSE(tip.Showing(1900 + Tooltip::kShowMs));
    EXPECT_EQ(tip.MillisUntilChange(1900 + Tooltip::kShowMs), -1);
}

TEST(Tooltip, LeavingOrPressingHidesIt) {
    Tooltip tip;
    tip.Move(true, 0, 0, 0);
    EXPECT_TRUE(tip.Showing(600));
    tip.Dismiss();
    EXPECT_FALSE(tip.Showing(700));
    tip.Move(true, 1, 1, 800);  // still over the image: stays away
    EXPECT_FALSE(tip.Showing(2000));
    tip.Move(false, 0, 0, 2100);
    tip.Move(true, 0, 0, 2200);  // back in: a new wait
    EXPECT_TRUE(tip.Showing(2700));
    tip.Leave();
    EXPECT_FALSE(tip.Showing(2800));
    EXPECT_EQ(tip.MillisUntilChange(2800), -1);
}

TEST(Pacer, FollowsTheClockInWholeMillisecondsButCutsStalls) {
    Pacer pacer;
    pacer.Start(1000000);
    EXPECT_EQ(pacer.Elapse(1015625), 15000);
    EXPECT_EQ(pacer.Elapse(1015999), 0);  // the 625 carried over make no whole millisecond yet
    EXPECT_EQ(pacer.Elapse(1016000), 1000);
    // Over a long run nothing is lost to the rounding.
    Micros total = 0;
    for (Micros t = 1016000 + 333; t <= 2016000; t += 333) total += pacer.Elapse(t);
    EXPECT_EQ(total, 999000);
    // A two-second stall runs only a quarter of a second of game time.
    EXPECT_EQ(pacer.Elapse(4016000), Pacer::kMaxCatchUp);
    EXPECT_EQ(pacer.Elapse(4020000), 4000);
    // A clock that went backwards gives nothing rather than negative time.
    EXPECT_EQ(pacer.Elapse(3000000), 0);
    EXPECT_EQ(pacer.Elapse(3002000), 2000);
}

TEST(Pacer, SleepsUntilTheNextTickAndNoLonger) {
    EXPECT_EQ(WaitMillis(0, 15625, -1), 16);  // rounded up: waking early would only spin
    EXPECT_EQ(WaitMillis(15000, 15625, -1), 1);
    EXPECT_EQ(WaitMillis(15625, 15625, -1), 0);
    EXPECT_EQ(WaitMillis(20000, 15625, -1), 0);  // overdue
    EXPECT_EQ(WaitMillis(0, 300000, 120), 120);  // the tooltip wants to wake earlier
    EXPECT_EQ(WaitMillis(0, -1, 500), 500);
    EXPECT_EQ(WaitMillis(0, -1, -1), -1);
}

}  // namespace
}  // namespace sinkaway
