// The score tick and the difficulty ladder: a point per score tick, and the score's window decides
// the bar's rise step and the playfield's colours.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "numeric.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

constexpr Color kUntouched = 0x123456;
constexpr int16_t kUntouchedStep = 1;

struct Look {
    Color floor, back, hole, scoreText, ballFill, ballBorder;
};
constexpr Look kAllUntouched = {kUntouched, kUntouched, kUntouched,
                                kUntouched, kUntouched, kUntouched};

// One ladder step on a form whose colours and rise step hold a marker, so a window's
// assignments show as exactly the values that changed.
TEST(LadderTest, EachWindowSetsItsStepAndOnlyItsOwnColours) {
    using namespace colors;
    constexpr Look kNegative = {kDarkGrey, kWhite, kWhite, kBlack, kWhite, kRed};
    constexpr Look kNegativePowered = {kDarkGrey, kWhite, kWhite, kBlack, kBlue, kGrey};
    auto onlyFloor = [](Color c) {
        Look look = kAllUntouched;
        look.floor = c;
        return look;
    };
    struct Case {
        double score;
        bool powered;
        int16_t step;
        Look look;
    };
    const Case cases[] = {
        {0, false, kUntouchedStep, kAllUntouched},
        {24, false, kUntouchedStep, kAllUntouched},
        {25, false, 60, kAllUntouched},
        {44, false, 60, kAllUntouched},
        {45, false, 70, onlyFloor(kMagenta)},
        {62, false, 70, onlyFloor(kMagenta)},
        {63, false, 80, kAllUntouched},
        {78, false, 80, kAllUntouched},
        {79, false, 90, kAllUntouched},
        {86, false, 90, kAllUntouched},
        {87, false, 100, onlyFloor(kYellow)},
        {100, false, 100, onlyFloor(kYellow)},
        {101, false, 110, kAllUntouched},
        {122, false, 110, kAllUntouched},
        {123, false, 120, kAllUntouched},
        {138, false, 120, kAllUntouched},
        {139, false, 130, onlyFloor(kCyan)},
        {177, false, 130, onlyFloor(kCyan)},
        {178, false, 140, kAllUntouched},
        {214, false, 140, kAllUntouched},
        {214, true, 140, kAllUntouched},
        {215, false, 155, kNegative},
        {215, true, 155, kNegativePowered},
        {232, false, 155, kNegative},
        {232, true, 155, kNegativePowered},
        {233, false, 170, onlyFloor(kMagenta)},
        {233, true, 170, onlyFloor(kMagenta)},
        {300, false, 170, onlyFloor(kMagenta)},
        {301, false, kUntouchedStep, kAllUntouched},
        {5000, true, kUntouchedStep, kAllUntouched},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        Form& f = rig.form;
        f.shpFloor.fillColor = f.backColor = f.shpHole.fillColor = kUntouched;
        f.lblScore.foreColor = f.shpBall.fillColor = f.shpBall.borderColor = kUntouched;
        f.tmrPower().enabled = c.powered;
        rig.state.intRiseStep = kUntouchedStep;
        rig.state.dblScore = c.score;
        rig.game.ApplyDifficultyLadder();
        const std::string what = std::to_string(c.score) + (c.powered ? " powered" : "");
        EXPECT_EQ(rig.state.intRiseStep, c.step) << what;
        EXPECT_EQ(f.shpFloor.fillColor, c.look.floor) << what;
        EXPECT_EQ(f.backColor, c.look.back) << what;
        EXPECT_EQ(f.shpHole.fillColor, c.look.hole) << what;
        EXPECT_EQ(f.lblScore.foreColor, c.look.scoreText) << what;
        EXPECT_EQ(f.shpBall.fillColor, c.look.ballFill) << what;
        EXPECT_EQ(f.shpBall.borderColor, c.look.ballBorder) << what;
        EXPECT_EQ(rig.state.dblScore, c.score) << "the ladder only reads the score";
    }
}

