// Test rig: a loaded session on a scripted random source, and ways to look at a form as a whole.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "scripted_source.h"

namespace sinkaway::testing {

// The largest float below 1, the top end of any generator.
inline constexpr float kAlmostOne = 0x1.fffffep-1f;
// One tick of the 1 ms timers on the virtual clock.
inline constexpr Micros kPeriod = kSystemTick;

// A session after its load event, on the title screen. Random draws come only from what a test
// pushes; an unexpected draw makes the source throw and the test fail.
struct Rig {
    ScriptedSource random;
    CountingMusic music;
    Session session{random, music};
    Game& game = session.game;
    Form& form = game.form;
    GameState& state = game.state;

    Rig() { session.Load(1); }
    void NewGame() { session.Click(ClickTarget::imgNewGame); }
    void MainTick() { session.Tick(TimerId::tmrMain); }
};

// The names of the visible controls, to compare whole screens at once.
inline std::set<std::string> VisibleControls(const Form& f) {
    const std::pair<const char*, bool> all[] = {
        {"shpWallTop", f.shpWallTop.visible},
        {"shpWallLeft", f.shpWallLeft.visible},
        {"shpWallRight", f.shpWallRight.visible},
        {"shpWallBottom", f.shpWallBottom.visible},
        {"shpBall", f.shpBall.visible},
        {"shpHole", f.shpHole.visible},
        {"shpFloor", f.shpFloor.visible},
        {"shpPower", f.shpPower.visible},
        {"lblScore", f.lblScore.visible},
        {"lblGameOverScore", f.lblGameOverScore.visible},
        {"lblVantrel", f.lblVantrel.visible},
        {"lblSinkaway", f.lblSinkaway.visible},
        {"lblGameOver", f.lblGameOver.visible},
        {"chkPower", f.chkPower.visible},
        {"chkBGM", f.chkBGM.visible},
        {"imgNewGame", f.imgNewGame.visible},
        {"cmdNewGame", f.cmdNewGame.visible},
    };
    std::set<std::string> names;
    for (const auto& [name, visible] : all) {
        if (visible) {
            names.insert(name);
        }
    }
    return names;
}

inline const std::set<std::string> kWalls = {"shpWallTop", "shpWallLeft", "shpWallRight",
                                             "shpWallBottom"};

inline std::set<std::string> WallsAnd(std::initializer_list<std::string> more) {
    std::set<std::string> names = kWalls;
    names.insert(more);
    return names;
}

// Everything the rules can change on a form, compared field by field; names the first difference.
inline ::testing::AssertionResult SameForm(const Form& a, const Form& b) {
    std::ostringstream diff;
    auto shape = [&](const char* name, const Shape& x, const Shape& y) {
        if (x.left != y.left || x.top != y.top || x.width != y.width || x.height != y.height ||
            x.visible != y.visible || x.fillColor != y.fillColor ||
            x.borderColor != y.borderColor || x.backColor != y.backColor) {
            diff << name << " ";
        }
    };
    auto label = [&](const char* name, const Label& x, const Label& y) {
        if (x.caption != y.caption || x.foreColor != y.foreColor || x.visible != y.visible) {
            diff << name << " ";
        }
    };
    if (a.backColor != b.backColor)
        diff << "backColor ";
    shape("shpWallTop", a.shpWallTop, b.shpWallTop);
    shape("shpWallLeft", a.shpWallLeft, b.shpWallLeft);
    shape("shpWallRight", a.shpWallRight, b.shpWallRight);
    shape("shpWallBottom", a.shpWallBottom, b.shpWallBottom);
    shape("shpBall", a.shpBall, b.shpBall);
    shape("shpHole", a.shpHole, b.shpHole);
    shape("shpFloor", a.shpFloor, b.shpFloor);
    shape("shpPower", a.shpPower, b.shpPower);
    label("lblScore", a.lblScore, b.lblScore);
    label("lblGameOverScore", a.lblGameOverScore, b.lblGameOverScore);
    label("lblVantrel", a.lblVantrel, b.lblVantrel);
    label("lblSinkaway", a.lblSinkaway, b.lblSinkaway);
    label("lblGameOver", a.lblGameOver, b.lblGameOver);
    if (a.chkPower.value != b.chkPower.value || a.chkPower.visible != b.chkPower.visible) {
        diff << "chkPower ";
    }
    if (a.chkBGM.value != b.chkBGM.value || a.chkBGM.visible != b.chkBGM.visible) {
        diff << "chkBGM ";
    }
    if (a.imgNewGame.visible != b.imgNewGame.visible)
        diff << "imgNewGame ";
    if (a.cmdNewGame.visible != b.cmdNewGame.visible)
        diff << "cmdNewGame ";
    for (TimerId id : kAllTimers) {
        if (a.timer(id).enabled != b.timer(id).enabled)
            diff << TimerName(id) << " ";
    }
    if (diff.str().empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "forms differ in: " << diff.str();
}

}  // namespace sinkaway::testing
