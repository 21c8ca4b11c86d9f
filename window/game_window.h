// The game in an SDL window: its controls drawn every time they change, the player's input turned
// into the window's events, and the timers run from the real clock.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "audio.h"
#include "autoplay.h"
#include "best_games_window.h"
#include "event_wait.h"
#include "fonts.h"
#include "frame_stats.h"
#include "input_router.h"
#include "overlays.h"
#include "pad_devices.h"
#include "pictures.h"
#include "player_events.h"
#include "rand.h"
#include "renderer.h"
#include "session.h"
#include "tick_stats.h"
#include "tooltip.h"
#include "viewport.h"
#include "window_clock.h"
#include "window_options.h"

namespace sinkaway {

class GameWindow {
  public:
    explicit GameWindow(const WindowOptions& options);
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;
    ~GameWindow();

    // Returns the exit status.
    int Run();

  private:
    // The window's life (window.cpp).
    bool Open(std::string& error);
    void Loop();
    // One pass of the loop after its wait: due ticks, events, and a picture if anything changed.
    void Step();
    // After the loop: the recording closed and the measurements printed. Returns the status.
    int Finish();
    // How long the loop may sleep before something is due, or -1: until an event comes.
    int MillisToSleep() const;
    void Render();
    void PrintStats(double wallSeconds) const;
    // What the best games ask of the loop after a command, their news or a file.
    void Carry(BestGamesWindow::Effects effects);
    // The session starts again from a seed the world's server handed out: the title screen as
    // it was, with the boxes as the player left them.
    void PlayFrom(const WorldTicket& ticket);

    // SDL's events through the input router to the session and the screen (window_input.cpp).
    void Handle(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    // False when the mouse event changes nothing the game sees.
    bool HandleMouse(const SDL_Event& event);
    void Apply(InputRouter::Outcomes outcomes);
    // The control under a window point, with the point in output pixels.
    Control ControlAt(int windowX, int windowY, int& outX, int& outY) const;
    // A window point in twips, with the point in output pixels.
    TwipPoint TwipsAt(int windowX, int windowY, int& outX, int& outY) const;
    // A finger and what lies under it.
    Touch TouchOf(const SDL_TouchFingerEvent& finger) const;
    // After every event: hidden controls give up the focus and the tooltip, and the window
    // draws again.
    void AfterEvent();

    // What the window shows with.
    struct Screen {
        Fonts fonts;
        Pictures pictures;
        SDL_Window* window = nullptr;
        SDL_Renderer* renderer = nullptr;
        bool vsync = false;
        int64_t framePeriodMs = 16;  // the display's: a fast replay draws no more often
        std::unique_ptr<FormRenderer> drawer;
        Viewport viewport;
    };
    // Measurements (--stats).
    struct Stats {
        TickStats ticks;
        FrameStats frames;
    };
    // Runs nobody plays or watches (--autoplay, --seconds).
    struct Unattended {
        Autoplay autoplay;
        int64_t endNanos = -1;  // CLOCK_MONOTONIC instant at which --seconds ends the run
    };

    const WindowOptions& options_;
    bool running_ = true;
    Screen screen_;
    Overlays overlays_;
    SeededGenerator random_;
    SdlMusicPlayer music_;
    Session session_;
    WindowClock clock_;
    Stats stats_;
    Unattended unattended_;
    PadDevices pads_;
    EventWait wait_;  // before best_: the store worker wakes the loop through it
    PlayerEvents player_;
    Tooltip tooltip_;
    // After music_ and wait_, which its worker uses, so that the worker stops before them.
    BestGamesWindow best_;
    InputRouter router_;   // reads the best games' mode
    bool played_ = false;  // a game started in this session: it keeps its seed
};

}  // namespace sinkaway
