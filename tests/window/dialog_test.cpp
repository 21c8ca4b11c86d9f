// Which control a point hits, on each screen.
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

}  // namespace
}  // namespace sinkaway
