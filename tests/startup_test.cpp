// The load event and the new game: what the title screen shows, and everything a new game sets,
// leaves alone and plays.
#include <gtest/gtest.h>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

const std::set<std::string> kTitleScreen =
    WallsAnd({"lblSinkaway", "lblVantrel", "chkPower", "chkBGM", "imgNewGame", "cmdNewGame"});
const std::set<std::string> kPlayScreen = WallsAnd({"shpBall", "shpFloor", "shpHole", "lblScore"});

TEST(LoadTest, ShowsTheTitleScreenWithOnlyThePollerRunning) {
    Rig rig;
    EXPECT_EQ(VisibleControls(rig.form), kTitleScreen);
    for (TimerId id : kAllTimers) {
        EXPECT_EQ(rig.form.timer(id).enabled, id == TimerId::tmrGameOver) << TimerName(id);
    }
    EXPECT_EQ(rig.form.chkBGM.value, 1);
    EXPECT_EQ(rig.form.chkPower.value, 1);
}

TEST(LoadTest, RecordsTheStartPositionsFromTheBallAndTheHole) {
    Rig rig;
    EXPECT_EQ(rig.state.intBallLeft0, 1440);
    EXPECT_EQ(rig.state.intBallTop0, 240);
    // Floor and hole restart at the hole's Top, not at the floor's own 3720.
    EXPECT_EQ(rig.state.intFloorTop0, 3360);
    EXPECT_EQ(rig.form.shpFloor.top, 3720.0f);
    EXPECT_EQ(rig.state.blnGameOver, 0);
    EXPECT_EQ(rig.state.intBallDX, 0);
}

TEST(LoadTest, RoundsStartPositionsToNearestWithTiesToEven) {
    struct Case {
        float design;
        int16_t recorded;
    };
    const Case cases[] = {
        {1440.4f, 1440}, {1440.5f, 1440}, {1440.6f, 1441}, {1441.5f, 1442}, {239.5f, 240},
    };
    for (const Case& c : cases) {
        ScriptedSource random;
        CountingMusic music;
        Game game(random, music);
        game.form.shpBall.left = c.design;
        game.form.shpBall.top = c.design;
        game.form.shpHole.top = c.design;
        game.Load(0);
        EXPECT_EQ(game.state.intBallLeft0, c.recorded) << c.design;
        EXPECT_EQ(game.state.intBallTop0, c.recorded) << c.design;
        EXPECT_EQ(game.state.intFloorTop0, c.recorded) << c.design;
    }
}

// A form and state as a long game with a running power-up leaves them, before the new game.
void Dirty(Rig& rig) {
    Form& f = rig.form;
    GameState& s = rig.state;
    f.backColor = colors::kWhite;
    f.shpFloor.fillColor = colors::kDarkGrey;
    f.shpHole.fillColor = colors::kWhite;
    f.lblScore.foreColor = colors::kBlack;
    f.lblScore.caption = "Score:  231";
    f.shpBall.fillColor = colors::kBlue;
    f.shpBall.borderColor = colors::kGrey;
    f.shpBall.backColor = colors::kWhite;
    f.shpBall.left = 2345;
    f.shpBall.top = 1234;
    f.shpFloor.top = 1500;
    f.shpHole.left = 700;
    f.shpHole.top = 1500;
    f.shpHole.width = 650;
    f.shpPower.visible = true;
    f.shpPower.left = 3000;
    f.tmrPower().enabled = true;
    s.blnOnFloor = kTrue;
    s.blnOverHole = kTrue;
    s.blnThroughHole = kTrue;
    s.blnGameOver = kTrue;
    s.dblScore = 231;
    s.intPowerTicks = 123;
    s.intFallStep = 75;
    s.intRiseStep = 155;
    s.intSideSpeed = 125;
    s.intBallDX = 125;
}

// A game played to its end with a power-up running in the white stage, then a new game: in all a
// new game takes over it is a first game again. What a new game leaves alone (positions, the texts,
// the key held) is carried across before the comparison.
TEST(NewGameTest, AfterAPoweredGameInTheWhiteStageLooksLikeAFirstGame) {
    RigOn<SeededGenerator> played;
    played.NewGame();
    Form& f = played.form;
    played.state.dblScore = 214;  // a point below the white stage
    bool poweredInWhite = false;
    for (int i = 0; i < 100'000 && !f.lblGameOver.visible; ++i) {
        if (!f.tmrPower().enabled) {
            // A token where the ball is, so that the next main tick picks it up.
            f.shpPower.visible = true;
            f.shpPower.left = f.shpBall.left + (f.shpBall.width - f.shpPower.width) / 2;
            f.shpPower.top = f.shpBall.top;
        }
        played.session.Advance(kPeriod);
        poweredInWhite |= f.backColor == colors::kWhite && f.tmrPower().enabled;
    }
    ASSERT_TRUE(poweredInWhite);
    ASSERT_TRUE(f.lblGameOver.visible);
    played.session.Click(ClickTarget::cmdNewGame);

    Rig first;
    first.NewGame();
    Form again = played.form;
    GameState state = played.state;
    auto carry = [&](const auto& list, auto copy) {
        for (const auto& c : list) copy(first.form.*c.member, again.*c.member);
    };
    carry(kFormShapes, [](const Shape& from, Shape& to) {
        to.left = from.left;
        to.top = from.top;
        to.width = from.width;
        to.height = from.height;
    });
    carry(kFormLabels, [](const Label& from, Label& to) { to.caption = from.caption; });
    // Only shown on the game-over screen, in the colour of the stage reached.
    again.lblGameOver.foreColor = first.form.lblGameOver.foreColor;
    again.lblGameOverScore.foreColor = first.form.lblGameOverScore.foreColor;
    state.intBallDX = first.state.intBallDX;
    EXPECT_TRUE(SameForm(again, first.form));
    EXPECT_EQ(state, first.state);
}

