// Circles drawn once per size and colours into a texture, then only copied: a ring drawn row by
// row costs a rectangle per row on every frame, and the ball and the token never change shape.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "colors.h"
#include "viewport.h"

namespace sinkaway {

// Pixels of the ellipse filling a w x h box, the same ones Painter's FillEllipse and EllipseRing
// set: `fill` inside when `solid`, `border` on the ring `thickness` wide (0: none), transparent
// elsewhere. ARGB, row by row.
void RasteriseEllipse(int w, int h, bool solid, Color fill, int thickness, Color border,
                      uint32_t* pixels, int pitchPixels);

class EllipseCache {
  public:
    explicit EllipseCache(SDL_Renderer* renderer) : renderer_(renderer) { entries_.reserve(kMax); }
    EllipseCache(const EllipseCache&) = delete;
    EllipseCache& operator=(const EllipseCache&) = delete;
    ~EllipseCache() { Clear(); }

    // Draws the ellipse of `bounds`; false when no texture could be made (draw it another way).
    bool Draw(const PixelRect& bounds, bool solid, Color fill, int thickness, Color border);
    void Clear();

  private:
    // Enough for every circle at two scales; a window dragged through many sizes evicts the
    // least recently used.
    static constexpr size_t kMax = 8;
    struct Entry {
        int w = 0, h = 0, thickness = 0;
        bool solid = false;
        Color fill = 0, border = 0;
        SDL_Texture* texture = nullptr;
        uint64_t lastUse = 0;
    };
    SDL_Texture* Make(int w, int h, bool solid, Color fill, int thickness, Color border);

    SDL_Renderer* renderer_;
    std::vector<Entry> entries_;
    uint64_t clock_ = 0;
};

}  // namespace sinkaway
