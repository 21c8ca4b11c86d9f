// The music through SDL2_mixer. Every failure means silence, never an error: no audio device, a
// missing or malformed file (that one gives a short beep of ours instead, once per game start).
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sound.h"

namespace sinkaway {

// Turns the bytes of a music file into SDL2_mixer music, or nullptr. Only a plausible WAV file
// reaches SDL2_mixer, and only its own WAV reader, without its list and sampler chunks. The bytes
// must outlive the music: it streams from them.
Mix_Music* LoadWavMusic(std::vector<uint8_t>& bytes);

// The window's pause: the music and every sound hold where they are, then carry on from there.
// Without an audio device both do nothing.
void HoldSound();
void ResumeSound();

class SdlMusicPlayer final : public MusicPlayer {
  public:
    // `path`: the music file found at start-up, or empty.
    explicit SdlMusicPlayer(std::string path) : path_(std::move(path)) {}
    SdlMusicPlayer(const SdlMusicPlayer&) = delete;
    SdlMusicPlayer& operator=(const SdlMusicPlayer&) = delete;
    ~SdlMusicPlayer() override;

    // Opens the audio device, then reads and loads the file on a thread of its own, so neither a
    // large or hostile file nor a slow disk can hold up the window. The window calls it once it is
    // on screen, so a slow sound server never delays the first picture. The page has one thread
    // and its file in memory: it loads there and then, a few milliseconds (the decoder only reads
    // the headers; the sound is decoded as it plays).
    void Open();
    // Never waits for the file: a game that starts before it is loaded gets its music (or the
    // beep) the moment the loading ends.
    void PlayAsync() override;

  private:
    void Load();
    void MakeBeep();
    void PlayLoaded();  // with mutex_ held and loaded_ set

    std::string path_;
    bool open_ = false;
    Mix_Chunk* beep_ = nullptr;
    std::vector<Uint8> beepSamples_;

    std::thread loader_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    bool loaded_ = false;          // the loader is done: music_ is final
    bool playWhenLoaded_ = false;  // a game started while the loader was still at work
    std::vector<uint8_t> musicBytes_;
    Mix_Music* music_ = nullptr;
};

}  // namespace sinkaway
