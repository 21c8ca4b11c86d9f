// The ceiling test and the game-over poller: the main tick raises the flag, the poller stops the
// game and shows the game-over screen, again on every one of its ticks.
#include <gtest/gtest.h>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

const std::set<std::string> kGameOverScreen =
    WallsAnd({"imgNewGame", "cmdNewGame", "lblGameOver", "lblGameOverScore", "lblVantrel"});

TEST(CeilingTest, TheBallAtTheCeilingsLowerEdgeEndsTheGame) {
    struct Case {
        float ballTop;
        int16_t flagBefore, flagAfter;
    };
    const Case cases[] = {
        {79, kFalse, kTrue},  {80, kFalse, kTrue},   {80.5f, kFalse, kFalse},
        {81, kFalse, kFalse}, {-500, kFalse, kTrue}, {3000, kTrue, kTrue},  // never cleared
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        rig.form.shpBall.top = c.ballTop;
        rig.state.blnGameOver = c.flagBefore;
        rig.game.TestCeiling();
        EXPECT_EQ(rig.state.blnGameOver, c.flagAfter) << c.ballTop;
    }
}

// Riding the first bar from 3720 up by 50 a tick, the resting ball's Top (bar - 300) first
// reaches 80 at the 67th main tick; by then three score ticks have come.
TEST(GameOverTest, ABallCarriedToTheCeilingEndsTheGameAtOnce) {
    Rig rig;
    rig.NewGame();
    rig.session.Advance(66 * kPeriod);
    EXPECT_EQ(rig.state.blnGameOver, kFalse);
    EXPECT_EQ(rig.form.shpBall.top, 3720.0f - 66 * 50 - 300);

    rig.random.PushFor(400, 800, 500);
    rig.random.PushFor(0, 4225, 1234);
    rig.session.Advance(kPeriod);
    EXPECT_EQ(rig.state.blnGameOver, kTrue);
    EXPECT_EQ(VisibleControls(rig.form), kGameOverScreen)
        << "the poller runs right after the main tick that raised the flag";
    EXPECT_EQ(rig.form.lblGameOverScore.caption, "Score:  3");
    EXPECT_EQ(rig.form.lblGameOver.foreColor, colors::kGreen);
    EXPECT_EQ(rig.form.lblGameOverScore.foreColor, colors::kGreen);
    EXPECT_EQ(rig.session.NextDue(), 68 * kPeriod) << "only the poller is left running";
    EXPECT_EQ(rig.session.NextWake(), 68 * kPeriod) << "the flag is up: the poller acts";
}

// The window sleeps through the poller's idle ticks: with the flag down it wakes for the other
// timers only, and for nothing at all on the title screen.
TEST(GameOverTest, TheWindowWakesForThePollerOnlyWhileTheFlagIsUp) {
    Rig rig;
    EXPECT_EQ(rig.session.NextDue(), kPeriod);
    EXPECT_EQ(rig.session.NextWake(), -1);
    rig.session.Advance(kPeriod / 3);
    rig.NewGame();
    EXPECT_EQ(rig.session.NextDue(), kPeriod);
    EXPECT_EQ(rig.session.NextWake(), kPeriod / 3 + kPeriod);
}

// A game stopped at score 57 with a power-up running, a token on the bar and a magenta bar.
void EndAGame(Rig& rig) {
    rig.NewGame();
    Form& f = rig.form;
    f.shpBall.left = 3000;
    f.shpBall.top = 60;
    f.shpFloor.top = 360;
    f.shpFloor.fillColor = colors::kMagenta;
    f.shpHole.top = 360;
    f.shpPower.visible = true;
    f.tmrPower().enabled = true;
    f.lblScore.caption = "Score:  57";
    rig.state.dblScore = 57;
    rig.state.intPowerTicks = 100;
    rig.state.blnGameOver = kTrue;
}

