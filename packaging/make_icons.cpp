// Builds the desktop icons from our pixel art: each size is the 16 or 32 pixel picture scaled up
// by whole steps, nearest neighbour, so the pixels stay crisp.
// Usage: make_icons SMALL.xpm LARGE.xpm OUTDIR [SIZE...]  (writes OUTDIR/NxN.png for each size:
// 16, 32, 64, 128 and 256 for the desktop; the page asks for those a home screen wants)
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool SaveScaled(SDL_Surface* source, int size, const std::string& path) {
    SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_RGBA32);
    if (out == nullptr)
        return false;
    SDL_Surface* src = SDL_ConvertSurfaceFormat(source, SDL_PIXELFORMAT_RGBA32, 0);
    bool ok = src != nullptr;
    if (ok) {
        const int factor = size / src->w;
        auto* from = static_cast<const Uint32*>(src->pixels);
        auto* to = static_cast<Uint32*>(out->pixels);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                to[y * (out->pitch / 4) + x] = from[(y / factor) * (src->pitch / 4) + x / factor];
            }
        }
        ok = IMG_SavePNG(out, path.c_str()) == 0;
    }
    SDL_FreeSurface(src);
    SDL_FreeSurface(out);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_icons SMALL.xpm LARGE.xpm OUTDIR [SIZE...]\n");
        return 2;
    }
    std::vector<int> sizes;
    for (int i = 4; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {16, 32, 64, 128, 256};
    SDL_Surface* small = IMG_Load(argv[1]);
    SDL_Surface* large = IMG_Load(argv[2]);
    if (small == nullptr || large == nullptr) {
        std::fprintf(stderr, "make_icons: cannot read the pictures: %s\n", IMG_GetError());
        return 1;
    }
    const std::string dir = argv[3];
    for (int size : sizes) {
        SDL_Surface* source = size == 16 ? small : large;
        // Scaled by whole steps only: any other size would blur or drop the picture's pixels.
        if (size <= 0 || size % source->w != 0) {
            std::fprintf(stderr, "make_icons: %d is not a whole multiple of the picture\n", size);
            return 2;
        }
        const std::string path =
            dir + "/" + std::to_string(size) + "x" + std::to_string(size) + ".png";
        if (!SaveScaled(source, size, path)) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    SDL_FreeSurface(small);
    SDL_FreeSurface(large);
    return 0;
}
