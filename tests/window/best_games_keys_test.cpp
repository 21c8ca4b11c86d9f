// The keys of the best games panel and of a replay, through the input router: H opens the panel
// only where there is no game in play, the panel and the replay keep every key (and its key-up)
// from the game, and a pad's Back or Y does what H does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_router.h"
#include "key_codes.h"

namespace sinkaway {
namespace {

using Kind = InputOutcome::Kind;
using Mode = InputRouter::Mode;

struct Step {
    char what;  // 'd' key-down, 'u' key-up, 'r' key repeat, 'b' pad's Back, 'w' a replay starts
    uint16_t vk;
    std::vector<Kind> out;
    Mode after;
};

struct Case {
    const char* name;
    bool inPlay;
    std::vector<Step> steps;
};

TEST(BestGamesKeys, PanelAndReplayOwnTheKeys) {
    const std::vector<Case> cases = {
        {"H in play is an ordinary key",
         true,
         {{'d', kKeyH, {Kind::kKeyDown}, Mode::kGame}, {'u', kKeyH, {Kind::kKeyUp}, Mode::kGame}}},
        {"the panel: choose, close, and H's key-up kept",
         false,
         {{'d', kKeyH, {Kind::kPanelOpen}, Mode::kPanel},
          {'u', kKeyH, {}, Mode::kPanel},
          {'d', kKeyDown, {Kind::kPanelDown}, Mode::kPanel},
          {'r', kKeyDown, {Kind::kPanelDown}, Mode::kPanel},
          {'u', kKeyDown, {}, Mode::kPanel},
          {'d', kKeyLeft, {}, Mode::kPanel},
          {'u', kKeyLeft, {}, Mode::kPanel},
          {'d', kKeyEscape, {Kind::kPanelClose}, Mode::kGame},
          {'u', kKeyEscape, {}, Mode::kGame}}},
        {"an arrow held before the panel still gets its key-up",
         false,
         {{'d', kKeyRight, {Kind::kKeyDown}, Mode::kGame},
          {'d', kKeyH, {Kind::kPanelOpen}, Mode::kPanel},
          {'u', kKeyRight, {Kind::kKeyUp}, Mode::kPanel}}},
        {"a replay: pause, faster, slower, then back to the panel",
         false,
         {{'b', 0, {Kind::kPanelOpen}, Mode::kPanel},
          {'d', kKeyEnter, {Kind::kPanelWatch}, Mode::kPanel},
          {'w', 0, {}, Mode::kReplay},
          {'d', kKeySpace, {Kind::kReplayPause}, Mode::kReplay},
          {'d', kKeyP, {Kind::kReplayPause}, Mode::kReplay},
          {'d', kKeyRight, {Kind::kReplayFaster}, Mode::kReplay},
          {'r', kKeyRight, {}, Mode::kReplay},
          {'d', kKeyAdd, {Kind::kReplayFaster}, Mode::kReplay},
          {'d', kKeyMinus, {Kind::kReplaySlower}, Mode::kReplay},
          {'u', kKeyMinus, {}, Mode::kReplay},
          {'d', kKeyEscape, {Kind::kReplayEnd}, Mode::kPanel},
          {'b', 0, {Kind::kPanelClose}, Mode::kGame}}},
    };
    for (const Case& c : cases) {
        // In play, or on the game-over screen that follows: no control holds the focus.
        Form form = MakeDesignForm();
        form.chkBGM.visible = form.chkPower.visible = false;
        form.imgNewGame.visible = form.cmdNewGame.visible = false;
        InputRouter router(form);
        router.FollowForm();
        form.imgNewGame.visible = form.cmdNewGame.visible = !c.inPlay;
        int n = 0;
        for (const Step& s : c.steps) {
            InputRouter::Outcomes outcomes;
            KeyPress press;
            press.vk = s.vk;
            press.repeat = s.what == 'r';
            switch (s.what) {
                case 'd':
                case 'r':
                    outcomes = router.KeyDown(press);
                    break;
                case 'u':
                    outcomes = router.KeyUp(s.vk);
                    break;
                case 'b':
                    outcomes = router.PadPress(1, PadButton::kBack, true);
                    break;
                case 'w':
                    router.Watching();
                    break;
            }
            std::vector<Kind> kinds;
            for (const InputOutcome& o : outcomes) kinds.push_back(o.kind);
            EXPECT_EQ(kinds, s.out) << c.name << ", step " << n;
            EXPECT_EQ(router.mode(), s.after) << c.name << ", step " << n;
            ++n;
        }
    }
}

TEST(BestGamesKeys, NothingUnderThePanelCanBeClicked) {
    Form form = MakeDesignForm();
    InputRouter router(form);
    KeyPress h;
    h.vk = kKeyH;
    router.KeyDown(h);
    EXPECT_TRUE(router.ButtonDown(Control::imgNewGame).empty());
    EXPECT_TRUE(router.ButtonUp(Control::imgNewGame).empty());
    EXPECT_TRUE(router.PadPress(1, PadButton::kA, true).empty());
}

}  // namespace
}  // namespace sinkaway
