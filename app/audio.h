// The music through SDL2_mixer. Every failure means silence, never an error: no audio device, a
// missing or malformed file (that one gives a short beep of ours instead, once per game start).
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>
#include <vector>

#include "sound.h"

namespace sinkaway {

class SdlMusicPlayer final : public MusicPlayer {
  public:
    // `path`: the music file found at start-up, or empty.
    explicit SdlMusicPlayer(std::string path) : path_(std::move(path)) {}
    SdlMusicPlayer(const SdlMusicPlayer&) = delete;
    SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;
    ~SdlMusicPlayer() override;

    // Opens the audio device and the file. The window calls it once it is on screen, so a slow
    // sound server never delays the first picture.
    void Open();
    void PlayAsync() override;

  private:
    void MakeBeep();

    std::string path_;
    bool open_ = false;
    Mix_Music* music_ = nullptr;
    Mix_Chunk* beep_ = nullptr;
    std::vector<Uint8> beepSamples_;
};

}  // namespace sinkaway
