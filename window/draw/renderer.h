// Draws the game window's client area from the controls' data: the same code for the window and
// for screenshots, at any scale.
#pragma once

#include <SDL.h>

#include <string>

#include "best_games_panel.h"
#include "dialog.h"
#include "ellipse_cache.h"
#include "fonts.h"
#include "form.h"
#include "name_entry.h"
#include "paint.h"
#include "text_cache.h"
#include "viewport.h"

namespace sinkaway {

// What the window shows besides the controls' own data.
struct Overlay {
    Control focused = Control::kNone;
    Control pressed = Control::kNone;  // the button held down by the mouse
    bool tooltip = false;
    int tooltipX = 0, tooltipY = 0;  // output pixels, where the pointer rests
    bool paused = false;
    // The best games (best/best_games_drawing.cpp).
    const Label* newBest = nullptr;          // the line under the final score after a new best
    const BestGamesPanel* panel = nullptr;   // open over the playfield
    bool panelFiles = false;                 // with the page's "O open" and "S save" on it
    bool bestGamesButton = false;            // the page's "H best games", bottom right
    const std::string* replayTag = nullptr;  // while a replay plays: "Replay 2×" in a corner
    // The world's boards, where a leaderboard is configured: "D today's game" above "H best
    // games", and a discreet word on the title screen when the session is not ranked.
    bool todayButton = false;
    const char* worldNote = nullptr;
    // The name entry (world/name_entry_drawing.cpp), while it has the keys.
    const NameEntry* nameEntry = nullptr;
};

class FormRenderer {
  public:
    // `startImage` may be null: the image then draws nothing.
    FormRenderer(SDL_Renderer* renderer, Fonts& fonts, SDL_Surface* startImage);
    FormRenderer(const FormRenderer&) = delete;
    FormRenderer& operator=(const FormRenderer&) = delete;
    ~FormRenderer();

    // Draws the whole output: black bars around the client area, then every visible control
    // from back to front.
    void Draw(const Form& form, const Viewport& viewport, const Overlay& overlay);
    // Where the last Draw put the replay's tag, in output pixels; empty when it drew none.
    const PixelRect& replayTagBox() const { return tagBox_; }

  private:
    // Pixels in `covered` are left alone: an opaque shape drawn next paints them.
    void DrawShape(const Shape& shape, const PixelRect& covered = {});
    void DrawLabel(const Label& label);
    void DrawImage(const Clickable& image);
    void DrawCheckBox(const CheckBox& box, bool focused);
    void DrawButton(const Clickable& button, bool focused, bool pressed);
    void DrawTooltip(int x, int y);
    void DrawPaused();  // pause_banner.cpp
    // best/best_games_drawing.cpp
    void DrawPanel(const BestGamesPanel& panel, bool files);
    void DrawReplayTag(const std::string& tag);
    void DrawTick(const PixelRect& cell, Color color);
    void DrawBestGamesButton();
    void DrawTodayButton();
    void DrawWorldNote(const char* note);
    void DrawPanelTabs(const BestGamesPanel& panel);
    // A boxed "key what-it-does" button of the page's, `index` its line in the text cache.
    struct KeyButton {
        float left, top, width;  // twips
    };
    void DrawKeyButton(int index, const KeyButton& at, const char* text);
    // world/name_entry_drawing.cpp
    void DrawNameEntry(const NameEntry& entry);
    // A triangle pointing up or down, filling the width of `cell` and centred in its height.
    void DrawTriangle(const PixelRect& cell, bool up, Color color);
    // Clips to `rect` within the client area (an empty rect clips everything).
    void ClipTo(const PixelRect& rect);
    int Unit() const;  // the pixel of the dialog controls' fixed artwork at this scale

    SDL_Renderer* sdl_;
    Fonts& fonts_;
    SDL_Texture* startImage_ = nullptr;
    TextCache text_;
    Painter paint_;
    EllipseCache ellipses_;
    int fontGeneration_ = 0;
    Viewport vp_;
    PixelRect client_;
    bool bars_ = true;  // the client area leaves black bars in the output
    PixelRect tagBox_;
};

}  // namespace sinkaway
