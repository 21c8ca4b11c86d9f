// What must hold after every event and every tick, whatever the player or a script does. Shared by
// the soak bot and the script fuzzer, so it only reads the game and never allocates.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "game.h"
#include "numeric.h"

namespace sinkaway::testing {

// What was delivered: the checks differ for clicks (which may start a game) and for ticks.
enum class EventKind : uint8_t { kClick, kOther, kMainTick, kGameOverTick, kOtherTick };

inline EventKind KindOfTick(TimerId id) {
    if (id == TimerId::tmrMain)
        return EventKind::kMainTick;
    if (id == TimerId::tmrGameOver)
        return EventKind::kGameOverTick;
    return EventKind::kOtherTick;
}

class InvariantChecker {
  public:
    // Null when everything holds, else a description of the first thing broken (valid until the
    // next call).
    const char* Check(const Game& game, EventKind kind) {
        const char* broken = Find(game, kind);
        const GameState& s = game.state;
        lastFloorTop_ = game.form.shpFloor.top;
        lastScore_ = s.dblScore;
        return broken;
    }

  private:
    static bool IsFlag(int16_t v) { return v == 0 || v == -1; }
    static bool IsWhole(double v) { return std::isfinite(v) && v == std::floor(v); }
    static bool OneOf(int v, std::initializer_list<int> set) {
        for (int x : set) {
            if (v == x)
                return true;
        }
        return false;
    }

    const char* Say(const char* what, double value) {
        std::snprintf(message_, sizeof message_, "%s (value %.9g)", what, value);
        return message_;
    }

    const char* Find(const Game& game, EventKind kind) {
        const GameState& s = game.state;
        const Form& f = game.form;
        const Shape& hole = f.shpHole;

        for (int16_t flag : {s.blnGameOver, s.blnOnFloor, s.blnOverHole, s.blnThroughHole}) {
            if (!IsFlag(flag))
                return Say("a flag holds neither 0 nor -1", flag);
        }

        // Before the first game the speeds are still the zeros of a new window; afterwards each
        // holds one of the values the rules write, so a 16-bit wrap shows at once.
        const bool titleScreen = f.lblSinkaway.visible;
        if (titleScreen) {
            if (s.intFallStep != 0 || s.intSideSpeed != 0 || s.intRiseStep != 0 || s.intBallDX != 0)
                return Say("speeds changed before the first game", s.intFallStep);
        } else {
            if (!OneOf(s.intFallStep, {50, 55, 75}))
                return Say("fall step", s.intFallStep);
            if (!OneOf(s.intSideSpeed, {100, 125}))
                return Say("side speed", s.intSideSpeed);
            if (!OneOf(s.intRiseStep, {50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 155, 170}))
                return Say("rise step", s.intRiseStep);
            // A key held while a power-up ends keeps its 125 until the next key-down.
            if (!OneOf(s.intBallDX, {0, 100, -100, 125, -125}))
                return Say("ball step", s.intBallDX);
        }

        if (!IsWhole(s.dblScore) || s.dblScore < 0)
            return Say("score", s.dblScore);
        // Only a click that starts a new game may take the score back, and only to 0.
        if (s.dblScore < lastScore_ && !(kind == EventKind::kClick && s.dblScore == 0))
            return Say("score went down", s.dblScore);
        if (s.intPowerTicks < 0)
            return Say("power ticks", s.intPowerTicks);
        if (f.timer(TimerId::tmrPower).enabled != (s.intPowerTicks > 0))
            return Say("power timer and power ticks disagree", s.intPowerTicks);

        // The hole: the design hole of the very first bar, or one the rules drew, always wholly on
        // the bar.
        const bool designHole = hole.left == 2760.0f && hole.width == 1095.0f;
        if (!designHole && !(hole.width >= 400 && hole.width <= 800 && IsWhole(hole.width)))
            return Say("hole width", hole.width);
        if (!IsWhole(hole.left) || hole.left < 0 || hole.left + hole.width > kFloorSpan)
            return Say("hole outside the bar", hole.left);
        if (kind == EventKind::kMainTick && lastFloorTop_ == kRecycleTop)
            recycledHole_ = true;
        if (kind == EventKind::kGameOverTick && s.blnGameOver == kTrue)
            recycledHole_ = false;
        if (recycledHole_ && !(hole.width >= 550 && hole.width <= 800))
            return Say("hole of a returning bar", hole.width);
        if (kind == EventKind::kMainTick && f.shpFloor.top != kRecycleTop &&
            hole.top != f.shpFloor.top)
            return Say("hole left its bar", hole.top);

        // Sizes never change; the ball stays between the walls.
        const Shape& ball = f.shpBall;
        if (ball.width != 300 || ball.height != 300)
            return Say("ball size", ball.width);
        if (f.shpFloor.left != 0 || f.shpFloor.width != kFloorSpan ||
            f.shpFloor.height != kFloorHeight || hole.height != 615)
            return Say("bar or hole size", f.shpFloor.width);
        if (f.shpPower.width != 200 || f.shpPower.height != 200)
            return Say("token size", f.shpPower.width);
        if (ball.left < 80 || ball.left > 4260)
            return Say("ball beyond a wall", ball.left);
        if (kind == EventKind::kMainTick && ball.top <= 80 && s.blnGameOver != kTrue)
            return Say("ball at the ceiling without game over", ball.top);

        // Timers and controls move together.
        const bool playing = f.timer(TimerId::tmrMain).enabled;
        if (!f.timer(TimerId::tmrGameOver).enabled)
            return "the game-over poller stopped";
        if (f.timer(TimerId::tmrScore).enabled != playing)
            return "score timer without main timer";
        if (f.imgNewGame.visible == playing || f.cmdNewGame.visible == playing)
            return "new-game controls shown during play or hidden outside it";
        for (Color c : {f.backColor, ball.fillColor, ball.borderColor, hole.fillColor,
                        f.shpFloor.fillColor, f.lblScore.foreColor, f.lblGameOver.foreColor}) {
            if (c > 0xFFFFFF)
                return Say("colour beyond 24 bits", c);
        }
        return nullptr;
    }

    float lastFloorTop_ = 0;
    double lastScore_ = 0;
    bool recycledHole_ = false;  // the hole was drawn for a returning bar and no game over since
    char message_[128] = "";
};

}  // namespace sinkaway::testing
