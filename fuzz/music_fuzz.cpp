// Any bytes as the music file: they go through the very call the game's music player makes once it
// has read the file, with the audio device open as in the game (SDL's dummy driver). Whatever the
// bytes, loading must fail cleanly or give music that can be asked about and freed.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio.h"

namespace {

bool OpenAudioOnce() {
    static const bool open = [] {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        return SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == 0;
    }();
    return open;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!OpenAudioOnce())
        __builtin_trap();  // the dummy driver always opens; anything else is a broken setup
    std::vector<uint8_t> bytes(data, data + size);
    Mix_Music* music = sinkaway::LoadWavMusic(bytes);
    if (music != nullptr) {
        // What the header says must be usable: a duration, a type, and freeing.
        [[maybe_unused]] const double seconds = Mix_MusicDuration(music);
        if (Mix_GetMusicType(music) != MUS_WAV)
            __builtin_trap();
        Mix_FreeMusic(music);
    }
    return 0;
}
