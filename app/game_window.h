// The game in an SDL window: its controls drawn every time they change, the player's input turned
// into the window's events, and the timers run from the real clock.
#pragma once

#include <SDL.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>

#include "audio.h"
#include "autoplay.h"
#include "controls.h"
#include "fonts.h"
#include "frame_stats.h"
#include "options.h"
#include "pacer.h"
#include "pictures.h"
#include "rand.h"
#include "renderer.h"
#include "session.h"
#include "tick_stats.h"
#include "tooltip.h"
#include "viewport.h"

namespace sinkaway {

class GameWindow {
  public:
    explicit GameWindow(const Options& options);
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;
    ~GameWindow();

    // Returns the exit status.
    int Run();

  private:
    bool Open(std::string& error);
    void Loop();
    void Render();
    int WaitMillis() const;

    // Input (window_input.cpp).
    void Handle(const SDL_Event& event);
    void OnKeyDown(const SDL_KeyboardEvent& key);
    void OnKeyUp(const SDL_KeyboardEvent& key);
    void OnMouseDown(const SDL_MouseButtonEvent& button);
    void OnMouseUp(const SDL_MouseButtonEvent& button);
    void OnMouseMotion(const SDL_MouseMotionEvent& motion);
    void OnFocusLost();
    void Click(Control control);
    // The control under a window point, with the point in output pixels.
    Control ControlAt(int windowX, int windowY, int& outX, int& outY) const;
    // After every event: hidden controls give up the focus and the tooltip.
    void AfterEvent();

    int64_t NowMillis() const;
    Micros NowMicros() const;

    const Options& options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    bool vsync_ = false;
    bool running_ = true;

    Fonts fonts_;
    Pictures pictures_;
    std::unique_ptr<FormRenderer> drawer_;
    SeededGenerator random_;
    SdlMusicPlayer music_;
    Session session_;
    Pacer pacer_;
    TickStats stats_;
    std::chrono::steady_clock::time_point start_;

    // Measurements and unattended runs (--stats, --seconds, --frames, --autoplay).
    FrameStats frameStats_;
    Autoplay autoplay_;
    int64_t endNanos_ = -1;  // CLOCK_MONOTONIC instant at which --seconds ends the run
    void PrintStats(double wallSeconds) const;

    FocusRing focus_;
    Tooltip tooltip_;
    Control pressed_ = Control::kNone;  // where the left button went down
    bool pressedOver_ = false;          // ...and the pointer is still over it
    std::set<uint16_t> heldKeys_;       // key-downs the game heard and whose key-up is due

    Viewport viewport_;
    bool dirty_ = true;
    uint64_t drawnDigest_ = 0;
    bool tooltipDrawn_ = false;
};

}  // namespace sinkaway
