// What keeps the window's start from hanging in silence. SDL turns TERM and INT into a quit event
// that only the loop reads, and until the loop runs the program may be waiting on the window
// manager: SDL waits for the window to be mapped without a time limit, and a window manager still
// starting, or stuck, may never map it. So until the loop runs TERM and INT end the program at
// once, and a window that has not been shown after a few seconds is reported on standard error.
// The browser has neither signals nor a window manager: its variant of this (platform/web.cpp)
// does nothing.
#pragma once

#include <memory>

namespace sinkaway {

class StartupSignals {
  public:
    // Before SDL_Init: starts SDL's events, whose handlers turn TERM and INT into the quit
    // event, and puts ours in front of them, which end the program at once with a line on
    // standard error and the signal's own status.
    static void Take();
    // When the loop runs: SDL's handlers again, whose quit event the loop reads (a TERM then ends
    // the game as closing the window does). Does nothing without Take.
    static void GiveBack();
};

// While it lives: a line on standard error if it lives for `seconds`.
class ShowWatch {
  public:
    explicit ShowWatch(int seconds);
    ShowWatch(const ShowWatch&) = delete;
    ShowWatch& operator=(const ShowWatch&) = delete;
    ~ShowWatch();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace sinkaway
