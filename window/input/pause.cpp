// The window's pause: the clock stops, the music holds, and the keys held go up for the game.
#include "pause.h"

#include <SDL_mixer.h>

#include "game_window.h"

namespace sinkaway {

namespace {

// Without an audio device the mixer was never opened and has nothing to hold.
bool MixerOpen() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

}  // namespace

void GameWindow::Pause() {
    if (paused_)
        return;
    // For the game a pause is like another window taking the keyboard: every held key goes up.
    for (uint16_t vk : heldKeys_) {
        if (KeyUpReachesGame(focus_.focused()))
            SendKeyUp(vk);
    }
    heldKeys_.clear();
    paused_ = true;
    if (MixerOpen()) {
        Mix_PauseMusic();
        Mix_Pause(-1);
    }
    dirty_ = true;
}

void GameWindow::Resume() {
    if (!paused_)
        return;
    paused_ = false;
    // The time spent paused is not the game's: no catching up.
    pacer_.Start(NowMicros());
    if (MixerOpen()) {
        Mix_ResumeMusic();
        Mix_Resume(-1);
    }
    dirty_ = true;
}

bool GameWindow::PauseTakes(const KeyPress& press) {
    if (paused_) {
        if (IsPauseKey(press.vk) && !press.repeat)
            Resume();
        windowKeys_.insert(press.vk);
        return true;
    }
    if (IsPauseKey(press.vk) && InPlay(session_.game.form)) {
        if (!press.repeat)
            Pause();
        windowKeys_.insert(press.vk);
        return true;
    }
    return false;
}

}  // namespace sinkaway
