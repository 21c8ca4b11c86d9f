// The window's input rules, with no SDL: keys, the left mouse button, the pointer, pads and the
// loss of the keyboard focus come in in the game's own terms, and each call answers what they do
// (an event for the game, a change of the dialog's look, pause or resume, fullscreen, or nothing).
// The window's glue turns SDL's events into these calls and carries the answers out.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "best_games.h"
#include "dialog.h"
#include "form.h"
#include "gamepad.h"
#include "session.h"

namespace sinkaway {

struct InputOutcome {
    enum class Kind : uint8_t {
        kClick,       // the game hears a click on `target`
        kKeyDown,     // the game's key-down handler gets `vk`
        kKeyUp,       // the game's key-up handler gets `vk`
        kFocus,       // the keyboard focus went to another control
        kPressed,     // the pressed look of the control under the mouse button changed
        kPause,       // the game's clock stops
        kResume,      // and runs again
        kFullscreen,  // the window goes to or from fullscreen
        kBestGames,   // `command` for the best games panel or the replay watched from it
    };
    Kind kind;
    uint16_t vk = 0;
    ClickTarget target = ClickTarget::imgNewGame;
    BestGames::Command command = BestGames::Command::kOpenPanel;
    int slot = 0;  // the name entry's slot a finger hit, for the commands of its taps
    bool operator==(const InputOutcome&) const = default;
};

// A finger on a touch screen and what the window finds under it.
struct Touch {
    int64_t finger = 0;             // tells the fingers down at once apart
    float across = 0;               // from the window's left edge (0) to its right edge (1)
    Control over = Control::kNone;  // the control under it
    bool onNewBest = false;         // the "New best" line of the game-over screen
    bool inPanel = false;           // the best games panel's box, while it shows
    int panelRow = -1;              // the panel's row under it (0 the first shown), or -1
    bool onSave = false;            // the panel's "S save", where the page draws it
    bool onOpen = false;            // the panel's "O open", likewise
    bool onBestGames = false;       // the page's "H best games", while it shows
    bool onReplayTag = false;       // the replay's tag, while a replay plays
    int panelTab = -1;              // the panel's table name under it, where it has several
    bool onToday = false;           // "D today's game", while it shows
    // The name entry, while it shows: its box, the slot under the finger (0 the first, or -1)
    // and where on that slot, and its "OK".
    bool inName = false;
    int nameSlot = -1;
    NameEntry::Part namePart = NameEntry::Part::kLetter;
    bool onNameOk = false;
};

class InputRouter {
  public:
    // What one call does, in order; valid until the next call.
    using Outcomes = std::span<const InputOutcome>;

    // `form` is the game's, read at every event: which controls show decides where input goes.
    // The best games' mode says whether the game, their panel or a replay has the keys.
    InputRouter(const Form& form, const BestGames& best) : form_(form), best_(best) {}

    // A key-down passes its stages in turn: the window's own keys (fullscreen), the name entry
    // while it shows, the pause, the best games' panel and replay, then the screen (the dialog's
    // controls, or else the game). A later mode that owns the keys while it shows slots in as one
    // more stage before the screen.
    Outcomes KeyDown(const KeyPress& press);
    Outcomes KeyUp(uint16_t vk);
    // The left mouse button and the pointer, over `over` (Control::kNone: over no control).
    Outcomes ButtonDown(Control over);
    Outcomes ButtonUp(Control over);
    Outcomes PointerMoved(Control over);
    // Fingers. During play a finger held on the left or right half of the window is the Left or
    // Right arrow held, and lifting it is the key-up; a touch on a paused game resumes it. On the
    // other screens a finger is the left mouse button, and a touch on what the keys would reach
    // does what they do: the "New best" line and the "H best games" button open the panel, a row
    // of the panel is chosen and, chosen already, watched, and a touch outside the panel closes
    // it. On a replay a touch on its tag ends it, and one on the left, middle or right third of
    // the window is Left (slower), Space (pause) or Right (faster). On the name entry a touch
    // above or below a slot's letter steps it as Up or Down would, one on the letter moves the
    // cursor there, "OK" is Enter and a touch outside the entry is Escape.
    Outcomes FingerDown(const Touch& touch);
    Outcomes FingerUp(const Touch& touch);
    // A finger that steers and slides over the middle steers the other way.
    Outcomes FingerMoved(const Touch& touch);
    // Pads: `pad` tells them apart. The d-pad and the stick are the arrow keys, A the new-game
    // button, Start pauses and resumes during play and starts a game otherwise. On the name
    // entry A is Enter and B Escape, and Up and Down reach it too; nothing else hears those.
    Outcomes PadPress(int pad, PadButton button, bool down);
    Outcomes PadStick(int pad, int x);
    Outcomes PadStickY(int pad, int y);
    Outcomes PadRemoved(int pad);
    // Another window took the keyboard.
    Outcomes FocusLost();
    // The form changed (a tick ran, a game started): hidden controls give up the focus.
    void FollowForm() { focus_.Drop(form_); }

    bool paused() const { return paused_; }
    Control focused() const { return focus_.focused(); }
    // Where the left button went down, whether or not the pointer is still there.
    Control pressed() const { return pressed_; }
    // The control drawn pressed: the one the button went down on, while the pointer is over it.
    Control drawnPressed() const { return pressedOver_ ? pressed_ : Control::kNone; }

  private:
    void Begin();  // a new call: no outcomes yet
    // The stages of a key-down, in turn; a stage that takes the key ends its way.
    void RouteKeyDown(const KeyPress& press);
    bool TakenByWindow(const KeyPress& press, const KeyRoute& route);
    // Every key while the name entry shows.
    bool TakenByName(const KeyPress& press);
    // The pause keys during play, and every key while paused.
    bool TakenByPause(const KeyPress& press);
    // The panel's and the replay's keys, the H that opens the panel and, where the best games
    // offer files (the page), the O that picks one.
    bool TakenByMode(const KeyPress& press);
    // The dialog's controls, or else the game.
    void ToScreen(const KeyPress& press, const KeyRoute& route);
    void RouteKeyUp(uint16_t vk);
    void TogglePanel();
    void Pause();
    void Resume();
    void ReleaseHeldKeys();
    void Click(Control control);
    void PressButton(Control over);
    void ReleaseButton(Control over);
    void TouchBestGames(const Touch& touch);
    void TouchName(const Touch& touch);
    bool ArrowHeld(uint16_t vk) const;  // by a finger
    void FingerArrowUp(uint16_t vk);    // a finger let go of it
    void MoveFocus(bool backwards);
    void Emit(InputOutcome::Kind kind, uint16_t vk = 0);
    void Emit(BestGames::Command command, int slot = 0);
    Outcomes FromPad();

    const Form& form_;
    const BestGames& best_;
    FocusRing focus_;
    Control pressed_ = Control::kNone;  // where the left button went down
    bool pressedOver_ = false;          // ...and the pointer is still over it
    std::set<uint16_t> heldKeys_;       // key-downs the game heard and whose key-up is due
    std::set<uint16_t> windowKeys_;     // key-downs the window kept, whose key-up it keeps too
    bool paused_ = false;
    // The fingers down: the arrow each holds, or 0 for one that is the mouse button.
    std::map<int64_t, uint16_t> fingers_;
    PadMapper padKeys_;
    std::vector<PadOutput> padOut_;
    std::vector<InputOutcome> out_;
};

}  // namespace sinkaway
