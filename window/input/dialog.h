// The window's dialog behaviour that the game's rules do not see: which control a point hits, which
// control holds the keyboard focus, and what a key does before the game's key handlers hear of it.
#pragma once

#include <cstdint>

#include <optional>

#include "form.h"
#include "session.h"
#include "viewport.h"

namespace sinkaway {

// The controls a click can reach, as the session names them, or none.
enum class Control : uint8_t { kNone, imgNewGame, cmdNewGame, chkBGM, chkPower };

// The session's name for a control; none for Control::kNone.
std::optional<ClickTarget> TargetOf(Control control);

bool IsVisible(const Form& form, Control control);

// Whether a control (or anything with a left, top, width and height in twips) covers a point.
template <typename T>
bool Contains(const T& c, TwipPoint p) {
    return p.x >= c.left && p.x < c.left + c.width && p.y >= c.top && p.y < c.top + c.height;
}

// The topmost visible control under a point: the check boxes and the button lie above the image.
Control HitTest(const Form& form, TwipPoint point);

// The keyboard focus among the button and the two check boxes, in that tab order. A hidden
// control loses the focus and nothing takes it over, so during play and on the game-over screen
// the window itself has the keys.
class FocusRing {
  public:
    Control focused() const { return focused_; }
    // Only the button and the check boxes take the focus, and only while visible.
    void Set(const Form& form, Control control);
    void Move(const Form& form, bool backwards);
    void Drop(const Form& form);

  private:
    Control focused_ = Control::cmdNewGame;
};

struct KeyPress {
    uint16_t vk = 0;  // Windows virtual-key code
    bool shift = false;
    bool alt = false;
    bool repeat = false;
};

enum class KeyAction : uint8_t {
    kToGame,  // the game's key-down handler gets the code
    kIgnore,  // a control took it, or a repeat the control does not want
    kFocusNext,
    kFocusPrevious,
    kClick,       // as a mouse click on `target`
    kFullscreen,  // Alt+Enter and F11: the window's own business
};

struct KeyRoute {
    KeyAction action = KeyAction::kToGame;
    Control target = Control::kNone;
};

// Enter presses the new-game button whenever it shows, like a dialog's default button. Tab and
// Shift+Tab walk the focus. While a control holds the focus it takes Space (press or toggle) and
// the arrow keys (they move the focus, as in any dialog), and no key reaches the game.
KeyRoute WhereKeyGoes(const Form& form, Control focused, const KeyPress& key);

// A key-up goes where the focus is: to the game only while no control holds it.
inline bool KeyUpReachesGame(Control focused) {
    return focused == Control::kNone;
}

}  // namespace sinkaway
