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

// A session after its load event, on the title screen. With the default source, random draws come
// only from what a test pushes, and an unexpected draw makes the source throw and the test fail;
// a game played for real runs on a SeededGenerator.
template <typename Source = ScriptedSource>
struct RigOn {
    Source random;
    CountingMusic music;
    Session session{random, music};
    Game& game = session.game;
    Form& form = game.form;
    GameState& state = game.state;

    RigOn() { session.Load(1); }
    void NewGame() { session.Click(ClickTarget::imgNewGame); }
    void MainTick() { session.Tick(TimerId::tmrMain); }
};
using Rig = RigOn<>;

// The names of the visible controls, to compare whole screens at once.
inline std::set<std::string> VisibleControls(const Form& f) {
    std::set<std::string> names;
    ForEachControl(f, [&names](const char* name, const auto& control) {
        if (control.visible)
            names.insert(name);
    });
    return names;
}

inline const std::set<std::string> kWalls = {"shpWallTop", "shpWallLeft", "shpWallRight",
                                             "shpWallBottom"};

inline std::set<std::string> WallsAnd(std::initializer_list<std::string> more) {
    std::set<std::string> names = kWalls;
    names.insert(more);
    return names;
}

}  // namespace sinkaway::testing

namespace sinkaway {

// The variables by name in a failure, rather than as bytes.
inline void PrintTo(const GameState& s, std::ostream* out) {
    const char* separator = "";
    ForEachVariable(s, [&](const char* name, auto value) {
        *out << separator << name << ' ' << value;
        separator = ", ";
    });
}

}  // namespace sinkaway

namespace sinkaway::testing {

// Everything the rules can change on a form, compared field by field; names the first difference.
inline ::testing::AssertionResult SameForm(const Form& a, const Form& b) {
    std::ostringstream diff;
    auto differ = [&](const auto& list, auto same) {
        for (const auto& c : list) {
            if (!same(a.*c.member, b.*c.member))
                diff << c.name << " ";
        }
    };
    if (a.backColor != b.backColor)
        diff << "backColor ";
    differ(kFormShapes, [](const Shape& x, const Shape& y) {
        return x.left == y.left && x.top == y.top && x.width == y.width && x.height == y.height &&
               x.visible == y.visible && x.fillColor == y.fillColor &&
               x.borderColor == y.borderColor && x.backColor == y.backColor;
    });
    differ(kFormLabels, [](const Label& x, const Label& y) {
        return x.caption == y.caption && x.foreColor == y.foreColor && x.visible == y.visible;
    });
    differ(kFormCheckBoxes, [](const CheckBox& x, const CheckBox& y) {
        return x.value == y.value && x.visible == y.visible;
    });
    differ(kFormClickables,
           [](const Clickable& x, const Clickable& y) { return x.visible == y.visible; });
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
