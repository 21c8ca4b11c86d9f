// Which control a point hits, how the focus walks, and where each key goes.
#include "dialog.h"

#include <gtest/gtest.h>

namespace sinkaway {
namespace {

Form TitleScreen() {
    return MakeDesignForm();
}

Form PlayScreen() {
    Form f = MakeDesignForm();
    f.imgNewGame.visible = f.cmdNewGame.visible = false;
    f.chkBGM.visible = f.chkPower.visible = false;
    return f;
}

Form GameOverScreen() {
    Form f = PlayScreen();
    f.imgNewGame.visible = f.cmdNewGame.visible = true;
    return f;
}

TEST(HitTest, FindsTheTopmostVisibleControl) {
    const Form title = TitleScreen();
    EXPECT_EQ(HitTest(title, {2000, 3000}), Control::imgNewGame);
    // The button lies across the image's lower edge and above it.
    EXPECT_EQ(HitTest(title, {2000, 3650}), Control::cmdNewGame);
    EXPECT_EQ(HitTest(title, {1850, 3650}), Control::imgNewGame);
    EXPECT_EQ(HitTest(title, {400, 5000}), Control::chkPower);
    EXPECT_EQ(HitTest(title, {400, 5300}), Control::chkBGM);
    EXPECT_EQ(HitTest(title, {1000, 1000}), Control::kNone);
    // Right and bottom edges are outside, left and top inside.
    EXPECT_EQ(HitTest(title, {1800, 2880}), Control::imgNewGame);
    EXPECT_EQ(HitTest(title, {2900, 3000}), Control::kNone);

    const Form play = PlayScreen();
    EXPECT_EQ(HitTest(play, {2000, 3000}), Control::kNone);
    EXPECT_EQ(HitTest(play, {400, 5000}), Control::kNone);
    EXPECT_EQ(HitTest(GameOverScreen(), {2000, 3650}), Control::cmdNewGame);
}

TEST(FocusRing, StartsOnTheButtonAndWalksTheTabOrder) {
    const Form title = TitleScreen();
    FocusRing ring;
    EXPECT_EQ(ring.focused(), Control::cmdNewGame);
    const Control forward[] = {Control::chkBGM, Control::chkPower, Control::cmdNewGame};
    for (Control want : forward) {
        ring.Move(title, false);
        EXPECT_EQ(ring.focused(), want);
    }
    const Control back[] = {Control::chkPower, Control::chkBGM, Control::cmdNewGame};
    for (Control want : back) {
        ring.Move(title, true);
        EXPECT_EQ(ring.focused(), want);
    }
}

TEST(FocusRing, HiddenControlsLoseTheFocusAndAreSkipped) {
    FocusRing ring;
    ring.Drop(PlayScreen());
    EXPECT_EQ(ring.focused(), Control::kNone);
    ring.Move(PlayScreen(), false);  // nothing to take it
    EXPECT_EQ(ring.focused(), Control::kNone);

    // On the game-over screen nothing holds the focus until Tab gives it to the button.
    const Form over = GameOverScreen();
    ring.Drop(over);
    EXPECT_EQ(ring.focused(), Control::kNone);
    ring.Move(over, false);
    EXPECT_EQ(ring.focused(), Control::cmdNewGame);
    ring.Move(over, true);
    EXPECT_EQ(ring.focused(), Control::cmdNewGame);

    // A click on the image does not take the focus; one on a check box does.
    FocusRing clicked;
    clicked.Set(TitleScreen(), Control::imgNewGame);
    EXPECT_EQ(clicked.focused(), Control::cmdNewGame);
    clicked.Set(TitleScreen(), Control::chkPower);
    EXPECT_EQ(clicked.focused(), Control::chkPower);
    clicked.Set(PlayScreen(), Control::chkBGM);
    EXPECT_EQ(clicked.focused(), Control::chkPower);
}

TEST(RouteKeyDown, SendsEachKeyWhereItBelongs) {
    const Form title = TitleScreen(), play = PlayScreen(), over = GameOverScreen();
    const Control none = Control::kNone, button = Control::cmdNewGame, box = Control::chkBGM;
    struct Case {
        const char* what;
        const Form& form;
        Control focused;
        KeyPress key;
        KeyAction action;
        Control target;
    } cases[] = {
        {"arrows steer in play", play, none, {37}, KeyAction::kToGame, none},
        {"repeats steer too", play, none, {39, false, false, true}, KeyAction::kToGame, none},
        {"letters reach the game", play, none, {65}, KeyAction::kToGame, none},
        {"Enter in play is a key", play, none, {13}, KeyAction::kToGame, none},
        {"Tab in play is a key", play, none, {9}, KeyAction::kToGame, none},
        {"arrows steer on game over", over, none, {39}, KeyAction::kToGame, none},
        {"Enter presses the button", over, none, {13}, KeyAction::kClick, button},
        {"Enter presses it on the title", title, box, {13}, KeyAction::kClick, button},
        {"held Enter presses once",
         title,
         button,
         {13, false, false, true},
         KeyAction::kIgnore,
         none},
        {"Alt+Enter is fullscreen", play, none, {13, false, true}, KeyAction::kFullscreen, none},
        {"Alt+Enter not the button",
         title,
         button,
         {13, false, true},
         KeyAction::kFullscreen,
         none},
        {"F11 is fullscreen in play", play, none, {0x7A}, KeyAction::kFullscreen, none},
        {"F11 is fullscreen over a focused box",
         title,
         button,
         {0x7A},
         KeyAction::kFullscreen,
         none},
        {"Tab walks on", title, button, {9}, KeyAction::kFocusNext, none},
        {"Shift+Tab walks back", title, button, {9, true}, KeyAction::kFocusPrevious, none},
        {"Tab finds the button", over, none, {9}, KeyAction::kFocusNext, none},
        {"Space toggles the box", title, box, {32}, KeyAction::kClick, box},
        {"Space presses the button", title, button, {32}, KeyAction::kClick, button},
        {"held Space does not", title, box, {32, false, false, true}, KeyAction::kIgnore, none},
        {"Right moves the focus", title, button, {39}, KeyAction::kFocusNext, none},
        {"Down moves the focus", title, button, {40}, KeyAction::kFocusNext, none},
        {"Left moves it back", title, box, {37}, KeyAction::kFocusPrevious, none},
        {"Up moves it back", title, box, {38}, KeyAction::kFocusPrevious, none},
        {"a focused control eats letters", title, box, {65}, KeyAction::kIgnore, none},
    };
    for (const Case& c : cases) {
        const KeyRoute r = RouteKeyDown(c.form, c.focused, c.key);
        EXPECT_EQ(r.action, c.action) << c.what;
        if (c.action == KeyAction::kClick) {
            EXPECT_EQ(r.target, c.target) << c.what;
        }
    }
    EXPECT_TRUE(KeyUpReachesGame(none));
    EXPECT_FALSE(KeyUpReachesGame(button));
}

}  // namespace
}  // namespace sinkaway