TEST(NewGameTest, LeavesPositionsKeyStepScoreTextAndTokenAlone) {
    Rig rig;
    Dirty(rig);
    rig.NewGame();
    const Form& f = rig.form;
    EXPECT_EQ(f.shpBall.left, 2345.0f);
    EXPECT_EQ(f.shpBall.top, 1234.0f);
    EXPECT_EQ(f.shpFloor.top, 1500.0f);
    EXPECT_EQ(f.shpHole.left, 700.0f);
    EXPECT_EQ(f.shpHole.top, 1500.0f);
    EXPECT_EQ(f.shpHole.width, 650.0f);
    EXPECT_EQ(f.shpPower.left, 3000.0f);
    // The previous game's score stays up until the first score tick.
    EXPECT_EQ(f.lblScore.caption, "Score:  231");
    // A key held into the new game keeps moving the ball.
    EXPECT_EQ(rig.state.intBallDX, 125);
}

TEST(NewGameTest, TheFirstGameStartsFromTheDesignPositions) {
    Rig rig;
    rig.NewGame();
    EXPECT_EQ(VisibleControls(rig.form), kPlayScreen);
    EXPECT_EQ(rig.form.lblScore.caption, "Score:");
    EXPECT_EQ(rig.form.shpBall.left, 1440.0f);
    EXPECT_EQ(rig.form.shpBall.top, 240.0f);
    EXPECT_EQ(rig.form.shpFloor.top, 3720.0f);
    EXPECT_EQ(rig.form.shpHole.top, 3360.0f);
    EXPECT_EQ(rig.form.shpHole.left, 2760.0f);
    EXPECT_EQ(rig.form.shpHole.width, 1095.0f);
}

TEST(NewGameTest, ASecondGameStartsWhereTheGameOverScreenLeftThings) {
    Rig rig;
    rig.NewGame();
    rig.form.shpBall.left = 3000;
    rig.form.shpFloor.top = 200;
    rig.state.blnGameOver = kTrue;
    rig.random.PushFor(400, 800, 512);
    rig.random.PushFor(0, 4725 - 512, 1000);
    rig.session.Tick(TimerId::tmrGameOver);

    rig.session.Click(ClickTarget::cmdNewGame);
    EXPECT_EQ(VisibleControls(rig.form), kPlayScreen) << "title and options stay hidden";
    EXPECT_EQ(rig.form.shpBall.left, 1440.0f);
    EXPECT_EQ(rig.form.shpBall.top, 240.0f);
    EXPECT_EQ(rig.form.shpFloor.top, 3360.0f);
    EXPECT_EQ(rig.form.shpHole.top, 3360.0f);
    EXPECT_EQ(rig.form.shpHole.width, 512.0f);
    EXPECT_EQ(rig.form.shpHole.left, 1000.0f);
    EXPECT_EQ(rig.music.plays, 2);
}

TEST(NewGameTest, PlaysTheMusicOnlyWithTheBoxTicked) {
    struct Case {
        int untickClicks;  // clicks on chkBGM before the game
        ClickTarget start;
        int plays;
    };
    const Case cases[] = {
        {0, ClickTarget::imgNewGame, 1}, {0, ClickTarget::cmdNewGame, 1},
        {1, ClickTarget::imgNewGame, 0}, {1, ClickTarget::cmdNewGame, 0},
        {2, ClickTarget::imgNewGame, 1},
    };
    for (const Case& c : cases) {
        Rig rig;
        for (int i = 0; i < c.untickClicks; ++i) {
            rig.session.Click(ClickTarget::chkBGM);
        }
        rig.session.Click(c.start);
        EXPECT_EQ(rig.music.plays, c.plays) << c.untickClicks << " clicks on the box";
    }
}

TEST(NewGameTest, TheButtonAndTheImageStartTheSameGame) {
    Rig byImage;
    Rig byButton;
    byImage.session.Click(ClickTarget::imgNewGame);
    byButton.session.Click(ClickTarget::cmdNewGame);
    EXPECT_TRUE(SameForm(byImage.form, byButton.form));
    EXPECT_EQ(byImage.state, byButton.state);
    EXPECT_EQ(byImage.music.plays, byButton.music.plays);
    EXPECT_EQ(byImage.session.NextDue(), byButton.session.NextDue());
}

TEST(NewGameTest, ClicksOnHiddenControlsDoNothing) {
    Rig rig;
    rig.NewGame();
    rig.session.Advance(20 * kPeriod);
    const Form form = rig.form;
    const GameState state = rig.state;
    const Micros due = rig.session.NextDue();
    for (ClickTarget target : {ClickTarget::imgNewGame, ClickTarget::cmdNewGame,
                               ClickTarget::chkBGM, ClickTarget::chkPower}) {
        rig.session.Click(target);
    }
    EXPECT_TRUE(SameForm(rig.form, form));
    EXPECT_EQ(rig.state, state);
    EXPECT_EQ(rig.session.NextDue(), due) << "no timer was restarted";
    EXPECT_EQ(rig.music.plays, 1);
}

}  // namespace
}  // namespace sinkaway::testing
