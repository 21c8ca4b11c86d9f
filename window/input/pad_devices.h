// Game pads through SDL: pads come and go at any time, and what their buttons and sticks do goes
// to the input router, as the keyboard's keys and the mouse's clicks do.
#pragma once

#include <SDL.h>

#include <map>

#include "input_router.h"

namespace sinkaway {

class PadDevices {
  public:
    PadDevices() = default;
    PadDevices(const PadDevices&) = delete;
    PadDevices& operator=(const PadDevices&) = delete;
    ~PadDevices() { Close(); }

    static bool IsPadEvent(const SDL_Event& event);
    // Opens a pad plugged in, closes one pulled out, and hands the router what a pad did;
    // answers what the router answered (nothing for a pad plugged in).
    InputRouter::Outcomes Handle(const SDL_Event& event, InputRouter& router);
    void Close();

  private:
    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

}  // namespace sinkaway
