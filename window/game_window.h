// The game in an SDL window: its controls drawn every time they change, the player's input turned
// into the window's events, and the timers run from the real clock.
#pragma once

#include <SDL.h>

#include <chrono>
#include <memory>
#include <string>

#include "audio.h"
#include "autoplay.h"
#include "best_games.h"
#include "event_wait.h"
#include "fonts.h"
#include "frame_stats.h"
#include "input_router.h"
#include "pacer.h"
#include "pad_devices.h"
#include "pictures.h"
#include "player_events.h"
#include "rand.h"
#include "renderer.h"
#include "session.h"
#include "tick_stats.h"
#include "tooltip.h"
#include "viewport.h"
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
    int64_t NowMillis() const;
    Micros NowMicros() const;

    // SDL's events through the input router to the session and the screen (window_input.cpp).
    void Handle(const SDL_Event& event);
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

    // The best games' SDL side (best_games_window.cpp): the worker's wake-ups, the news and
    // the commands carried out, and the replay's form shown in place of the game's.
    // Before the load; false when a replay asked for (--replay) cannot be played.
    bool StartBestGames(uint64_t seed, int& status);
    void TakeStoreNews();
    void DoBestGames(BestGames::Command command);
    // A replay file the player brought (the page's): watched over the panel.
    void WatchFile(const std::string& path);
    const Form& ShownForm() const;

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
    // What was drawn last, so that the loop draws only when something changed.
    struct Drawn {
        bool dirty = true;  // something besides the controls changed: draw again
        uint64_t digest = 0;
        bool tooltip = false;
        int64_t atMs = 0;          // when, on the window's clock
        bool replayEnded = false;  // the replay's tag said it had ended
        std::string replayTag;
        Label newBestLine;  // "New best #N - press H" after a game that entered the table
    };
    // The real clock the timers follow.
    struct Clock {
        std::chrono::steady_clock::time_point start;
        Micros loopStart = 0;
        Pacer pacer;
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
    Drawn drawn_;
    SeededGenerator random_;
    SdlMusicPlayer music_;
    Session session_;
    Clock clock_;
    Stats stats_;
    Unattended unattended_;
    InputRouter router_;
    PadDevices pads_;
    EventWait wait_;  // before best_: the store worker wakes the loop through it
    PlayerEvents player_;
    Tooltip tooltip_;
    BestGames best_;  // last: its worker, which plays music into music_, stops first
};

}  // namespace sinkaway
