// SDL's events to the input router, and what it answers to the session and the screen. The rules
// of input live in the router; this is only the glue, with the tooltip and the mouse capture.
#include "game_window.h"
#include "keys.h"
#include "platform.h"

namespace sinkaway {

namespace {

// Fullscreen on the desktop's own mode: no mode switch, and the picture is fitted, centred and
// kept in proportion by the same viewport as any window size.
void ToggleFullscreen(SDL_Window* window) {
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// A browser tab put in the background pauses the game as a window that lost the focus does.
bool HiddenPage(Uint8 event) {
    return event == SDL_WINDOWEVENT_HIDDEN && platform::HiddenWindowPauses();
}

KeyPress PressOf(const SDL_KeyboardEvent& key, uint16_t vk) {
    KeyPress press;
    press.vk = vk;
    press.shift = (key.keysym.mod & KMOD_SHIFT) != 0;
    press.alt = (key.keysym.mod & KMOD_ALT) != 0;
    press.repeat = key.repeat != 0;
    return press;
}

}  // namespace

void GameWindow::Handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            running_ = false;
            return;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(e.window);
            return;
        case SDL_KEYDOWN:
            if (const uint16_t vk = ToVirtualKey(e.key.keysym.sym, e.key.keysym.mod); vk != 0) {
                tooltip_.Dismiss();
                Apply(router_.KeyDown(PressOf(e.key, vk)));
            }
            break;
        case SDL_KEYUP:
            if (const uint16_t vk = ToVirtualKey(e.key.keysym.sym, e.key.keysym.mod); vk != 0)
                Apply(router_.KeyUp(vk));
            break;
        case SDL_FINGERDOWN:
            tooltip_.Dismiss();
            Apply(router_.FingerDown(TouchOf(e.tfinger)));
            break;
        case SDL_FINGERUP:
            Apply(router_.FingerUp(TouchOf(e.tfinger)));
            break;
        case SDL_FINGERMOTION: {
            const InputRouter::Outcomes outcomes = router_.FingerMoved(TouchOf(e.tfinger));
            if (outcomes.empty())
                return;  // a finger sliding on its own half changes nothing
            Apply(outcomes);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION:
            if (!HandleMouse(e))
                return;
            break;
        default:
            if (!PadDevices::IsPadEvent(e))
                return;
            Apply(pads_.Handle(e, router_));
            break;
    }
    AfterEvent();
}

void GameWindow::HandleWindowEvent(const SDL_WindowEvent& event) {
    if (event.event == SDL_WINDOWEVENT_FOCUS_LOST || HiddenPage(event.event)) {
        Apply(router_.FocusLost());
        SDL_SetModState(KMOD_NONE);
        tooltip_.Leave();
    }
    if (event.event == SDL_WINDOWEVENT_LEAVE)
        tooltip_.Leave();
    overlays_.Invalidate();  // exposed, resized, and the rest: draw again
}

bool GameWindow::HandleMouse(const SDL_Event& e) {
    // SDL makes mouse events of touches too: the fingers have had their say already.
    const bool touch = e.type == SDL_MOUSEMOTION ? e.motion.which == SDL_TOUCH_MOUSEID
                                                 : e.button.which == SDL_TOUCH_MOUSEID;
    if (touch)
        return false;
    int x = 0, y = 0;
    if (e.type == SDL_MOUSEMOTION) {
        const Control over = ControlAt(e.motion.x, e.motion.y, x, y);
        tooltip_.Move(over == Control::imgNewGame, x, y, clock_.NowMillis());
        Apply(router_.PointerMoved(over));
        return false;  // the pointer alone changes nothing the game sees
    }
    if (e.type == SDL_MOUSEBUTTONDOWN) {
        tooltip_.Dismiss();
        if (e.button.button != SDL_BUTTON_LEFT)
            return true;
        Apply(router_.ButtonDown(ControlAt(e.button.x, e.button.y, x, y)));
        // Keep hearing the pointer if it leaves the window with the button down.
        if (router_.pressed() != Control::kNone)
            SDL_CaptureMouse(SDL_TRUE);
        return true;
    }
    if (e.button.button != SDL_BUTTON_LEFT)
        return true;
    SDL_CaptureMouse(SDL_FALSE);
    Apply(router_.ButtonUp(ControlAt(e.button.x, e.button.y, x, y)));
    return true;
}

void GameWindow::Apply(InputRouter::Outcomes outcomes) {
    for (const InputOutcome& o : outcomes) {
        switch (o.kind) {
            case InputOutcome::Kind::kClick:
                player_.Click(o.target);
                if (o.target == ClickTarget::chkBGM || o.target == ClickTarget::chkPower)
                    best_.games().BoxesTouched();
                break;
            case InputOutcome::Kind::kKeyDown:
                player_.KeyDown(o.vk);
                break;
            case InputOutcome::Kind::kKeyUp:
                player_.KeyUp(o.vk);
                break;
            case InputOutcome::Kind::kPause:
                HoldSound();
                break;
            case InputOutcome::Kind::kResume:
                // The time spent paused is not the game's: no catching up.
                clock_.Restart();
                ResumeSound();
                break;
            case InputOutcome::Kind::kFullscreen:
                ToggleFullscreen(screen_.window);
                break;
            case InputOutcome::Kind::kFocus:
            case InputOutcome::Kind::kPressed:
                break;
            case InputOutcome::Kind::kBestGames:
                Carry(best_.Handle(o.command, o.slot));
                break;
        }
        overlays_.Invalidate();
    }
}

void GameWindow::AfterEvent() {
    router_.FollowForm();
    if (!session_.game.form.imgNewGame.visible)
        tooltip_.Leave();
    overlays_.Invalidate();
}

Touch GameWindow::TouchOf(const SDL_TouchFingerEvent& finger) const {
    // SDL gives a finger's place as a share of the window's width and height.
    int ww = 1, wh = 1, x = 0, y = 0;
    SDL_GetWindowSize(screen_.window, &ww, &wh);
    const TwipPoint p = TwipsAt(static_cast<int>(finger.x * static_cast<float>(ww)),
                                static_cast<int>(finger.y * static_cast<float>(wh)), x, y);
    Touch touch;
    touch.finger = finger.fingerId;
    touch.across = finger.x;
    touch.over = HitTest(session_.game.form, p);
    best_.AddTouch(session_.game.form, p, x, y,
                   screen_.drawer ? screen_.drawer->replayTagBox() : PixelRect{}, touch);
    return touch;
}

Control GameWindow::ControlAt(int windowX, int windowY, int& outX, int& outY) const {
    return HitTest(session_.game.form, TwipsAt(windowX, windowY, outX, outY));
}

TwipPoint GameWindow::TwipsAt(int windowX, int windowY, int& outX, int& outY) const {
    // Window points and output pixels differ on high-density displays.
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(screen_.window, &ww, &wh);
    SDL_GetRendererOutputSize(screen_.renderer, &ow, &oh);
    outX = ww > 0 ? windowX * ow / ww : windowX;
    outY = wh > 0 ? windowY * oh / wh : windowY;
    return FitViewport(ow, oh).ToTwips(outX, outY);
}

}  // namespace sinkaway
