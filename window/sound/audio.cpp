// SDL2_mixer playback: the music streams from memory, so starting it costs next to nothing.
#include "audio.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "music_file.h"
#include "platform.h"

namespace sinkaway {

Mix_Music* LoadWavMusic(std::vector<uint8_t>& bytes) {
    if (bytes.size() > static_cast<size_t>(INT32_MAX) || !PlausibleWav(bytes))
        return nullptr;
    DropUnusedChunks(bytes);
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr)
        return nullptr;
    // freesrc: the music closes the stream when freed, and SDL2_mixer closes it on failure.
    return Mix_LoadMUSType_RW(rw, MUS_WAV, 1);
}

namespace {

// Without an audio device the mixer was never opened and has nothing to hold.
bool MixerOpen() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0;
}

}  // namespace

void HoldSound() {
    if (MixerOpen()) {
        Mix_PauseMusic();
        Mix_Pause(-1);
    }
}

void ResumeSound() {
    if (MixerOpen()) {
        Mix_ResumeMusic();
        Mix_Resume(-1);
    }
}

SdlMusicPlayer::~SdlMusicPlayer() {
    stop_ = true;
    if (loader_.joinable())
        loader_.join();
    if (!open_)
        return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    if (music_ != nullptr)
        Mix_FreeMusic(music_);
    if (beep_ != nullptr)
        Mix_FreeChunk(beep_);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMusicPlayer::Open() {
    if (open_)
        return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    open_ = true;
    // Made at once, so the beep is there whatever the file turns out to be.
    MakeBeep();
    if (platform::HasThreads())
        loader_ = std::thread(&SdlMusicPlayer::Load, this);
    else
        Load();
}

void SdlMusicPlayer::Load() {
    std::vector<uint8_t> bytes;
    Mix_Music* music = nullptr;
    if (!path_.empty()) {
        MusicFile file = ReadMusicFile(path_, kMusicFileCap, &stop_);
        if (file.status == MusicFileStatus::kOk) {
            bytes = std::move(file.bytes);
            music = platform::DecodeMusic(bytes);
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    musicBytes_ = std::move(bytes);  // moving keeps the buffer, which the music streams from
    music_ = music;
    loaded_ = true;
    if (playWhenLoaded_ && !stop_)
        PlayLoaded();
}

// A short two-tone chime in the device's own format, standing in for a missing track.
void SdlMusicPlayer::MakeBeep() {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS)
        return;
    const int frames = rate * 18 / 100;
    beepSamples_.resize(static_cast<size_t>(frames) * channels * sizeof(int16_t));
    auto* out = reinterpret_cast<int16_t*>(beepSamples_.data());
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double freq = i < frames / 2 ? 880.0 : 660.0;
        const double fade = 1.0 - static_cast<double>(i) / frames;
        const auto v = static_cast<int16_t>(6000.0 * fade * std::sin(2 * M_PI * freq * t));
        for (int c = 0; c < channels; ++c) *out++ = v;
    }
    beep_ = Mix_QuickLoad_RAW(beepSamples_.data(), static_cast<Uint32>(beepSamples_.size()));
}

void SdlMusicPlayer::PlayLoaded() {
    if (music_ != nullptr) {
        // Starting again replaces a track still playing; it plays once and is never stopped.
        Mix_PlayMusic(music_, 0);
    } else if (beep_ != nullptr) {
        Mix_PlayChannel(-1, beep_, 0);
    }
}

void SdlMusicPlayer::PlayAsync() {
    if (!open_)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (loaded_)
        PlayLoaded();
    else
        playWhenLoaded_ = true;
}

}  // namespace sinkaway
