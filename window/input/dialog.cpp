// Hit testing, the focus ring and the routing of keys between the window's controls and the game.
#include "dialog.h"

#include <array>

#include "key_codes.h"

namespace sinkaway {

namespace {

constexpr std::array<Control, 3> kTabOrder = {Control::cmdNewGame, Control::chkBGM,
                                              Control::chkPower};

bool Focusable(const Form& form, Control c) {
    return c != Control::kNone && c != Control::imgNewGame && IsVisible(form, c);
}

bool AnyFocusable(const Form& form) {
    for (Control c : kTabOrder) {
        if (Focusable(form, c))
            return true;
    }
    return false;
}

}  // namespace

std::optional<ClickTarget> TargetOf(Control control) {
    switch (control) {
        case Control::kNone:
            return std::nullopt;
        case Control::imgNewGame:
            return ClickTarget::imgNewGame;
        case Control::cmdNewGame:
            return ClickTarget::cmdNewGame;
        case Control::chkBGM:
            return ClickTarget::chkBGM;
        case Control::chkPower:
            return ClickTarget::chkPower;
    }
    return std::nullopt;
}

bool IsVisible(const Form& form, Control control) {
    switch (control) {
        case Control::kNone:
            return false;
        case Control::imgNewGame:
            return form.imgNewGame.visible;
        case Control::cmdNewGame:
            return form.cmdNewGame.visible;
        case Control::chkBGM:
            return form.chkBGM.visible;
        case Control::chkPower:
            return form.chkPower.visible;
    }
    return false;
}

Control HitTest(const Form& form, TwipPoint p) {
    // Front to back. The two check boxes overlap by a sliver; the later one in the tab order
    // was created later and lies on top.
    if (form.chkPower.visible && Contains(form.chkPower, p))
        return Control::chkPower;
    if (form.chkBGM.visible && Contains(form.chkBGM, p))
        return Control::chkBGM;
    if (form.cmdNewGame.visible && Contains(form.cmdNewGame, p))
        return Control::cmdNewGame;
    if (form.imgNewGame.visible && Contains(form.imgNewGame, p))
        return Control::imgNewGame;
    return Control::kNone;
}

void FocusRing::Set(const Form& form, Control control) {
    if (Focusable(form, control))
        focused_ = control;
}

void FocusRing::Move(const Form& form, bool backwards) {
    const int n = static_cast<int>(kTabOrder.size());
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (kTabOrder[i] == focused_)
            at = i;
    }
    if (at < 0)
        at = backwards ? 0 : n - 1;  // from nowhere: the first (or last) one
    for (int step = 1; step <= n; ++step) {
        const Control c = kTabOrder[((at + (backwards ? -step : step)) % n + n) % n];
        if (Focusable(form, c)) {
            focused_ = c;
            return;
        }
    }
}

void FocusRing::Drop(const Form& form) {
    if (!Focusable(form, focused_))
        focused_ = Control::kNone;
}

KeyRoute WhereKeyGoes(const Form& form, Control focused, const KeyPress& key) {
    if ((key.vk == kKeyEnter && key.alt) || key.vk == kKeyF11)
        return {KeyAction::kFullscreen};
    if (key.vk == kKeyTab && AnyFocusable(form)) {
        return {key.shift ? KeyAction::kFocusPrevious : KeyAction::kFocusNext};
    }
    if (key.vk == kKeyEnter && form.cmdNewGame.visible) {
        if (key.repeat)
            return {KeyAction::kIgnore};
        return {KeyAction::kClick, Control::cmdNewGame};
    }
    if (focused == Control::kNone)
        return {KeyAction::kToGame};

    switch (key.vk) {
        case kKeySpace:
            if (key.repeat)
                return {KeyAction::kIgnore};
            return {KeyAction::kClick, focused};
        case kKeyLeft:
        case kKeyUp:
            return {KeyAction::kFocusPrevious};
        case kKeyRight:
        case kKeyDown:
            return {KeyAction::kFocusNext};
        default:
            return {KeyAction::kIgnore};
    }
}

}  // namespace sinkaway