// What the player sees as the score climbs through one long game: colours assigned in one window
// stay through the windows that assign none, and nothing changes from 301 on.
TEST(LadderTest, ColoursCarryOverAsTheScoreClimbs) {
    using namespace colors;
    struct Stage {
        int from;  // up to the next stage's from
        int16_t step;
        Color floor, back, scoreText, ballFill;
    };
    const Stage stages[] = {
        {0, 50, kGreen, kBlack, kLightCyan, kBlack},
        {25, 60, kGreen, kBlack, kLightCyan, kBlack},
        {45, 70, kMagenta, kBlack, kLightCyan, kBlack},
        {63, 80, kMagenta, kBlack, kLightCyan, kBlack},
        {79, 90, kMagenta, kBlack, kLightCyan, kBlack},
        {87, 100, kYellow, kBlack, kLightCyan, kBlack},
        {101, 110, kYellow, kBlack, kLightCyan, kBlack},
        {123, 120, kYellow, kBlack, kLightCyan, kBlack},
        {139, 130, kCyan, kBlack, kLightCyan, kBlack},
        {178, 140, kCyan, kBlack, kLightCyan, kBlack},
        {215, 155, kDarkGrey, kWhite, kBlack, kWhite},
        {233, 170, kMagenta, kWhite, kBlack, kWhite},
        {301, 170, kMagenta, kWhite, kBlack, kWhite},
    };
    Rig rig;
    rig.NewGame();
    int stage = 0;
    for (int score = 0; score <= 400; ++score) {
        while (stage + 1 < static_cast<int>(std::size(stages)) && score >= stages[stage + 1].from) {
            ++stage;
        }
        const Stage& s = stages[stage];
        rig.state.dblScore = score;
        rig.game.ApplyDifficultyLadder();
        ASSERT_EQ(rig.state.intRiseStep, s.step) << score;
        ASSERT_EQ(rig.form.shpFloor.fillColor, s.floor) << score;
        ASSERT_EQ(rig.form.backColor, s.back) << score;
        ASSERT_EQ(rig.form.shpHole.fillColor, s.back) << score;
        ASSERT_EQ(rig.form.lblScore.foreColor, s.scoreText) << score;
        ASSERT_EQ(rig.form.shpBall.fillColor, s.ballFill) << score;
        ASSERT_EQ(rig.form.shpBall.borderColor, kRed) << score;
    }
}

TEST(LadderTest, ANewStepTakesEffectAtTheNextTicksRise) {
    Rig rig;
    rig.session.Click(ClickTarget::chkPower);
    rig.NewGame();
    rig.state.dblScore = 24;
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 3670.0f);
    rig.state.dblScore = 25;
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 3620.0f) << "the bar rose before the ladder ran";
    EXPECT_EQ(rig.state.intRiseStep, 60);
    rig.MainTick();
    EXPECT_EQ(rig.form.shpFloor.top, 3560.0f);
}

TEST(LadderTest, APowerUpEndingInTheWhiteWindowLeavesTheBallWhite) {
    Rig rig;
    rig.NewGame();
    rig.state.dblScore = 220;
    rig.form.tmrPower().enabled = true;
    rig.state.intPowerTicks = 400;
    rig.MainTick();
    EXPECT_FALSE(rig.form.tmrPower().enabled);
    EXPECT_EQ(rig.state.intFallStep, 50);
    EXPECT_EQ(rig.form.shpBall.fillColor, colors::kWhite);
    EXPECT_EQ(rig.form.shpBall.borderColor, colors::kRed);
}

TEST(ScoreTickTest, CountsAndWritesTheScoreText) {
    struct Case {
        int ticks;
        const char* caption;
    };
    // "Score: " then a blank where a minus sign would stand, then the digits.
    const Case cases[] = {{1, "Score:  1"}, {12, "Score:  12"}, {300, "Score:  300"}};
    for (const Case& c : cases) {
        Rig rig;
        rig.NewGame();
        for (int i = 0; i < c.ticks; ++i) {
            rig.session.Tick(TimerId::tmrScore);
        }
        EXPECT_EQ(rig.state.dblScore, c.ticks);
        EXPECT_EQ(rig.form.lblScore.caption, c.caption);
    }
    std::string text;
    FormatScoreText(0, text);
    EXPECT_EQ(text, "Score:  0");
    FormatScoreText(1234567, text);
    EXPECT_EQ(text, "Score:  1234567") << "no grouping, no decimal point";
}

TEST(ScoreTickTest, DoesNothingWhileItsTimerIsDisabled) {
    Rig rig;
    rig.NewGame();
    rig.session.Tick(TimerId::tmrScore);
    rig.form.tmrScore().enabled = false;
    rig.session.Tick(TimerId::tmrScore);
    EXPECT_EQ(rig.state.dblScore, 1.0);
    EXPECT_EQ(rig.form.lblScore.caption, "Score:  1");
}

}  // namespace
}  // namespace sinkaway::testing
