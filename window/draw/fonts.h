// The game's fonts: faces found by the platform (fontconfig on the desktop), opened with SDL2_ttf
// at a pixel size.
#pragma once

#include <SDL_ttf.h>

#include <map>
#include <string>
#include <tuple>

#include "form.h"

namespace sinkaway {

// A face on disk that stands for one of the font names the controls ask for.
struct FontFile {
    std::string path;
    int index = 0;
    bool synthesizeBold = false;  // the face is lighter than asked for
};

class Fonts {
  public:
    Fonts() = default;
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    ~Fonts();

    // Starts SDL2_ttf and finds a face for every name the window uses. False, with a message
    // that names the package to install, when not one usable font is there.
    bool Init(std::string& error);

    // The font for a control's font at an em size in pixels; nullptr only if Init failed.
    TTF_Font* Get(const FontSpec& wanted, int pixels);
    // Changes whenever fonts handed out before were closed: whatever keeps their pointers must
    // let go of them, as a new font may come back at the same address.
    int generation() const { return generation_; }

  private:
    const FontFile& Resolve(const std::string& face, int weight);

    bool ttfStarted_ = false;
    bool lookupStarted_ = false;
    int generation_ = 0;
    std::map<std::pair<std::string, int>, FontFile> files_;
    std::map<std::tuple<std::string, int, bool, int>, TTF_Font*> open_;
};

// The stand-ins asked for, in order, when the named face is missing: a face of the same kind.
// Generic names ("monospace", "sans-serif") come last and accept whatever fontconfig offers.
const char* const* StandInFamilies(const std::string& face);

}  // namespace sinkaway
