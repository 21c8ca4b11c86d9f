// The music service the rules call when a game starts. The window plays a file; headless and in
// tests it only counts.
#pragma once

namespace sinkaway {

class MusicPlayer {
  public:
    virtual ~MusicPlayer() = default;
    // Starts the music once, asynchronously; replaces whatever is still playing. Never reports
    // failure: a missing file or audio device simply means silence (or a short beep).
    virtual void PlayAsync() = 0;
};

class NullMusicPlayer final : public MusicPlayer {
  public:
    void PlayAsync() override {}
};

}  // namespace sinkaway
