// Steady play must not touch the heap from our code on any frame: the autoplayer plays while
// every tick's frame is drawn with the window's drawing code, and every operator new in this
// binary is counted. (SDL's and FreeType's own mallocs, such as a new score's text surface, are
// theirs and not counted.)
#include <gtest/gtest.h>

#include "../counting_new.h"

#include "autoplay.h"
#include "fonts.h"
#include "form_digest.h"
#include "renderer.h"
#include "session.h"

namespace sinkaway {
namespace {

TEST(FrameAllocation, PlayAndDrawingAllocateNothingOnceWarm) {
    constexpr int kScale = 1;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
        0, kClientPixelsWide * kScale, kClientPixelsHigh * kScale, 32, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(surface, nullptr);
    SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(surface);
    ASSERT_NE(sdl, nullptr);
    Fonts fonts;
    std::string error;
    ASSERT_TRUE(fonts.Init(error)) << error;
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(2);
    Autoplay autoplay;
    long frames = 0;
    {
        FormRenderer drawer(sdl, fonts, nullptr);
        const Viewport viewport = FitViewport(surface->w, surface->h);
        uint64_t drawn = 0;
        // As the window's loop: the ticks that came due, a look by the player, a frame when
        // anything visible changed.
        auto play = [&](int ticks) {
            for (int i = 0; i < ticks; ++i) {
                session.Advance(15625);
                autoplay.Step(session);
                const uint64_t digest = VisibleDigest(session.game.form);
                if (digest != drawn) {
                    drawer.Draw(session.game.form, viewport, Overlay{});
                    SDL_RenderPresent(sdl);
                    drawn = digest;
                    ++frames;
                }
            }
        };
        // Warm up: a game over and a new game give every caption its longest text and every
        // text and circle its texture.
        for (int i = 0; i < 60 * 30 && autoplay.gamesStarted() < 2; ++i) play(32);
        ASSERT_GE(autoplay.gamesStarted(), 2) << "no game over in half an hour";
        play(64 * 5);
        const long before = gAllocations.load();
        const long framesBefore = frames;
        const int64_t games = autoplay.gamesStarted();
        play(64 * 240);
        EXPECT_EQ(gAllocations.load() - before, 0);
        EXPECT_GT(frames - framesBefore, 64 * 120);
        // The span measured holds game overs and new games too, not only play.
        EXPECT_GT(autoplay.gamesStarted(), games);
    }
    SDL_DestroyRenderer(sdl);
    SDL_FreeSurface(surface);
}

}  // namespace
}  // namespace sinkaway
