// The window's input rules: pause, the keys held and the keys the window keeps, the mouse button,
// the focus ring and the pads.
#include "input_router.h"

#include "key_codes.h"

namespace sinkaway {

namespace {

bool IsPauseKey(uint16_t vk) {
    return vk == kKeyP || vk == kKeyPause;
}

}  // namespace

void InputRouter::Begin() {
    out_.clear();
}

void InputRouter::Emit(InputOutcome::Kind kind, uint16_t vk) {
    out_.push_back({kind, vk});
}

void InputRouter::Emit(BestGames::Command command, int slot) {
    InputOutcome o{InputOutcome::Kind::kBestGames};
    o.command = command;
    o.slot = slot;
    out_.push_back(o);
}

InputRouter::Outcomes InputRouter::KeyDown(const KeyPress& press) {
    Begin();
    RouteKeyDown(press);
    return out_;
}

void InputRouter::RouteKeyDown(const KeyPress& press) {
    const KeyRoute route = WhereKeyGoes(form_, focus_.focused(), press);
    if (TakenByWindow(press, route) || TakenByName(press) || TakenByPause(press) ||
        TakenByMode(press))
        return;
    ToScreen(press, route);
}

bool InputRouter::TakenByWindow(const KeyPress& press, const KeyRoute& route) {
    if (route.action != KeyAction::kFullscreen)
        return false;
    // The Enter of Alt+Enter, and F11, are the window's: not even their key-up reaches the game.
    windowKeys_.insert(press.vk);
    if (!press.repeat)
        Emit(InputOutcome::Kind::kFullscreen);
    return true;
}

bool InputRouter::TakenByName(const KeyPress& press) {
    using Command = BestGames::Command;
    if (best_.mode() != BestGames::Mode::kName)
        return false;
    // Its key-up stays the window's too, but for a key the game heard go down before the entry
    // opened: held on through it, it goes up for the game as well.
    const uint16_t vk = press.vk;
    if (heldKeys_.count(vk) == 0)
        windowKeys_.insert(vk);
    // Up and Down step on while held, through the alphabet; the others act once a press.
    if (vk == kKeyUp) {
        Emit(Command::kNameUp);
    } else if (vk == kKeyDown) {
        Emit(Command::kNameDown);
    } else if (press.repeat) {
        return true;
    } else if (vk == kKeyLeft || vk == kKeyRight) {
        Emit(vk == kKeyLeft ? Command::kNameLeft : Command::kNameRight);
    } else if (vk == kKeyEnter) {
        Emit(Command::kNameEnter);  // not Alt+Enter: the window took that
    } else if (vk == kKeyEscape) {
        Emit(Command::kNameEscape);
    }
    return true;
}

void InputRouter::ToScreen(const KeyPress& press, const KeyRoute& route) {
    const uint16_t vk = press.vk;
    if (windowKeys_.count(vk) != 0) {
        // Still held since the window took it: its repeats are the window's too.
        if (press.repeat)
            return;
        windowKeys_.erase(vk);
    }
    switch (route.action) {
        case KeyAction::kToGame:
            // Auto-repeats arrive as key-downs too: holding an arrow relies on them.
            Emit(InputOutcome::Kind::kKeyDown, vk);
            heldKeys_.insert(vk);
            break;
        case KeyAction::kFocusNext:
        case KeyAction::kFocusPrevious:
            MoveFocus(route.action == KeyAction::kFocusPrevious);
            break;
        case KeyAction::kClick:
            Click(route.target);
            break;
        case KeyAction::kFullscreen:
        case KeyAction::kIgnore:
            break;
    }
}

bool InputRouter::TakenByPause(const KeyPress& press) {
    if (paused_) {
        if (IsPauseKey(press.vk) && !press.repeat)
            Resume();
        windowKeys_.insert(press.vk);
        return true;
    }
    // Only a game in play pauses: the title and game-over screens wait for the player anyway, and
    // their only timers are the ones that keep the picture going.
    if (IsPauseKey(press.vk) && InPlay(form_)) {
        if (!press.repeat)
            Pause();
        windowKeys_.insert(press.vk);
        return true;
    }
    return false;
}

bool InputRouter::TakenByMode(const KeyPress& press) {
    using Command = BestGames::Command;
    using Mode = BestGames::Mode;
    const uint16_t vk = press.vk;
    const Mode mode = best_.mode();
    if (mode == Mode::kGame) {
        // Only the title and game-over screens have the panel: in play H is any key. D is the
        // day's session, where the title screen offers it.
        const bool files = vk == kKeyO && best_.offersFiles();
        const bool today = vk == kKeyD && best_.OffersToday(form_);
        if ((vk != kKeyH && !files && !today) || InPlay(form_) || paused_)
            return false;
        windowKeys_.insert(vk);
        if (!press.repeat && today) {
            Emit(Command::kTodaysGame);
        } else if (!press.repeat && files) {
            Emit(Command::kOpenFile);
        } else if (!press.repeat) {
            TogglePanel();
        }
        return true;
    }
    // The panel and the replay take every key, and keep its key-up from the game too.
    windowKeys_.insert(vk);
    if (mode == Mode::kPanel) {
        // Up and Down repeat while held; the others act once a press.
        if (vk == kKeyUp) {
            Emit(Command::kUp);
        } else if (vk == kKeyDown) {
            Emit(Command::kDown);
        } else if (!press.repeat && vk == kKeyEnter && !press.alt) {
            Emit(Command::kWatch);
        } else if (!press.repeat && (vk == kKeyH || vk == kKeyEscape)) {
            TogglePanel();
        } else if (!press.repeat && best_.offersFiles() && (vk == kKeyS || vk == kKeyO)) {
            Emit(vk == kKeyS ? Command::kSave : Command::kOpenFile);
        } else if (!press.repeat && best_.panel().tabbed() &&
                   (vk == kKeyTab || vk == kKeyLeft || vk == kKeyRight)) {
            // Where a leaderboard is configured: the player's own table, the world's, today's.
            const bool back = vk == kKeyLeft || (vk == kKeyTab && press.shift);
            Emit(back ? Command::kPreviousTable : Command::kNextTable);
        } else if (!press.repeat && vk == kKeyN && best_.panel().tabbed()) {
            Emit(Command::kOpenName);
        }
        return true;
    }
    if (press.repeat)
        return true;
    if (vk == kKeySpace || vk == kKeyP || vk == kKeyPause) {
        Emit(Command::kPauseReplay);
    } else if (vk == kKeyRight || vk == kKeyAdd || (vk == kKeyEquals && press.shift)) {
        Emit(Command::kFaster);
    } else if (vk == kKeyLeft || vk == kKeySubtract || vk == kKeyMinus) {
        Emit(Command::kSlower);
    } else if (vk == kKeyEscape) {
        Emit(Command::kEndReplay);
    }
    return true;
}

void InputRouter::TogglePanel() {
    switch (best_.mode()) {
        case BestGames::Mode::kReplay:
            Emit(BestGames::Command::kEndReplay);
            break;
        case BestGames::Mode::kPanel:
            Emit(BestGames::Command::kClosePanel);
            break;
        case BestGames::Mode::kGame:
            if (!InPlay(form_) && !paused_)
                Emit(BestGames::Command::kOpenPanel);
            break;
        case BestGames::Mode::kName:
            break;  // the entry closes by its own keys
    }
}

InputRouter::Outcomes InputRouter::KeyUp(uint16_t vk) {
    Begin();
    RouteKeyUp(vk);
    return out_;
}

void InputRouter::RouteKeyUp(uint16_t vk) {
    heldKeys_.erase(vk);
    // A key the window kept, or any key while paused: the game had its key-up at the pause.
    if (windowKeys_.erase(vk) != 0 || paused_)
        return;
    if (KeyUpReachesGame(focus_.focused()))
        Emit(InputOutcome::Kind::kKeyUp, vk);
}

void InputRouter::ReleaseHeldKeys() {
    for (uint16_t vk : heldKeys_) {
        if (KeyUpReachesGame(focus_.focused()))
            Emit(InputOutcome::Kind::kKeyUp, vk);
    }
    heldKeys_.clear();
}

void InputRouter::Pause() {
    if (paused_)
        return;
    // For the game a pause is like another window taking the keyboard: every held key goes up.
    ReleaseHeldKeys();
    paused_ = true;
    Emit(InputOutcome::Kind::kPause);
}

void InputRouter::Resume() {
    if (!paused_)
        return;
    paused_ = false;
    Emit(InputOutcome::Kind::kResume);
}

InputRouter::Outcomes InputRouter::FocusLost() {
    Begin();
    // Nobody is watching the game any more.
    if (InPlay(form_))
        Pause();
    // Keys held while another window takes the keyboard never send their key-up: release them
    // here, or the ball would keep going with nobody at the keys.
    ReleaseHeldKeys();
    fingers_.clear();
    pressed_ = Control::kNone;
    pressedOver_ = false;
    return out_;
}

void InputRouter::Click(Control control) {
    // Nothing under the panel or a replay can be clicked.
    const std::optional<ClickTarget> target = TargetOf(control);
    if (!target || paused_ || best_.mode() != BestGames::Mode::kGame)
        return;
    out_.push_back({InputOutcome::Kind::kClick, 0, *target});
}

void InputRouter::MoveFocus(bool backwards) {
    const Control before = focus_.focused();
    focus_.Move(form_, backwards);
    if (focus_.focused() != before)
        Emit(InputOutcome::Kind::kFocus);
}

InputRouter::Outcomes InputRouter::ButtonDown(Control over) {
    Begin();
    PressButton(over);
    return out_;
}

void InputRouter::PressButton(Control over) {
    if (best_.mode() != BestGames::Mode::kGame)
        return;  // the panel covers the controls
    pressed_ = over;
    pressedOver_ = over != Control::kNone;
    if (pressedOver_)
        Emit(InputOutcome::Kind::kPressed);
    const Control before = focus_.focused();
    focus_.Set(form_, over);
    if (focus_.focused() != before)
        Emit(InputOutcome::Kind::kFocus);
}

InputRouter::Outcomes InputRouter::ButtonUp(Control over) {
    Begin();
    ReleaseButton(over);
    return out_;
}

void InputRouter::ReleaseButton(Control over) {
    const Control pressed = pressed_;
    pressed_ = Control::kNone;
    pressedOver_ = false;
    // A click is a press and a release on the same control.
    if (pressed != Control::kNone && over == pressed)
        Click(pressed);
}

InputRouter::Outcomes InputRouter::FingerDown(const Touch& touch) {
    Begin();
    if (fingers_.count(touch.finger) != 0)
        return out_;  // already down: the touch screen said so twice
    if (touch.onToday && best_.mode() == BestGames::Mode::kGame && !paused_ && !InPlay(form_)) {
        Emit(BestGames::Command::kTodaysGame);
        fingers_[touch.finger] = 0;
        return out_;
    }
    const bool opensPanel = (touch.onNewBest || touch.onBestGames) && !paused_ && !InPlay(form_);
    if (best_.mode() != BestGames::Mode::kGame || opensPanel) {
        TouchBestGames(touch);
        return out_;  // the touch is spent: its lifting does nothing
    }
    if (paused_) {
        // The touch player's P: the game goes on, and this finger steers nothing.
        Resume();
        fingers_[touch.finger] = 0;
        return out_;
    }
    if (!InPlay(form_)) {
        fingers_[touch.finger] = 0;
        PressButton(touch.over);
        return out_;
    }
    const uint16_t vk = touch.across < 0.5f ? kKeyLeft : kKeyRight;
    const bool held = ArrowHeld(vk);
    fingers_[touch.finger] = vk;
    // A second finger on the same half holds the arrow already held.
    if (!held) {
        KeyPress press;
        press.vk = vk;
        RouteKeyDown(press);
    }
    return out_;
}

bool InputRouter::ArrowHeld(uint16_t vk) const {
    for (const auto& [finger, key] : fingers_) {
        if (key == vk)
            return true;
    }
    return false;
}

void InputRouter::FingerArrowUp(uint16_t vk) {
    // The arrow goes up when no finger holds it any more, as a pad's does.
    if (!ArrowHeld(vk))
        RouteKeyUp(vk);
}

InputRouter::Outcomes InputRouter::FingerMoved(const Touch& touch) {
    Begin();
    const auto it = fingers_.find(touch.finger);
    if (it == fingers_.end() || it->second == 0)
        return out_;
    const uint16_t vk = touch.across < 0.5f ? kKeyLeft : kKeyRight;
    const uint16_t was = it->second;
    if (vk == was)
        return out_;
    // As a player's thumb would on the keys: one arrow up, the other down.
    const bool held = ArrowHeld(vk);
    it->second = vk;
    FingerArrowUp(was);
    if (!held) {
        KeyPress press;
        press.vk = vk;
        RouteKeyDown(press);
    }
    return out_;
}

InputRouter::Outcomes InputRouter::FingerUp(const Touch& touch) {
    Begin();
    const auto it = fingers_.find(touch.finger);
    if (it == fingers_.end())
        return out_;
    const uint16_t vk = it->second;
    fingers_.erase(it);
    if (vk == 0) {
        ReleaseButton(touch.over);
    } else {
        FingerArrowUp(vk);
    }
    return out_;
}

void InputRouter::TouchBestGames(const Touch& touch) {
    using Command = BestGames::Command;
    switch (best_.mode()) {
        case BestGames::Mode::kGame:
            TogglePanel();  // the "New best" line or the "H best games" button: as H
            break;
        case BestGames::Mode::kPanel: {
            if (!touch.inPanel) {
                TogglePanel();
                break;
            }
            if (touch.onSave || touch.onOpen) {
                Emit(touch.onSave ? Command::kSave : Command::kOpenFile);
                break;
            }
            if (touch.panelTab >= 0) {
                Emit(static_cast<Command>(static_cast<int>(Command::kShowMine) + touch.panelTab));
                break;
            }
            const int rows = static_cast<int>(best_.panel().rows().size());
            if (touch.panelRow < 0 || touch.panelRow >= rows)
                break;
            // The keys' way there: Up or Down to the row, and Enter on the chosen one.
            const int selected = best_.panel().selected();
            for (int i = selected; i < touch.panelRow; ++i) Emit(Command::kDown);
            for (int i = selected; i > touch.panelRow; --i) Emit(Command::kUp);
            if (touch.panelRow == selected)
                Emit(Command::kWatch);
            break;
        }
        case BestGames::Mode::kName:
            TouchName(touch);
            break;
        case BestGames::Mode::kReplay:
            // The tag is Escape; the rest of the window, in thirds, the arrows and Space as a
            // thumb finds them: slower on the left, faster on the right, pause between.
            if (touch.onReplayTag) {
                Emit(Command::kEndReplay);
            } else if (touch.across < 1.0f / 3) {
                Emit(Command::kSlower);
            } else if (touch.across >= 2.0f / 3) {
                Emit(Command::kFaster);
            } else {
                Emit(Command::kPauseReplay);
            }
            break;
    }
}

void InputRouter::TouchName(const Touch& touch) {
    using Command = BestGames::Command;
    using Part = NameEntry::Part;
    if (!touch.inName) {
        Emit(Command::kNameEscape);  // as a touch outside the panel closes it
    } else if (touch.onNameOk) {
        Emit(Command::kNameEnter);
    } else if (touch.nameSlot >= 0) {
        const Command command = touch.namePart == Part::kAbove   ? Command::kNameAbove
                                : touch.namePart == Part::kBelow ? Command::kNameBelow
                                                                 : Command::kNameLetter;
        Emit(command, touch.nameSlot);
    }
}

InputRouter::Outcomes InputRouter::PointerMoved(Control over) {
    Begin();
    if (best_.mode() != BestGames::Mode::kGame)
        return out_;
    if (pressed_ != Control::kNone && pressedOver_ != (over == pressed_)) {
        pressedOver_ = over == pressed_;
        Emit(InputOutcome::Kind::kPressed);
    }
    return out_;
}

InputRouter::Outcomes InputRouter::PadPress(int pad, PadButton button, bool down) {
    padOut_.clear();
    padKeys_.Button(pad, button, down, padOut_);
    return FromPad();
}

InputRouter::Outcomes InputRouter::PadStick(int pad, int x) {
    padOut_.clear();
    padKeys_.StickX(pad, x, padOut_);
    return FromPad();
}

InputRouter::Outcomes InputRouter::PadStickY(int pad, int y) {
    padOut_.clear();
    padKeys_.StickY(pad, y, padOut_);
    return FromPad();
}

InputRouter::Outcomes InputRouter::PadRemoved(int pad) {
    padOut_.clear();
    padKeys_.Removed(pad, padOut_);
    return FromPad();
}

InputRouter::Outcomes InputRouter::FromPad() {
    Begin();
    const bool naming = best_.mode() == BestGames::Mode::kName;
    for (const PadOutput& o : padOut_) {
        // A pad's Up and Down are the name entry's alone: they reach nothing else, and a key-up
        // of theirs finds the window keeping it or finds nothing.
        const bool upOrDown = o.vk == kKeyUp || o.vk == kKeyDown;
        switch (o.kind) {
            case PadOutput::Kind::kKeyDown: {
                if (upOrDown && !naming)
                    break;
                KeyPress press;
                press.vk = o.vk;
                RouteKeyDown(press);
                break;
            }
            case PadOutput::Kind::kKeyUp:
                if (upOrDown) {
                    windowKeys_.erase(o.vk);
                } else {
                    RouteKeyUp(o.vk);
                }
                break;
            case PadOutput::Kind::kBestGames:
                TogglePanel();
                break;
            case PadOutput::Kind::kToday:
                // X: the day's session on the title screen, the name on the world's panel.
                if (best_.mode() == BestGames::Mode::kGame && best_.OffersToday(form_) && !paused_)
                    Emit(BestGames::Command::kTodaysGame);
                else if (best_.mode() == BestGames::Mode::kPanel && best_.panel().tabbed())
                    Emit(BestGames::Command::kOpenName);
                break;
            case PadOutput::Kind::kGoBack:
                if (naming)
                    Emit(BestGames::Command::kNameEscape);
                break;
            case PadOutput::Kind::kStart:
                if (naming)
                    break;  // A is the entry's Enter
                // During play Start pauses and resumes, as the pad's player has no P key.
                if (paused_) {
                    Resume();
                    break;
                }
                if (InPlay(form_)) {
                    Pause();
                    break;
                }
                [[fallthrough]];
            case PadOutput::Kind::kNewGame:
                if (naming) {
                    Emit(BestGames::Command::kNameEnter);
                } else if (form_.cmdNewGame.visible) {
                    Click(Control::cmdNewGame);
                } else if (form_.imgNewGame.visible) {
                    Click(Control::imgNewGame);
                }
                break;
        }
    }
    return out_;
}

}  // namespace sinkaway
