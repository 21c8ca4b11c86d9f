// The score tick and the difficulty ladder: a point every 300 ms, and the score decides how fast
// the bar rises and which colours the playfield wears.
#include <cmath>

#include "float_text.h"
#include "game.h"

namespace sinkaway {

void FormatScoreText(double score, std::string& out) {
    char buf[64] = "Score: ";
    char* p = buf + 7;
    // The number text keeps a leading blank where a minus sign would stand.
    *p++ = score < 0 ? '-' : ' ';
    out.assign(buf, WholeText(p, std::fabs(score)));
}

void Game::ScoreTick() {
    if (!form.tmrScore().enabled) {
        return;
    }
    state.dblScore = state.dblScore + 1.0;
    FormatScoreText(state.dblScore, form.lblScore.caption);
}

namespace {

constexpr Color kNoChange = 0xFFFFFFFF;  // outside the 24-bit colours

struct Rung {
    double lower, upper;  // lower <= score < upper
    int16_t riseStep;
    Color floorColor;  // kNoChange: the bar keeps the colour of an earlier window
    bool negative;     // the playfield turns white and the ball's look is imposed
};

// The windows follow each other without gaps from 25 to 301; below and above, nothing changes.
// One rung a line:
// clang-format off
constexpr Rung kLadder[] = {
    {25, 45, 60, kNoChange, false},
    {45, 63, 70, colors::kMagenta, false},
    {63, 79, 80, kNoChange, false},
    {79, 87, 90, kNoChange, false},
    {87, 101, 100, colors::kYellow, false},
    {101, 123, 110, kNoChange, false},
    {123, 139, 120, kNoChange, false},
    {139, 178, 130, colors::kCyan, false},
    {178, 215, 140, kNoChange, false},
    {215, 233, 155, colors::kDarkGrey, true},
    {233, 301, 170, colors::kMagenta, false},
};
// clang-format on

}  // namespace

// Runs after the rise, so a new step takes effect at the next tick's rise. Runs on every tick, so
// a window's colours are set again and again while the score lies in it.
void Game::ApplyDifficultyLadder() {
    const double score = state.dblScore;
    for (const Rung& rung : kLadder) {
        if (score < rung.lower || score >= rung.upper) {
            continue;
        }
        state.intRiseStep = rung.riseStep;
        if (rung.negative) {
            form.backColor = colors::kWhite;
        }
        if (rung.floorColor != kNoChange) {
            form.shpFloor.fillColor = rung.floorColor;
        }
        if (rung.negative) {
            form.lblScore.foreColor = colors::kBlack;
            form.shpHole.fillColor = colors::kWhite;
            // Imposed on every tick, whatever the power-up steps set earlier in the tick.
            if (form.tmrPower().enabled) {
                form.shpBall.fillColor = colors::kBlue;
                form.shpBall.borderColor = colors::kGrey;
            }
            if (!form.tmrPower().enabled) {
                form.shpBall.fillColor = colors::kWhite;
                form.shpBall.borderColor = colors::kRed;
            }
        }
        return;  // the windows do not overlap
    }
}

}  // namespace sinkaway
