// The loop's sleep. SDL's wait for events reads the display twice before it sleeps (once to pump,
// once more in its X wait); after a pump nothing is left unread, so watching the connection is
// enough and saves the second read. Pads and displays other than X keep SDL's wait.
#include "event_wait.h"

#if defined(SDL_VIDEO_DRIVER_X11) && defined(__linux__)
#define SINKAWAY_WATCH_X 1
#include <SDL_syswm.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace sinkaway {

#ifdef SINKAWAY_WATCH_X
namespace {

// Events in SDL's queue besides the marker Take leaves there.
bool Queued() {
    return SDL_HasEvents(SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1) ||
           SDL_HasEvents(SDL_POLLSENTINEL + 1, SDL_LASTEVENT);
}

}  // namespace
#endif

// SDL keeps a marker in its queue between polls; left there, it spares every later SDL wait a
// second read of the display (and of the pads) before it sleeps.
bool EventWait::Take(SDL_Event& event) {
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1) > 0 ||
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_POLLSENTINEL + 1, SDL_LASTEVENT) > 0;
}

EventWait::~EventWait() {
#ifdef SINKAWAY_WATCH_X
    if (wakeFd_ >= 0)
        close(wakeFd_);
#endif
}

void EventWait::Watch([[maybe_unused]] SDL_Window* window) {
    if (const Uint32 type = SDL_RegisterEvents(1); type != static_cast<Uint32>(-1))
        wakeEvent_ = type;
#ifdef SINKAWAY_WATCH_X
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ >= 0)
        displayFd_ = ConnectionNumber(info.info.x11.display);
#endif
}

void EventWait::Wait(int ms, bool sdlWaits) {
    if (displayFd_ < 0 || sdlWaits) {
        if (ms < 0) {
            SDL_WaitEvent(nullptr);
        } else if (ms > 0) {
            SDL_WaitEventTimeout(nullptr, ms);
        } else {
            SDL_PumpEvents();
        }
        return;
    }
#ifdef SINKAWAY_WATCH_X
    // The pump drains the connection and what the X library had already taken from it (the
    // present's replies carry events along), so anything later makes the connection readable.
    // Nothing may talk to X between the pump and the poll.
    SDL_PumpEvents();
    if (ms == 0 || Queued())
        return;
    pollfd watched[2] = {{displayFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int ready = poll(watched, 2, ms);
    if (ready == 0)
        return;  // the time is up, and nothing came
    if ((watched[1].revents & POLLIN) != 0) {
        uint64_t count;
        [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
    }
    // A signal (ready < 0) becomes SDL's quit event in the pump.
    if (ready < 0 || watched[0].revents != 0)
        SDL_PumpEvents();
#endif
}

void EventWait::Wake() {
    if (wakeEvent_ != 0) {
        SDL_Event e{};
        e.type = wakeEvent_;
        SDL_PushEvent(&e);
    }
#ifdef SINKAWAY_WATCH_X
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t put = write(wakeFd_, &one, sizeof one);
    }
#endif
}

}  // namespace sinkaway
