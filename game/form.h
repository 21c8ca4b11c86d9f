// The controls of the game window as plain data: geometry in single-precision twips, colours
// 0x00BBGGRR, visibility, captions and timer states. The rules move, show, hide and recolour them;
// the window draws them; the trace writes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "colors.h"

namespace sinkaway {

// Twips per pixel at scale 1 (96 dots per inch).
inline constexpr float kTwipsPerPixel = 15.0f;
inline constexpr float kClientWidth = 4635.0f;
inline constexpr float kClientHeight = 5820.0f;

enum class ShapeForm : uint8_t { kRectangle, kCircle };

struct Shape {
    float left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    Color fillColor = 0;
    Color borderColor = 0;
    Color backColor = 0;
    // Appearance that never changes during the game.
    ShapeForm form = ShapeForm::kRectangle;
    int borderPixels = 0;   // 0: no outline
    bool fillSolid = true;  // false: transparent, the interior is not drawn
};

enum class Align : uint8_t { kLeft, kCenter };

struct FontSpec {
    const char* face = "";
    float points = 9.0f;
    int weight = 400;
    bool underline = false;
};

struct Label {
    float left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    Color foreColor = 0;
    bool visible = true;
    Align align = Align::kLeft;
    FontSpec font;
};

struct CheckBox {
    float left = 0, top = 0, width = 0, height = 0;
    int value = 1;  // 1 ticked, 0 not
    bool visible = true;
    std::string caption;
    Color foreColor = 0;
    Color backColor = 0;
    FontSpec font;
};

// The start image and the thin new-game button: both only show, hide and take clicks.
struct Clickable {
    float left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    Color backColor = 0;
};

// Timer ids, in the order timers that come due at the same instant are fired: gravity goes
// before the main tick, so a ball that falls onto the bar is put back onto it before the frame
// is drawn, and the game-over poller comes after the main tick that raised the flag.
enum class TimerId : uint8_t { tmrScore, tmrBall, tmrMain, tmrPower, tmrGameOver };
inline constexpr int kTimerCount = 5;
inline constexpr std::array<TimerId, kTimerCount> kAllTimers = {
    TimerId::tmrScore, TimerId::tmrBall, TimerId::tmrMain, TimerId::tmrPower, TimerId::tmrGameOver};
const char* TimerName(TimerId id);

struct Timer {
    int intervalMs = 1;
    bool enabled = false;
};

// Everything the player can see or use on the window frmSinkaway.
struct Form {
    Color backColor = colors::kBlack;

    Shape shpWallTop, shpWallLeft, shpWallRight, shpWallBottom;
    Shape shpBall;
    Shape shpHole;   // element 0 of a control array that has no other element
    Shape shpFloor;  // likewise
    Shape shpPower;

    Label lblScore, lblGameOverScore, lblVantrel, lblSinkaway, lblGameOver;
    CheckBox chkPower, chkBGM;
    Clickable imgNewGame, cmdNewGame;

    std::array<Timer, kTimerCount> timers{};

    Timer& timer(TimerId id) { return timers[static_cast<int>(id)]; }
    const Timer& timer(TimerId id) const { return timers[static_cast<int>(id)]; }
    Timer& tmrMain() { return timer(TimerId::tmrMain); }
    Timer& tmrBall() { return timer(TimerId::tmrBall); }
    Timer& tmrScore() { return timer(TimerId::tmrScore); }
    Timer& tmrPower() { return timer(TimerId::tmrPower); }
    Timer& tmrGameOver() { return timer(TimerId::tmrGameOver); }
};

// A game is in play from the moment the start controls hide to the moment the game-over screen
// shows them again.
inline bool InPlay(const Form& form) {
    return !form.imgNewGame.visible && !form.cmdNewGame.visible;
}

// Every control of the form by kind, each with its name, in the order the trace lists them: what
// goes over all the controls (the trace, the fingerprint of what is drawn, the tests' comparisons)
// walks these lists rather than naming the controls again.
template <typename Control>
struct NamedControl {
    const char* name;
    Control Form::*member;
};
inline constexpr NamedControl<Shape> kFormShapes[] = {
    {"shpWallTop", &Form::shpWallTop},     {"shpWallLeft", &Form::shpWallLeft},
    {"shpWallRight", &Form::shpWallRight}, {"shpWallBottom", &Form::shpWallBottom},
    {"shpBall", &Form::shpBall},           {"shpHole", &Form::shpHole},
    {"shpFloor", &Form::shpFloor},         {"shpPower", &Form::shpPower},
};
inline constexpr NamedControl<Label> kFormLabels[] = {
    {"lblScore", &Form::lblScore},       {"lblGameOverScore", &Form::lblGameOverScore},
    {"lblVantrel", &Form::lblVantrel},   {"lblSinkaway", &Form::lblSinkaway},
    {"lblGameOver", &Form::lblGameOver},
};
inline constexpr NamedControl<CheckBox> kFormCheckBoxes[] = {
    {"chkBGM", &Form::chkBGM},
    {"chkPower", &Form::chkPower},
};
inline constexpr NamedControl<Clickable> kFormClickables[] = {
    {"imgNewGame", &Form::imgNewGame},
    {"cmdNewGame", &Form::cmdNewGame},
};

// The timers in the order the form lists them; kAllTimers is the order they fire in.
inline constexpr std::array<TimerId, kTimerCount> kFormTimers = {
    TimerId::tmrMain, TimerId::tmrBall, TimerId::tmrScore, TimerId::tmrPower, TimerId::tmrGameOver};

// Calls fn(name, control) for every control of one kind on `form` (a Form or a const Form).
template <typename Control, size_t N, typename F, typename Fn>
void ForEachNamed(const NamedControl<Control> (&list)[N], F& form, Fn&& fn) {
    for (const NamedControl<Control>& c : list) fn(c.name, form.*c.member);
}
// All of them: shapes, labels, check boxes, then the clickable picture and button.
template <typename F, typename Fn>
void ForEachControl(F& form, Fn&& fn) {
    ForEachNamed(kFormShapes, form, fn);
    ForEachNamed(kFormLabels, form, fn);
    ForEachNamed(kFormCheckBoxes, form, fn);
    ForEachNamed(kFormClickables, form, fn);
}

// The window as it is designed: every control's geometry, look and state before the load event.
Form MakeDesignForm();

inline constexpr const char* kWindowCaption = "    -==----==--\\[-Sinkaway-]/--==--==-";
inline constexpr const char* kAuthorCredit = "A game by Vantrel - 2026";
inline constexpr const char* kMusicCredit = "BGM - 'Castor' by Velluxa, Tron Legacy OST";
inline constexpr const char* kStartTooltip = "Enter the Grid";

}  // namespace sinkaway
