// Loading the pixel art with SDL2_image.
#include "pictures.h"

#include <SDL_image.h>

#include "asset_paths.h"

namespace sinkaway {

namespace {

SDL_Surface* LoadPicture(const char* name, std::string& problem) {
    const std::string path = FindAsset(name, "");
    SDL_Surface* surface = path.empty() ? nullptr : IMG_Load(path.c_str());
    if (surface == nullptr) {
        if (!problem.empty())
            problem += "; ";
        problem +=
            std::string("cannot read the picture ") + name +
            (path.empty() ? std::string(" (not found)") : ": " + std::string(IMG_GetError()));
    }
    return surface;
}

}  // namespace

Pictures::~Pictures() {
    if (large_ != nullptr)
        SDL_FreeSurface(large_);
    if (small_ != nullptr)
        SDL_FreeSurface(small_);
}

void Pictures::Load(std::string& problem) {
    large_ = LoadPicture("newgame32.xpm", problem);
    small_ = LoadPicture("newgame16.xpm", problem);
}

}  // namespace sinkaway
