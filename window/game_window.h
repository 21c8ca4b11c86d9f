// The game in an SDL window: its controls drawn every time they change, the player's input turned
// into the window's events, and the timers run from the real clock.
#pragma once

#include <SDL.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "audio.h"
#include "autoplay.h"
#include "controls.h"
#include "fonts.h"
#include "gamepad.h"
#include "frame_stats.h"
#include "options.h"
#include "pacer.h"
#include "pictures.h"
#include "rand.h"
#include "recorder.h"
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
    // A key from the keyboard or the pad.
    void KeyDown(const KeyPress& press);
    void KeyUp(uint16_t vk);
    void OnPad(const SDL_Event& event);  // gamepad_sdl.cpp
    void ClosePads();
    void OnMouseDown(const SDL_MouseButtonEvent& button);
    void OnMouseUp(const SDL_MouseButtonEvent& button);
    void OnMouseMotion(const SDL_MouseMotionEvent& motion);
    void OnFocusLost();
    void Click(Control control);
    // The control under a window point, with the point in output pixels.
    Control ControlAt(int windowX, int windowY, int& outX, int& outY) const;
    // After every event: hidden controls give up the focus and the tooltip.
    void AfterEvent();

    // The one way the player's events reach the session, so that a recording misses none
    // (deliver.cpp).
    void SendClick(ClickTarget target);
    void SendKeyDown(uint16_t vk);
    void SendKeyUp(uint16_t vk);
    bool StartRecording(uint64_t seed);
    // Pause (pause.cpp). PauseTakes: whether the pause kept a key-down from the game.
    void Pause();
    void Resume();
    bool PauseTakes(const KeyPress& press);
    void ToggleFullscreen();
    void FinishRecording();

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
    std::set<uint16_t> windowKeys_;     // key-downs the window kept, whose key-up it keeps too
    bool paused_ = false;
    PadMapper padKeys_;
    std::map<SDL_JoystickID, SDL_GameController*> pads_;

    ScriptRecorder recorder_;

    Viewport viewport_;
    bool dirty_ = true;
    uint64_t drawnDigest_ = 0;
    bool tooltipDrawn_ = false;
};

}  // namespace sinkaway
