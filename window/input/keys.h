// SDL key codes to the Windows virtual-key codes the game's key handlers take.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace sinkaway {

// The virtual-key code of a key, or 0 when it has none. Letters and digits follow the keyboard
// layout; the keypad follows Num Lock as it does on the Windows keyboard (off: arrows and the
// editing keys).
uint16_t ToVirtualKey(SDL_Keycode key, uint16_t mod);

}  // namespace sinkaway
