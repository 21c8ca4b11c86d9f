// The window's input rules as sequences of events on the title, play and game-over screens, each
// with what the router answers: what the game hears, pause and resume, fullscreen, the dialog.
#include "input_router.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_text.h"
#include "key_codes.h"

namespace sinkaway {
namespace {

enum class Screen { kTitle, kPlay, kOver };

void Show(Form& f, Screen screen) {
    const bool title = screen == Screen::kTitle, over = screen == Screen::kOver;
    f.imgNewGame.visible = f.cmdNewGame.visible = title || over;
    f.chkBGM.visible = f.chkPower.visible = title;
}

struct Event {
    enum class Kind {
        kScreen,
        kKeyDown,
        kKeyUp,
        kPress,
        kRelease,
        kMove,
        kPad,
        kStick,
        kUnplug,
        kFocusLost,
        kFingerDown,
        kFingerUp,
        kFingerMoved,
        kRows,          // the worker's news: a table of three games
        kReplayLoaded,  // the worker's news: the replay asked for is ready
        kReplayFailed,  // ...or cannot be played
        kPage,          // the best games offer files, as the page's do
        kAskName,       // the name entry opens with `name`
        kKnowName,      // the player's name is `name`
        kTakeName,      // answers the name entered, or "-"
    };
    Kind kind;
    KeyPress key{};
    Control over = Control::kNone;
    PadButton button = PadButton::kOther;
    bool down = false;
    int value = 0;  // the stick's position
    int pad = 0;
    Screen screen = Screen::kTitle;
    Touch touch{};
    const char* name = "";
};

using K = Event::Kind;
Event Key(uint16_t vk) {
    return {K::kKeyDown, {vk}};
}
Event Repeat(uint16_t vk) {
    return {K::kKeyDown, {vk, false, false, true}};
}
Event ShiftKey(uint16_t vk) {
    return {K::kKeyDown, {vk, true}};
}
Event AltKey(uint16_t vk) {
    return {K::kKeyDown, {vk, false, true}};
}
Event KeyUp(uint16_t vk) {
    return {K::kKeyUp, {vk}};
}
Event Press(Control c) {
    return {K::kPress, {}, c};
}
Event Release(Control c) {
    return {K::kRelease, {}, c};
}
Event Move(Control c) {
    return {K::kMove, {}, c};
}
Event Pad(PadButton b, bool down, int pad = 0) {
    return {K::kPad, {}, Control::kNone, b, down, 0, pad};
}
Event Stick(int x, int pad = 0) {
    return {K::kStick, {}, Control::kNone, PadButton::kOther, false, x, pad};
}
Event Unplug(int pad) {
    return {K::kUnplug, {}, Control::kNone, PadButton::kOther, false, 0, pad};
}
Event FocusLost() {
    return {K::kFocusLost};
}
// A finger down or up at `across` (0 the window's left edge, 1 its right), over `over`.
Event Finger(bool down, int64_t finger, float across, Control over = Control::kNone) {
    Event e{down ? K::kFingerDown : K::kFingerUp};
    e.touch.finger = finger;
    e.touch.across = across;
    e.touch.over = over;
    return e;
}
Event Slide(int64_t finger, float across) {
    Event e = Finger(false, finger, across);
    e.kind = K::kFingerMoved;
    return e;
}
Event FingerOn(bool down, Touch touch) {
    Event e{down ? K::kFingerDown : K::kFingerUp};
    e.touch = touch;
    return e;
}
Event Rows() {
    return {K::kRows};
}
Event ReplayLoaded() {
    return {K::kReplayLoaded};
}
Event ReplayFailed() {
    return {K::kReplayFailed};
}
Event AskName(const char* name = "") {
    Event e{K::kAskName};
    e.name = name;
    return e;
}
Event KnowName(const char* name) {
    Event e{K::kKnowName};
    e.name = name;
    return e;
}
Event TakeName() {
    return {K::kTakeName};
}
// A finger on the name entry: on slot `slot`, at `part`, or on "OK" for a slot of -1.
Event FingerOnName(int64_t finger, int slot, NameEntry::Part part = NameEntry::Part::kLetter) {
    return FingerOn(true, {.finger = finger,
                           .inName = true,
                           .nameSlot = slot,
                           .namePart = part,
                           .onNameOk = slot < 0});
}
Event Becomes(Screen s) {
    Event e{K::kScreen};
    e.screen = s;
    return e;
}

// The router and the best games as the window joins them: every command the router answers goes
// to the best games, whose mode the router reads at the next event.
struct Window {
    Form form = MakeDesignForm();
    NullMusicPlayer music;
    BestGames best{music};
    InputRouter router{form, best};

