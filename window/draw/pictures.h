// The start image and the window icon, read from the game's pixel-art files.
#pragma once

#include <SDL.h>

#include <string>

namespace sinkaway {

class Pictures {
  public:
    Pictures() = default;
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;
    ~Pictures();

    // Reads both pictures. A missing file leaves that picture out (the start image still takes
    // clicks); the message says which file could not be read.
    void Load(std::string& problem);

    SDL_Surface* startImage() const { return large_; }  // 32 x 32, transparent around the art
    SDL_Surface* icon() const { return large_ != nullptr ? large_ : small_; }

  private:
    SDL_Surface* large_ = nullptr;
    SDL_Surface* small_ = nullptr;
};

}  // namespace sinkaway
