// Game pads through SDL: pads come and go at any time, and what their buttons and sticks do goes
// to the input router, as the keyboard's keys and the mouse's clicks do.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

#include "input_router.h"

namespace sinkaway {

class PadDevices {
  public:
    PadDevices() = default;
    PadDevices(const PadDevices&) = delete;
    PadDevices& operator=(const PadDevices&) = delete;
    ~PadDevices() { Close(); }

    // How often the loop looks for a pad plugged in while none is open: SDL would look on every
    // read of events, two reads of the device list a frame for news that comes once in a session.
    static constexpr int64_t kLookEveryMs = 1000;

    // Starts SDL's pads, which announce the ones already plugged in; the loop looks for the rest.
    void Start(int64_t nowMs);
    // How long the loop may sleep before it next looks for a pad, or -1: SDL reads the pads
    // itself, on every read of events, while one is open.
    int64_t MillisToLook(int64_t nowMs) const;
    // Looks for pads plugged in or pulled out, if it is time; what it finds comes as events.
    void Look(int64_t nowMs);
    bool anyOpen() const { return !open_.empty(); }

    static bool IsPadEvent(const SDL_Event& event);
    // Opens a pad plugged in, closes one pulled out, and hands the router what a pad did;
    // answers what the router answered (nothing for a pad plugged in).
    InputRouter::Outcomes Handle(const SDL_Event& event, InputRouter& router);
    void Close();

  private:
    // SDL reads the pads on every read of events while one is open, and never otherwise.
    void ReadWithEvents();

    std::map<SDL_JoystickID, SDL_GameController*> open_;
    int64_t nextLookMs_ = 0;
};

}  // namespace sinkaway
