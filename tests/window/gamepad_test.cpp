// The pad as keys: presses and releases pair up, the stick neither chatters nor drifts, and a pad
// that goes away lets go of what it held.
#include <gtest/gtest.h>

#include "gamepad.h"

namespace sinkaway {
namespace {

constexpr uint16_t kLeft = 37, kRight = 39;
using K = PadOutput::Kind;

PadOutput Down(uint16_t vk) {
    return {K::kKeyDown, vk};
}
PadOutput Up(uint16_t vk) {
    return {K::kKeyUp, vk};
}

std::vector<PadOutput> Stick(PadMapper& m, std::initializer_list<int> values, int pad = 0) {
    std::vector<PadOutput> out;
    for (int v : values) m.StickX(pad, v, out);
    return out;
}

TEST(PadMapper, DpadPressAndReleaseAreKeyDownAndUp) {
    PadMapper m;
    std::vector<PadOutput> out;
    m.Button(0, PadButton::kDpadLeft, true, out);
    m.Button(0, PadButton::kDpadLeft, false, out);
    m.Button(0, PadButton::kDpadRight, true, out);
    m.Button(0, PadButton::kDpadRight, false, out);
    EXPECT_EQ(out, (std::vector{Down(kLeft), Up(kLeft), Down(kRight), Up(kRight)}));
}

TEST(PadMapper, StickHasADeadZoneAndHysteresis) {
    struct Case {
        const char* what;
        std::initializer_list<int> values;
        std::vector<PadOutput> want;
    };
    const int press = PadMapper::kStickPress, release = PadMapper::kStickRelease;
    const Case cases[] = {
        {"resting noise does nothing", {300, -2000, 9000, -press + 1}, {}},
        {"full right and back", {32767, 0}, {Down(kRight), Up(kRight)}},
        {"full left and back", {-32768, 0}, {Down(kLeft), Up(kLeft)}},
        {"hovering between the thresholds holds",
         {press, press - 1, release, press + 5},
         {Down(kRight)}},
        {"inside the release threshold lets go", {press, release - 1}, {Down(kRight), Up(kRight)}},
        {"left side mirrors the right", {-press, -release, -release + 1}, {Down(kLeft), Up(kLeft)}},
        {"swung across: release before press",
         {32767, -32768},
         {Down(kRight), Up(kRight), Down(kLeft)}},
        {"moves within a side repeat nothing", {20000, 25000, 32767, 20000}, {Down(kRight)}},
    };
    for (const Case& c : cases) {
        PadMapper m;
        EXPECT_EQ(Stick(m, c.values), c.want) << c.what;
    }
}

TEST(PadMapper, KeyGoesUpOnlyWhenNothingHoldsItAnyMore) {
    PadMapper m;
    std::vector<PadOutput> out;
    m.Button(0, PadButton::kDpadRight, true, out);
    m.StickX(0, 32767, out);                        // the stick too: already down
    m.Button(1, PadButton::kDpadRight, true, out);  // and a second pad
    m.Button(0, PadButton::kDpadRight, false, out);
    m.StickX(0, 0, out);
    EXPECT_EQ(out, std::vector{Down(kRight)});
    m.Button(1, PadButton::kDpadRight, false, out);
    EXPECT_EQ(out, (std::vector{Down(kRight), Up(kRight)}));
}

TEST(PadMapper, RemovingAPadReleasesWhatItHeld) {
    PadMapper m;
    std::vector<PadOutput> out;
    m.Button(3, PadButton::kDpadLeft, true, out);
    m.StickX(7, 32767, out);
    m.Removed(3, out);
    m.Removed(3, out);  // twice, or a pad never seen: nothing
    m.Removed(42, out);
    EXPECT_EQ(out, (std::vector{Down(kLeft), Down(kRight), Up(kLeft)}));
    EXPECT_TRUE(m.Holds(kRight));
    // A new pad under the old id starts from rest.
    out.clear();
    m.StickX(3, 0, out);
    EXPECT_TRUE(out.empty());
}

TEST(PadMapper, AAndStartOnPressOnly) {
    PadMapper m;
    std::vector<PadOutput> out;
    for (bool pressed : {true, false}) {
        m.Button(0, PadButton::kA, pressed, out);
        m.Button(0, PadButton::kStart, pressed, out);
        m.Button(0, PadButton::kOther, pressed, out);
    }
    EXPECT_EQ(out, (std::vector<PadOutput>{{K::kNewGame}, {K::kStart}}));
}

}  // namespace
}  // namespace sinkaway
