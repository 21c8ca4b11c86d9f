// Fullscreen on the desktop's own mode: no mode switch, and the picture is fitted, centred and
// kept in proportion by the same viewport as any window size.
#include "game_window.h"

namespace sinkaway {

void GameWindow::ToggleFullscreen() {
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    dirty_ = true;
}

}  // namespace sinkaway
