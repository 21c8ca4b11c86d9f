// The cached ellipse textures must put down exactly the pixels the painter's spans do, at any
// size and ring width, on any background.
#include <gtest/gtest.h>

#include "ellipse_cache.h"
#include "paint.h"

namespace sinkaway {
namespace {

struct Canvas {
    Canvas() {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        SDL_SetRenderDrawColor(renderer, 10, 20, 30, 255);
        SDL_RenderClear(renderer);
    }
    ~Canvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    uint32_t At(int x, int y) const {
        return static_cast<const uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x];
    }
    SDL_Surface* surface;
    SDL_Renderer* renderer;
};

TEST(EllipseCache, MatchesThePaintersPixels) {
    struct Case {
        PixelRect box;
        bool solid;
        int ring;
    } cases[] = {
        {{5, 5, 6, 6}, true, 0},      {{3, 4, 5, 7}, true, 1},
        {{10, 10, 30, 30}, false, 2}, {{2, 3, 42, 43}, true, 2},
        {{1, 2, 42, 39}, true, 3},    {{8, 8, 18, 18}, false, 6},    // ring fills it all
        {{-10, -6, 20, 24}, true, 2}, {{50, 50, 80, 70}, false, 1},  // cut by the edges
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box.x0 << "," << c.box.y0 << " " << c.box.w() << "x"
                                        << c.box.h() << " ring " << c.ring);
        Canvas painted, copied;
        Painter painter(painted.renderer);
        if (c.solid)
            painter.FillEllipse(c.box, 0x0000FF);
        painter.EllipseRing(c.box, c.ring, 0xFF8000);
        EllipseCache cache(copied.renderer);
        ASSERT_TRUE(cache.Draw(c.box, c.solid, 0x0000FF, c.ring, 0xFF8000));
        // Twice: the second copy comes from the cache and changes nothing.
        ASSERT_TRUE(cache.Draw(c.box, c.solid, 0x0000FF, c.ring, 0xFF8000));
        int differ = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) differ += painted.At(x, y) != copied.At(x, y) ? 1 : 0;
        }
        EXPECT_EQ(differ, 0);
    }
}

TEST(EllipseCache, KeepsOneTexturePerLookAndEvictsTheLeastUsed) {
    Canvas canvas;
    EllipseCache cache(canvas.renderer);
    // The ball and the token at their sizes, then many sizes as a window is dragged: the cache
    // stays bounded and the two in use keep being drawn right.
    for (int size = 4; size < 60; ++size) {
        ASSERT_TRUE(cache.Draw({0, 0, 20, 20}, false, 0, 2, 0x0000FF));
        ASSERT_TRUE(cache.Draw({30, 30, 40, 40}, true, 0xFF0000, 1, 0xFF0000));
        ASSERT_TRUE(cache.Draw({0, 0, size, size}, true, 0x00FF00, 0, 0));
    }
    ASSERT_TRUE(cache.Draw({0, 0, 20, 20}, false, 0, 2, 0x0000FF));
    Canvas fresh;
    Painter painter(fresh.renderer);
    painter.EllipseRing({0, 0, 20, 20}, 2, 0x0000FF);
    int ring = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (fresh.At(x, y) != fresh.At(63, 63)) {  // a pixel of the ring
                ++ring;
                EXPECT_EQ(canvas.At(x, y), fresh.At(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ring, 40);
}

}  // namespace
}  // namespace sinkaway
