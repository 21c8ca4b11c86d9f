// The loop's sleep: until the display has something for the window, another thread has news, or
// the time is up. On X it watches the display's connection itself, after one read of what came.
#pragma once

#include <SDL.h>

namespace sinkaway {

class EventWait {
  public:
    EventWait() = default;
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;
    ~EventWait();

    // Once the window is open (SDL started): where its display can be watched.
    void Watch(SDL_Window* window);
    // Reads what the display and the pads have, then sleeps for up to `ms` (-1: until something
    // comes; 0: not at all) unless something came. Whatever came is left in SDL's queue. While
    // `sdlWaits` (pads open, which have no connection to watch) SDL's own wait does it all.
    void Wait(int ms, bool sdlWaits);
    // From any thread: ends the sleep now, and the loop's next pass finds the news.
    void Wake();
    // The next event the wait left in SDL's queue, taken without reading the display again.
    static bool Take(SDL_Event& event);

  private:
    Uint32 wakeEvent_ = 0;              // SDL's wait ends on an event in the queue
    int displayFd_ = -1;                // the X connection, -1 without one
    [[maybe_unused]] int wakeFd_ = -1;  // an eventfd written by Wake (X only)
};

}  // namespace sinkaway
