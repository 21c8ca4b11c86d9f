// A pad through SDL itself: SDL's virtual joystick, plugged in, played and pulled out, under the
// dummy video driver. Its events reach the router as the keyboard's keys and the mouse's clicks.
#include "pad_devices.h"

#include <gtest/gtest.h>

#include <string>

#include "input_text.h"

namespace sinkaway {
namespace {

// Every pad event SDL has queued, through the pads to the router; what the router answered.
std::string Drain(PadDevices& pads, InputRouter& router) {
    std::string text;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (!PadDevices::IsPadEvent(e))
            continue;
        const std::string more = Text(pads.Handle(e, router));
        if (!text.empty() && !more.empty())
            text += ", ";
        text += more;
    }
    return text;
}

TEST(PadDevices, GiveTheKeysAndClicksOfTheKeyboard) {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    Form form = MakeDesignForm();
    NullMusicPlayer music;
    BestGames best(music);
    InputRouter router(form, best);
    PadDevices pads;
    // As the window starts them: SDL reads no pad with the events until one is open.
    pads.Start(0);
    ASSERT_TRUE(SDL_WasInit(SDL_INIT_GAMECONTROLLER));
    EXPECT_EQ(pads.MillisToLook(0), PadDevices::kLookEveryMs);

    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_NE(stick, nullptr) << SDL_GetError();
    EXPECT_EQ(Drain(pads, router), "");   // plugged in: opened, nothing to do yet
    EXPECT_EQ(pads.MillisToLook(0), -1);  // from now on SDL reads it with every event

    const auto button = [&](SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0);
        return Drain(pads, router);
    };
    const auto axis = [&](SDL_GameControllerAxis a, Sint16 value) {
        SDL_JoystickSetVirtualAxis(stick, a, value);
        return Drain(pads, router);
    };
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_A, true), "click cmdNewGame");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_A, false), "");
    // The game starts: the dialog's controls go.
    form.imgNewGame.visible = form.cmdNewGame.visible = false;
    form.chkBGM.visible = form.chkPower.visible = false;
    router.FollowForm();

    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true), "down 39");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false), "up 39");
    EXPECT_EQ(axis(SDL_CONTROLLER_AXIS_LEFTY, -32768), "");
    EXPECT_EQ(axis(SDL_CONTROLLER_AXIS_LEFTX, -32768), "down 37");
    EXPECT_EQ(axis(SDL_CONTROLLER_AXIS_LEFTX, 0), "up 37");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true), "down 37");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_START, true), "up 37, pause");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_START, false), "");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false), "");  // the pause had its key-up
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_START, true), "resume");
    EXPECT_EQ(button(SDL_CONTROLLER_BUTTON_START, false), "");
    EXPECT_EQ(axis(SDL_CONTROLLER_AXIS_LEFTX, 32767), "down 39");

    // Pulled out while it holds a direction: the key goes up.
    SDL_JoystickClose(stick);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
    EXPECT_EQ(Drain(pads, router), "up 39");
    EXPECT_GE(pads.MillisToLook(0), 0);  // and the loop looks for the next one again

    pads.Close();
    SDL_Quit();
}

}  // namespace
}  // namespace sinkaway
