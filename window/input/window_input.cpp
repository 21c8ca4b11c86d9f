// The window's events: keys, clicks and the pointer become the game's events or the dialog's own
// business (focus, fullscreen, tooltip).
#include "game_window.h"
#include "keys.h"
#include "pause.h"

namespace sinkaway {

namespace {

ClickTarget TargetOf(Control c) {
    switch (c) {
        case Control::imgNewGame:
            return ClickTarget::imgNewGame;
        case Control::cmdNewGame:
            return ClickTarget::cmdNewGame;
        case Control::chkBGM:
            return ClickTarget::chkBGM;
        default:
            return ClickTarget::chkPower;
    }
}

}  // namespace

void GameWindow::Handle(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            running_ = false;
            return;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                OnFocusLost();
            if (e.window.event == SDL_WINDOWEVENT_LEAVE)
                tooltip_.Leave();
            dirty_ = true;  // exposed, resized, and the rest: draw again
            return;
        case SDL_KEYDOWN:
            OnKeyDown(e.key);
            break;
        case SDL_KEYUP:
            OnKeyUp(e.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
            OnMouseDown(e.button);
            break;
        case SDL_MOUSEBUTTONUP:
            OnMouseUp(e.button);
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            OnPad(e);
            break;
        case SDL_MOUSEMOTION:
            OnMouseMotion(e.motion);
            return;  // the pointer alone changes nothing the game sees
        default:
            return;
    }
    AfterEvent();
}

void GameWindow::AfterEvent() {
    focus_.Drop(session_.game.form);
    if (!session_.game.form.imgNewGame.visible)
        tooltip_.Leave();
    dirty_ = true;
}

void GameWindow::OnKeyDown(const SDL_KeyboardEvent& key) {
    const uint16_t vk = ToVirtualKey(key.keysym.sym, key.keysym.mod);
    if (vk == 0)
        return;
    tooltip_.Dismiss();
    KeyPress press;
    press.vk = vk;
    press.shift = (key.keysym.mod & KMOD_SHIFT) != 0;
    press.alt = (key.keysym.mod & KMOD_ALT) != 0;
    press.repeat = key.repeat != 0;
    KeyDown(press);
}

void GameWindow::KeyDown(const KeyPress& press) {
    const uint16_t vk = press.vk;
    const Form& form = session_.game.form;
    const KeyRoute route = RouteKeyDown(form, focus_.focused(), press);
    if (route.action == KeyAction::kFullscreen) {
        // The Enter of Alt+Enter, and F11, are the window's: not even their key-up reaches
        // the game.
        windowKeys_.insert(vk);
        if (!press.repeat)
            ToggleFullscreen();
        return;
    }
    if (PauseTakes(press))
        return;
    if (windowKeys_.count(vk) != 0) {
        // Still held since the window took it: its repeats are the window's too.
        if (press.repeat)
            return;
        windowKeys_.erase(vk);
    }
    switch (route.action) {
        case KeyAction::kToGame:
            // Auto-repeats arrive as key-downs too: holding an arrow relies on them.
            SendKeyDown(vk);
            heldKeys_.insert(vk);
            break;
        case KeyAction::kFocusNext:
        case KeyAction::kFocusPrevious:
            focus_.Move(form, route.action == KeyAction::kFocusPrevious);
            break;
        case KeyAction::kClick:
            Click(route.target);
            break;
        case KeyAction::kFullscreen:
        case KeyAction::kIgnore:
            break;
    }
}

void GameWindow::OnKeyUp(const SDL_KeyboardEvent& key) {
    const uint16_t vk = ToVirtualKey(key.keysym.sym, key.keysym.mod);
    if (vk == 0)
        return;
    KeyUp(vk);
}

void GameWindow::KeyUp(uint16_t vk) {
    heldKeys_.erase(vk);
    // A key the window kept, or any key while paused: the game had its key-up at the pause.
    if (windowKeys_.erase(vk) != 0 || paused_)
        return;
    if (KeyUpReachesGame(focus_.focused()))
        SendKeyUp(vk);
}

void GameWindow::OnFocusLost() {
    // Nobody is watching the game any more.
    if (InPlay(session_.game.form))
        Pause();
    // Keys held while another window takes the keyboard never send their key-up: release them
    // here, or the ball would keep going with nobody at the keys.
    for (uint16_t vk : heldKeys_) {
        if (KeyUpReachesGame(focus_.focused()))
            SendKeyUp(vk);
    }
    heldKeys_.clear();
    SDL_SetModState(KMOD_NONE);
    pressed_ = Control::kNone;
    pressedOver_ = false;
    tooltip_.Leave();
}

Control GameWindow::ControlAt(int windowX, int windowY, int& outX, int& outY) const {
    // Window points and output pixels differ on high-density displays.
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    outX = ww > 0 ? windowX * ow / ww : windowX;
    outY = wh > 0 ? windowY * oh / wh : windowY;
    const Viewport vp = FitViewport(ow, oh);
    return HitTest(session_.game.form, vp.ToTwips(outX, outY));
}

void GameWindow::OnMouseDown(const SDL_MouseButtonEvent& b) {
    tooltip_.Dismiss();
    if (b.button != SDL_BUTTON_LEFT)
        return;
    int x, y;
    pressed_ = ControlAt(b.x, b.y, x, y);
    pressedOver_ = pressed_ != Control::kNone;
    focus_.Set(session_.game.form, pressed_);
    // Keep hearing the pointer if it leaves the window with the button down.
    if (pressed_ != Control::kNone)
        SDL_CaptureMouse(SDL_TRUE);
}

void GameWindow::OnMouseUp(const SDL_MouseButtonEvent& b) {
    if (b.button != SDL_BUTTON_LEFT)
        return;
    SDL_CaptureMouse(SDL_FALSE);
    int x, y;
    const Control over = ControlAt(b.x, b.y, x, y);
    const Control pressed = pressed_;
    pressed_ = Control::kNone;
    pressedOver_ = false;
    // A click is a press and a release on the same control.
    if (pressed != Control::kNone && over == pressed)
        Click(pressed);
}

void GameWindow::OnMouseMotion(const SDL_MouseMotionEvent& m) {
    int x, y;
    const Control over = ControlAt(m.x, m.y, x, y);
    tooltip_.Move(over == Control::imgNewGame, x, y, NowMillis());
    if (pressed_ != Control::kNone && pressedOver_ != (over == pressed_)) {
        pressedOver_ = over == pressed_;
        dirty_ = true;
    }
}

void GameWindow::Click(Control control) {
    if (control == Control::kNone || paused_)
        return;
    SendClick(TargetOf(control));
}

}  // namespace sinkaway