TEST(GameOverTest, ThePollerStopsTheGameAndShowsTheScreen) {
    Rig rig;
    EndAGame(rig);
    const GameState before = rig.state;
    rig.random.PushFor(400, 800, 650);
    rig.random.PushFor(0, 4725 - 650, 2222);
    rig.session.Tick(TimerId::tmrGameOver);

    const Form& f = rig.form;
    EXPECT_EQ(VisibleControls(f), kGameOverScreen);
    EXPECT_FALSE(f.timer(TimerId::tmrMain).enabled);
    EXPECT_FALSE(f.timer(TimerId::tmrBall).enabled);
    EXPECT_FALSE(f.timer(TimerId::tmrScore).enabled);
    EXPECT_TRUE(f.timer(TimerId::tmrPower).enabled) << "a running power-up keeps counting";
    EXPECT_TRUE(f.timer(TimerId::tmrGameOver).enabled);

    EXPECT_EQ(f.shpBall.left, 1440.0f);
    EXPECT_EQ(f.shpBall.top, 240.0f);
    EXPECT_EQ(f.shpFloor.top, 3360.0f);
    EXPECT_EQ(f.shpHole.top, 3360.0f);
    EXPECT_EQ(f.shpHole.width, 650.0f);
    EXPECT_EQ(f.shpHole.left, 2222.0f);

    EXPECT_EQ(f.lblGameOver.caption, "***Game Over***");
    EXPECT_EQ(f.lblGameOverScore.caption, "Score:  57");
    EXPECT_EQ(f.lblScore.caption, "Score:  57");
    EXPECT_EQ(f.lblVantrel.caption, kMusicCredit);
    EXPECT_EQ(f.lblGameOver.foreColor, colors::kMagenta);
    EXPECT_EQ(f.lblGameOverScore.foreColor, colors::kMagenta);
    EXPECT_EQ(rig.state, before) << "the poller changes no game variable";

    rig.session.Tick(TimerId::tmrPower);
    EXPECT_EQ(rig.state.intPowerTicks, 101);
}

TEST(GameOverTest, ThePollerDoesNothingWhileTheFlagIsDown) {
    Rig rig;
    rig.NewGame();
    rig.session.Advance(10 * kPeriod);
    const Form form = rig.form;
    rig.session.Tick(TimerId::tmrGameOver);  // would throw on a draw
    EXPECT_TRUE(SameForm(rig.form, form));
}

TEST(GameOverTest, EveryPollerTickRedrawsTheHiddenHole) {
    struct Draw {
        float width, left;
        float expectedWidth, expectedLeft;
    };
    const Draw draws[] = {
        {0.0f, 0.0f, 400, 0},
        {kAlmostOne, kAlmostOne, 800, 3925},
        {0.0f, kAlmostOne, 400, 4325},
        {0.5f, 0.5f, 600, 2063},
    };
    Rig rig;
    EndAGame(rig);
    rig.random.PushFor(400, 800, 700);
    rig.random.PushFor(0, 4025, 10);
    rig.session.Tick(TimerId::tmrGameOver);
    for (const Draw& d : draws) {
        Form expected = rig.form;
        rig.random.Push(d.width);
        rig.random.Push(d.left);
        rig.session.Tick(TimerId::tmrGameOver);
        EXPECT_EQ(rig.random.left(), 0u);
        EXPECT_EQ(rig.form.shpHole.width, d.expectedWidth);
        EXPECT_EQ(rig.form.shpHole.left, d.expectedLeft);
        expected.shpHole.width = d.expectedWidth;
        expected.shpHole.left = d.expectedLeft;
        EXPECT_TRUE(SameForm(rig.form, expected)) << "nothing else changes between ticks";
    }
    rig.session.Click(ClickTarget::imgNewGame);
    EXPECT_EQ(rig.form.shpHole.width, 600.0f) << "the next game keeps the last hole drawn";
    EXPECT_EQ(rig.form.shpHole.left, 2063.0f);
}

TEST(GameOverTest, TheCreditLineNamesTheMusicOnlyWhenItPlayed) {
    struct Case {
        bool bgm;
        std::string caption;
        int plays;
    };
    const Case cases[] = {{true, kMusicCredit, 1}, {false, kAuthorCredit, 0}};
    for (const Case& c : cases) {
        Rig rig;
        if (!c.bgm) {
            rig.session.Click(ClickTarget::chkBGM);
        }
        EndAGame(rig);
        rig.random.PushFor(400, 800, 400);
        rig.random.PushFor(0, 4325, 0);
        rig.session.Tick(TimerId::tmrGameOver);
        EXPECT_TRUE(rig.form.lblVantrel.visible);
        EXPECT_EQ(rig.form.lblVantrel.caption, c.caption);
        EXPECT_EQ(rig.music.plays, c.plays);
    }
}

}  // namespace
}  // namespace sinkaway::testing
