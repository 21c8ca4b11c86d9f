// Pausing the game: which keys do it and when there is a game to pause. The rules never pause; the
// window simply stops running the clock.
#pragma once

#include <cstdint>

#include "form.h"

namespace sinkaway {

inline constexpr uint16_t kVkPause = 19;
inline constexpr uint16_t kVkP = 'P';
inline constexpr const char* kPausedText = "Paused";

inline bool IsPauseKey(uint16_t vk) {
    return vk == kVkP || vk == kVkPause;
}

// Only a game in play pauses: the title and game-over screens wait for the player anyway, and
// their only timers are the ones that keep the picture going.
inline bool InPlay(const Form& form) {
    return !form.imgNewGame.visible && !form.cmdNewGame.visible;
}

}  // namespace sinkaway