    std::string Answer(InputRouter::Outcomes outcomes) {
        for (const InputOutcome& o : outcomes) {
            if (o.kind == InputOutcome::Kind::kBestGames)
                best.Handle(o.command, o.slot);
        }
        return Text(outcomes);
    }

    std::string Send(const Event& e) {
        switch (e.kind) {
            case K::kScreen:
                Show(form, e.screen);
                router.FollowForm();
                return "";
            case K::kKeyDown:
                return Answer(router.KeyDown(e.key));
            case K::kKeyUp:
                return Answer(router.KeyUp(e.key.vk));
            case K::kPress:
                return Answer(router.ButtonDown(e.over));
            case K::kRelease:
                return Answer(router.ButtonUp(e.over));
            case K::kMove:
                return Answer(router.PointerMoved(e.over));
            case K::kPad:
                return Answer(router.PadPress(e.pad, e.button, e.down));
            case K::kStick:
                return Answer(router.PadStick(e.pad, e.value));
            case K::kUnplug:
                return Answer(router.PadRemoved(e.pad));
            case K::kFocusLost:
                return Answer(router.FocusLost());
            case K::kFingerDown:
                return Answer(router.FingerDown(e.touch));
            case K::kFingerUp:
                return Answer(router.FingerUp(e.touch));
            case K::kFingerMoved:
                return Answer(router.FingerMoved(e.touch));
            case K::kRows: {
                BestGamesWorker::News news;
                news.rows = std::vector<BestGameRow>(3);
                best.ApplyNews(std::move(news), form);
                return "";
            }
            case K::kReplayLoaded: {
                BestGamesWorker::News news;
                news.replay = std::make_unique<ReplayPlayer>(ReplayScript{}, music);
                best.ApplyNews(std::move(news), form);
                return "";
            }
            case K::kReplayFailed: {
                BestGamesWorker::News news;
                news.replayFailed = true;
                best.ApplyNews(std::move(news), form);
                return best.panel().problem();
            }
            case K::kPage:
                best.OfferFiles({[](const BestGameRow&) { return true; }, [] {}});
                return "";
            case K::kAskName:
                best.AskName(e.name);
                return "";
            case K::kKnowName:
                // A name for the world's boards: a leaderboard is configured (one that is not
                // there, as nothing here waits for it).
                if (best.world() == nullptr)
                    best.ConnectWorld(std::make_unique<World>(
                        platform::MakeHttpClient(), "http://127.0.0.1:1", true, World::Hooks{}));
                best.KnowName(e.name);
                return "";
            case K::kTakeName:
                return best.TakeName().value_or("-");
        }
        return "?";
    }
};

struct Step {
    Event event;
    const char* want;  // the outcomes, in order
};

struct Case {
    const char* name;  // the test's name
    const char* what;  // what it shows, in a sentence
    Screen screen;
    std::vector<Step> steps;
};

// In a failure the case goes by its name, not its bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

constexpr uint16_t kLeft = kKeyLeft, kRight = kKeyRight;
constexpr Control kImage = Control::imgNewGame, kButton = Control::cmdNewGame,
                  kBGM = Control::chkBGM, kNone = Control::kNone;
constexpr int kPress = PadMapper::kStickPress, kRelease = PadMapper::kStickRelease;
using B = PadButton;

const Case kCases[] = {
    {"PauseKeys",
     "P and Pause pause a game in play, and resume it",
     Screen::kPlay,
     {{Key(kKeyP), "pause"},
      {Repeat(kKeyP), ""},
      {KeyUp(kKeyP), ""},
      {Key(kKeyPause), "resume"},
      {KeyUp(kKeyPause), ""},
      {Key(kRight), "down 39"},
      {Repeat(kRight), "down 39"}}},
    {"HeldKeysAtThePause",
     "held keys go up at the pause; keys pressed while paused stay the window's",
     Screen::kPlay,
     {{Key(kRight), "down 39"},
      {Key(kKeyP), "up 39, pause"},
      {Repeat(kRight), ""},
      {Key(kLeft), ""},
      {KeyUp(kRight), ""},
      {Key(kKeyEnter), ""},
      {Key(kKeyP), "resume"},
      {Repeat(kLeft), ""},
      {KeyUp(kLeft), ""},
      {Key(kLeft), "down 37"},
      {KeyUp(kLeft), "up 37"}}},
    {"NoClicksWhilePaused",
     "nothing is clicked while paused, not even by the pad",
     Screen::kPlay,
     {{Key(kKeyP), "pause"},
      {Becomes(Screen::kOver), ""},
      {Press(kButton), "pressed, focus"},
      {Release(kButton), ""},
      {Pad(B::kA, true), ""},
      {Key(kKeyEnter), ""}}},
    {"FocusLossInPlay",
     "focus loss in play pauses and lets go of the keys",
     Screen::kPlay,
     {{Key(kLeft), "down 37"},
      {Key(kRight), "down 39"},
      {FocusLost(), "up 37, up 39, pause"},
      {KeyUp(kRight), ""},
      {FocusLost(), ""}}},
    {"FocusLossElsewhere",
     "focus loss elsewhere only lets go",
     Screen::kOver,
     {{Key(kRight), "down 39"}, {FocusLost(), "up 39"}, {KeyUp(kRight), "up 39"}}},
    {"FocusLossDropsThePress",
     "focus loss drops the pressed button",
     Screen::kTitle,
     {{Press(kButton), "pressed"}, {FocusLost(), ""}, {Release(kButton), ""}}},
    {"WindowKeysKeepTheirKeyUps",
     "Alt+Enter, F11 and P keep their key-ups from the game",
     Screen::kPlay,
     {{AltKey(kKeyEnter), "fullscreen"},
      {Repeat(kKeyEnter), ""},
      {KeyUp(kKeyEnter), ""},
      {Key(kKeyF11), "fullscreen"},
      {KeyUp(kKeyF11), ""},
      {Key(kKeyP), "pause"},
      {Key(kKeyP), "resume"},
      {KeyUp(kKeyP), ""},
      {Key(kKeyEnter), "down 13"},
      {KeyUp(kKeyEnter), "up 13"}}},
    {"FullscreenOnTitleAndPaused",
     "fullscreen keys on the title and while paused",
     Screen::kTitle,
     {{AltKey(kKeyEnter), "fullscreen"},
      {KeyUp(kKeyEnter), ""},
      {Becomes(Screen::kPlay), ""},
      {Key(kKeyP), "pause"},
      {Key(kKeyF11), "fullscreen"},
      {KeyUp(kKeyF11), ""}}},
    {"EnterOnGameOver",
     "Enter on the game-over screen presses the button once",
     Screen::kOver,
     {{Key(kKeyEnter), "click cmdNewGame"},
      {Repeat(kKeyEnter), ""},
      {KeyUp(kKeyEnter), "up 13"},
      {Key(kKeyP), "down 80"},
      {Key(kKeyTab), "focus"},
      {Key(kKeySpace), "click cmdNewGame"},
      {Becomes(Screen::kPlay), ""},
      {Key(kKeyTab), "down 9"},
      {Key(kKeyEnter), "down 13"}}},
    {"TabAndSpaceOnTitle",
     "Tab, Shift+Tab and Space on the title",
     Screen::kTitle,
     {{Key(kKeySpace), "click cmdNewGame"},
      {Key(kKeyTab), "focus"},
      {Key(kKeySpace), "click chkBGM"},
      {Repeat(kKeySpace), ""},
      {KeyUp(kKeySpace), ""},
      {Key(kKeyTab), "focus"},
      {Key(kKeySpace), "click chkPower"},
      {Key(kKeyTab), "focus"},
      {Key(kKeySpace), "click cmdNewGame"},
      {ShiftKey(kKeyTab), "focus"},
      {Key(kKeySpace), "click chkPower"},
      {Key(kKeyEnter), "click cmdNewGame"},
      {Key(kKeyA), ""},
      {Key(kKeyP), ""}}},
    {"ArrowsOnTitleWalkTheFocus",
     "arrow keys on the title walk the focus, not the ball",
     Screen::kTitle,
     {{Key(kRight), "focus"},
      {Key(kKeyDown), "focus"},
      {Key(kKeySpace), "click chkPower"},
      {Key(kLeft), "focus"},
      {Key(kKeyUp), "focus"},
      {Key(kKeySpace), "click cmdNewGame"},
      {KeyUp(kLeft), ""}}},
    {"FocusLeavesHiddenControls",
     "the focus leaves hidden controls",
     Screen::kTitle,
     {{Key(kKeyTab), "focus"},
      {Becomes(Screen::kPlay), ""},
      {Key(kKeyTab), "down 9"},
      {Becomes(Screen::kTitle), ""},
      {Key(kKeyTab), "focus"},
      {Key(kKeySpace), "click cmdNewGame"}}},
    {"ClickIsPressAndRelease",
     "a click is a press and a release on the same control",
     Screen::kTitle,
     {{Press(kButton), "pressed"},
      {Move(kImage), "pressed"},
      {Move(kNone), ""},
      {Move(kButton), "pressed"},
      {Release(kButton), "click cmdNewGame"},
      {Press(kBGM), "pressed, focus"},
      {Release(kImage), ""},
      {Key(kKeySpace), "click chkBGM"},
      {Press(kImage), "pressed"},
      {Release(kImage), "click imgNewGame"},
      {Press(kNone), ""},
      {Move(kButton), ""},
      {Release(kButton), ""}}},
    {"PadArrows",
     "the d-pad and the stick are the arrows; a key goes up when nothing holds it",
     Screen::kPlay,
     {{Pad(B::kDpadRight, true), "down 39"},
      {Stick(32767), ""},
      {Pad(B::kDpadRight, true, 1), ""},
      {Pad(B::kDpadRight, false), ""},
      {Stick(0), ""},
      {Pad(B::kDpadRight, false, 1), "up 39"},
      {Pad(B::kDpadLeft, true), "down 37"},
      {Pad(B::kDpadLeft, false), "up 37"}}},
    {"StickThresholds",
     "stick thresholds: a dead zone, and letting go nearer the middle",
     Screen::kPlay,
     {{Stick(kPress - 1), ""},
      {Stick(kPress), "down 39"},
      {Stick(kRelease), ""},
      {Stick(kPress + 5), ""},
      {Stick(kRelease - 1), "up 39"},
      {Stick(-kPress), "down 37"},
      {Stick(-kRelease), ""},
      {Stick(-kRelease + 1), "up 37"},
      {Stick(-32768), "down 37"},
      {Stick(32767), "up 37, down 39"}}},
    {"UnpluggedPadLetsGo",
     "unplugging a pad that holds a direction lets go of it",
     Screen::kPlay,
     {{Pad(B::kDpadLeft, true, 3), "down 37"},
      {Stick(32767, 7), "down 39"},
      {Unplug(3), "up 37"},
      {Unplug(3), ""},
      {Unplug(42), ""},
      {Stick(0, 3), ""},
      {Unplug(7), "up 39"}}},
    {"PadStartAndA",
     "A starts a game; Start pauses one in play",
     Screen::kTitle,
     {{Pad(B::kA, true), "click cmdNewGame"},
      {Pad(B::kA, false), ""},
      {Pad(B::kStart, true), "click cmdNewGame"},
      {Becomes(Screen::kPlay), ""},
      {Pad(B::kA, true), ""},
      {Pad(B::kDpadRight, true), "down 39"},
      {Pad(B::kStart, true), "up 39, pause"},
      {Pad(B::kStart, false), ""},
      {Pad(B::kDpadRight, false), ""},
      {Pad(B::kStart, true), "resume"},
      {Pad(B::kOther, true), ""}}},
    {"PanelKeys",
     "H in play is any key; elsewhere it opens the best games, which keep every key",
     Screen::kPlay,
     {{Key(kKeyH), "down 72"},
      {KeyUp(kKeyH), "up 72"},
      {Becomes(Screen::kOver), ""},
      {Key(kKeyH), "panel open"},
      {KeyUp(kKeyH), ""},
      {Key(kKeyDown), "panel down"},
      {Repeat(kKeyDown), "panel down"},
      {Key(kKeyUp), "panel up"},
      {Key(kLeft), ""},
      {KeyUp(kLeft), ""},
      {Press(kButton), ""},
      {Release(kButton), ""},
      {Pad(B::kA, true), ""},
      {Key(kKeyEscape), "panel close"},
      {KeyUp(kKeyEscape), ""}}},
    {"ArrowHeldIntoThePanel",
     "an arrow held before the panel opened still gets its key-up",
     Screen::kOver,
     {{Key(kRight), "down 39"}, {Key(kKeyH), "panel open"}, {KeyUp(kRight), "up 39"}}},
    {"ReplayKeys",
     "a replay from the panel: pause, faster, slower, back; the pad's Back and Y are H",
     Screen::kTitle,
     {{Pad(B::kBack, true), "panel open"},
      {Key(kKeyEnter), "watch"},
      {ReplayLoaded(), ""},
      {Key(kKeySpace), "replay pause"},
      {Key(kKeyP), "replay pause"},
      {Key(kRight), "faster"},
      {Repeat(kRight), ""},
      {ShiftKey(kKeyEquals), "faster"},
      {Key(kKeyMinus), "slower"},
      {KeyUp(kKeyMinus), ""},
      {Key(kKeyEscape), "replay end"},
      {Pad(B::kY, true), "panel close"},
      {Key(kKeySpace), "click cmdNewGame"}}},
    {"FingersSteer",
     "a finger held on a half is that arrow held, and turns as it slides over; the arrow goes up "
     "with its last finger",
     Screen::kPlay,
     {{Finger(true, 1, 0.2f), "down 37"},
      {Finger(true, 1, 0.2f), ""},
      {Finger(true, 2, 0.4f), ""},
      {Finger(false, 1, 0.2f), ""},
      {Finger(true, 3, 0.5f), "down 39"},
      {Finger(false, 2, 0.9f), "up 37"},
      {Slide(3, 0.6f), ""},
      {Slide(3, 0.3f), "up 39, down 37"},
      {Finger(false, 3, 0.1f), "up 37"},
      {Finger(false, 3, 0.1f), ""},
      {Slide(3, 0.9f), ""}}},
    {"FingersAtThePause",
     "a finger held goes up at the pause, and a touch resumes without steering",
     Screen::kPlay,
     {{Finger(true, 1, 0.9f), "down 39"},
      {FocusLost(), "up 39, pause"},
      {Finger(false, 1, 0.9f), ""},
      {Finger(true, 2, 0.1f), "resume"},
      {Finger(false, 2, 0.1f), ""},
      {Key(kKeyP), "pause"},
      {Finger(true, 3, 0.9f), "resume"},
      {Becomes(Screen::kOver), ""},
      {Finger(false, 3, 0.9f), ""}}},
    {"TapsAreClicks",
     "off play a tap is a click where it lands, and a finger held into the game steers nothing",
     Screen::kTitle,
     {{Finger(true, 1, 0.5f, kBGM), "pressed, focus"},
      {Finger(false, 1, 0.5f, kBGM), "click chkBGM"},
      {Finger(true, 2, 0.5f, kButton), "pressed, focus"},
      {Finger(false, 2, 0.5f, kImage), ""},
      {Finger(true, 3, 0.1f, kImage), "pressed"},
      {Becomes(Screen::kPlay), ""},
      {Finger(false, 3, 0.1f), ""},
      {Finger(true, 4, 0.1f), "down 37"}}},
    {"TapsOnTheBestGames",
     "the New best line opens the panel; a row is chosen, then watched; outside closes it",
     Screen::kOver,
     {{Rows(), ""},
      {FingerOn(true, {1, 0.5f, kNone, true}), "panel open"},
      {FingerOn(false, {1, 0.5f, kNone, true}), ""},
      {FingerOn(true, {2, 0.5f, kNone, false, true, 2}), "panel down, panel down"},
      {FingerOn(true, {3, 0.5f, kNone, false, true, 1}), "panel up"},
      {FingerOn(true, {4, 0.5f, kNone, false, true, 5}), ""},
      {FingerOn(true, {5, 0.5f, kNone, false, true, 1}), "watch"},
      {ReplayLoaded(), ""},
      {FingerOn(true, {.finger = 6, .across = 0.9f, .onReplayTag = true}), "replay end"},
      {FingerOn(true, {7, 0.5f, kButton, false, false, -1}), "panel close"},
      {Finger(true, 8, 0.5f, kButton), "pressed, focus"}}},
    {"TapsOnTheButtonAndTheReplay",
     "the page's H button opens the panel; on a replay the thirds are slower, pause and faster",
     Screen::kTitle,
     {{FingerOn(true, {.finger = 1, .across = 0.9f, .onBestGames = true}), "panel open"},
      {FingerOn(false, {.finger = 1, .across = 0.9f, .onBestGames = true}), ""},
      {Key(kKeyEnter), "watch"},
      {ReplayLoaded(), ""},
      {Finger(true, 2, 0.2f), "slower"},
      {Finger(false, 2, 0.2f), ""},
      {Finger(true, 3, 0.5f), "replay pause"},
      {Finger(true, 4, 0.7f), "faster"},
      {FingerOn(true, {.finger = 5, .across = 0.9f, .onReplayTag = true}), "replay end"},
      {FingerOn(true, {.finger = 6, .across = 0.9f, .inPanel = false}), "panel close"},
      {Becomes(Screen::kPlay), ""},
      {FingerOn(true, {.finger = 7, .across = 0.9f, .onBestGames = true}), "down 39"}}},
    {"ReplayThatFailsToLoad",
     "a replay that cannot be played leaves the panel open with a note",
     Screen::kOver,
     {{Key(kKeyH), "panel open"},
      {Key(kKeyEnter), "watch"},
      {ReplayFailed(), "Cannot play that replay"},
      {Key(kKeySpace), ""},
      {Key(kKeyEscape), "panel close"},
      {Key(kKeyEnter), "click cmdNewGame"}}},
    {"NameEntryKeys",
     "the name entry keeps every key but the window's: Up and Down repeat, Enter takes the name",
     Screen::kOver,
     {{Key(kLeft), "down 37"},
      {AskName(), ""},
      {Repeat(kLeft), ""},
      {KeyUp(kLeft), "up 37"},
      {Key(kKeyUp), "name up"},
      {Repeat(kKeyUp), "name up"},
      {Key(kRight), "name right"},
      {Repeat(kRight), ""},
      {KeyUp(kRight), ""},
      {Key(kKeyP), ""},
      {Key(kKeyH), ""},
      {Press(kButton), ""},
      {AltKey(kKeyEnter), "fullscreen"},
      {Key(kKeyEnter), "name enter"},
      {TakeName(), "C"},
      {TakeName(), "-"},
      {Key(kKeyEnter), "click cmdNewGame"}}},
    {"NameEntryFromThePanel",
     "N on the panel opens the entry with the known name; closing it shows the panel again",
     Screen::kOver,
     {{Rows(), ""},
      {KnowName("ZED"), ""},
      {Key(kKeyH), "panel open"},
      {Key(kKeyN), "name open"},
      {Key(kKeyDown), "name down"},
      {Key(kKeyEscape), "name escape"},
      {Key(kKeyDown), "panel down"},
      {Key(kKeyN), "name open"},
      {Key(kKeyEnter), "name enter"},
      {TakeName(), "ZED"},
      {Key(kKeyEscape), "panel close"}}},
    {"NameEntryPad",
     "on the entry the pad's arrows step and move, A is Enter and B Escape; elsewhere Up and "
     "Down reach nothing",
     Screen::kOver,
     {{AskName("a"), ""},
      {Stick(-32768), "name left"},
      {Stick(0), ""},
      {Pad(B::kDpadUp, true), "name up"},
      {Pad(B::kDpadUp, false), ""},
      {Pad(B::kStart, true), ""},
      {Pad(B::kA, true), "name enter"},
      {TakeName(), "B"},
      {Pad(B::kDpadDown, true), ""},
      {Pad(B::kDpadDown, false), ""},
      {AskName(), ""},
      {Pad(B::kB, true), "name escape"},
      {Pad(B::kA, true), "click cmdNewGame"}}},
    {"NameEntryTaps",
     "a tap above a slot steps its letter there, OK is Enter, a tap outside is Escape",
     Screen::kOver,
     {{AskName(), ""},
      {FingerOnName(1, 3, NameEntry::Part::kAbove), "name above 3"},
      {FingerOn(false, {.finger = 1, .inName = true, .nameSlot = 3}), ""},
      {FingerOnName(2, -1), "name enter"},
      {TakeName(), "A  A"},
      {AskName(), ""},
      {FingerOn(true, {.finger = 3, .across = 0.5f, .over = kButton}), "name escape"},
      {Finger(true, 4, 0.5f, kButton), "pressed, focus"}}},
};

class InputRouterTest : public ::testing::TestWithParam<Case> {};

TEST_P(InputRouterTest, AnswersEachEventOfTheSequence) {
    const Case& c = GetParam();
    // Every screen as the player reaches it: the title first, then a game.
    Window w;
    if (c.screen != Screen::kTitle) {
        Show(w.form, Screen::kPlay);
        w.router.FollowForm();
        Show(w.form, c.screen);
    }
    int i = 0;
    for (const Step& step : c.steps) {
        EXPECT_EQ(w.Send(step.event), step.want) << c.what << ", step " << i;
        ++i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InputRouterTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace sinkaway
