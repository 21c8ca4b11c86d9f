// The drawing code through its screenshots: what shows on the title screen and in play, at the
// pixels the controls' geometry gives at scale 1. Also the pieces that decide what to draw.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "asset_paths.h"
#include "fonts.h"
#include "form_digest.h"
#include "paint.h"
#include "renderer.h"
#include "screenshot.h"
#include "session.h"

namespace sinkaway {
namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Rgb& c) {
    return o << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}

class Picture {
  public:
    explicit Picture(const Form& form) {
        path_ = ::testing::TempDir() + "sinkaway_drawing_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
        std::string error;
        EXPECT_TRUE(SaveScreenshot(form, path_, error)) << error;
        SDL_Surface* loaded = IMG_Load(path_.c_str());
        if (loaded != nullptr) {
            surface_.reset(SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0));
            SDL_FreeSurface(loaded);
        }
    }
    ~Picture() { std::remove(path_.c_str()); }

    bool ok() const { return surface_ != nullptr; }
    int w() const { return surface_->w; }
    int h() const { return surface_->h; }
    Rgb At(int x, int y) const {
        const auto* row = static_cast<const Uint8*>(surface_->pixels) + y * surface_->pitch;
        Uint32 p;
        std::memcpy(&p, row + x * 4, 4);
        Uint8 r, g, b;
        SDL_GetRGB(p, surface_->format, &r, &g, &b);
        return {r, g, b};
    }
    // How many pixels of a rectangle have exactly this colour.
    int Count(int x0, int y0, int x1, int y1, Rgb c) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) n += At(x, y) == c;
        }
        return n;
    }

  private:
    std::string path_;
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface_{nullptr, &SDL_FreeSurface};
};

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kCyan{0, 255, 255}, kLightCyan{192, 255, 255},
    kRed{255, 0, 0}, kGreen{0, 255, 0};

TEST(Screenshot, TitleScreenShowsWallsTitleCreditBoxesAndButton) {
    Form form = MakeDesignForm();
    form.lblGameOver.visible = form.lblGameOverScore.visible = false;  // as after the load event
    const Picture pic(form);
    ASSERT_TRUE(pic.ok());
    EXPECT_EQ(pic.w(), 309);
    EXPECT_EQ(pic.h(), 388);
    // Walls: white inside a one-pixel black outline; 80 twips is 5 pixels.
    EXPECT_EQ(pic.At(2, 200), kWhite);
    EXPECT_EQ(pic.At(0, 200), kBlack);
    EXPECT_EQ(pic.At(4, 200), kBlack);
    EXPECT_EQ(pic.At(306, 200), kWhite);
    EXPECT_EQ(pic.At(150, 2), kWhite);
    EXPECT_EQ(pic.At(150, 200), kBlack);  // background
    // Title in cyan, credit in light cyan, each inside its own label.
    EXPECT_GT(pic.Count(0, 64, 309, 113, kCyan), 300);
    EXPECT_GT(pic.Count(16, 368, 297, 385, kLightCyan), 40);
    EXPECT_EQ(pic.Count(0, 113, 309, 190, kCyan), 0);
    // Both boxes ticked: white boxes with black tick pixels, captions beside them.
    for (int top : {328, 344}) {
        const int h = top == 328 ? 17 : 25;
        const int boxTop = top + (h - 13) / 2;
        EXPECT_EQ(pic.At(24 + 4, boxTop + 3), kWhite) << top;  // empty corner of the box
        EXPECT_EQ(pic.At(24 + 9, boxTop + 3), kBlack) << top;  // top of the tick
        EXPECT_GT(pic.Count(24 + 17, top, 24 + 100, top + h, kLightCyan), 10) << top;
    }
    // The thin button: a light top edge across 128..183 at row 240, black face inside.
    EXPECT_EQ(pic.At(150, 240), kWhite);
    EXPECT_EQ(pic.At(150, 244), kBlack);
    // Nothing of the game yet.
    EXPECT_EQ(pic.Count(5, 5, 304, 385, kRed), 0);
    EXPECT_EQ(pic.Count(5, 5, 304, 385, kGreen), 0);
}

TEST(Screenshot, PlayShowsBallBarHoleAndScore) {
    NullMusicPlayer music;
    SeededGenerator random;
    Session session(random, music);
    session.Load(1);
    session.Click(ClickTarget::imgNewGame);
    Form& f = session.game.form;
    f.shpBall.left = 1440;
    f.shpBall.top = 3420;  // resting on the bar
    f.lblScore.caption = "Score:  12";
    const Picture pic(f);
    ASSERT_TRUE(pic.ok());
    // Ball 96..116 x 228..248: a red ring 3 pixels wide round a black middle.
    EXPECT_EQ(pic.At(106, 229), kRed);
    EXPECT_EQ(pic.At(97, 238), kRed);
    EXPECT_EQ(pic.At(106, 238), kBlack);
    // The bar 248..257: white outline, green inside, cut by the black hole at 184..257.
    EXPECT_EQ(pic.At(50, 248), kWhite);
    EXPECT_EQ(pic.At(50, 252), kGreen);
    EXPECT_EQ(pic.At(200, 252), kBlack);
    EXPECT_EQ(pic.At(260, 252), kGreen);
    // The score over the top wall and the playfield, light cyan.
    EXPECT_GT(pic.Count(8, 4, 105, 21, kLightCyan), 20);
    // The title screen is gone.
    EXPECT_EQ(pic.Count(0, 64, 309, 113, kCyan), 0);
}

TEST(Screenshot, UnwritablePathIsAnError) {
    std::string error;
    EXPECT_FALSE(SaveScreenshot(MakeDesignForm(), "/nonexistent-dir/x.png", error));
    EXPECT_FALSE(error.empty());
}

// Draws the title screen at scale 1 after `warmUp` has run on the same renderer; the pixels.
std::vector<Uint32> DrawTitle(Fonts& fonts, const std::function<void(FormRenderer&)>& warmUp) {
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormat(0, 309, 388, 32, SDL_PIXELFORMAT_RGB888), &SDL_FreeSurface);
    std::unique_ptr<SDL_Renderer, decltype(&SDL_DestroyRenderer)> renderer(
        SDL_CreateSoftwareRenderer(surface.get()), &SDL_DestroyRenderer);
    FormRenderer drawer(renderer.get(), fonts, nullptr);
    warmUp(drawer);
    drawer.Draw(MakeDesignForm(), Viewport(1.0, 0, 0), Overlay{});
    SDL_RenderPresent(renderer.get());
    const auto* p = static_cast<const Uint32*>(surface->pixels);
    return std::vector<Uint32>(p, p + surface->pitch / 4 * surface->h);
}

TEST(FormRenderer, TextStaysRightWhenTheFontCacheTurnsOver) {
    Fonts fonts;
    std::string error;
    ASSERT_TRUE(fonts.Init(error)) << error;
    const std::vector<Uint32> fresh = DrawTitle(fonts, [](FormRenderer&) {});
    // A window dragged through many sizes asks for more font sizes than the cache keeps.
    const std::vector<Uint32> after = DrawTitle(fonts, [](FormRenderer& drawer) {
        for (double scale = 1.05; scale < 4.0; scale += 0.05) {
            drawer.Draw(MakeDesignForm(), Viewport(scale, 0, 0), Overlay{});
        }
    });
    EXPECT_GT(fonts.generation(), 0);
    EXPECT_TRUE(fresh == after);
}

TEST(EllipseSpan, IsSymmetricAndInsideItsBounds) {
    const PixelRect b{10, 20, 30, 40};  // a 20-pixel circle
    int widest = 0;
    for (int y = b.y0; y < b.y1; ++y) {
        int x0, x1;
        EllipseSpan(b, y, x0, x1);
        ASSERT_LT(x0, x1) << y;
        EXPECT_EQ(x0 - b.x0, b.x1 - x1) << y;
        EXPECT_GE(x0, b.x0);
        EXPECT_LE(x1, b.x1);
        widest = std::max(widest, x1 - x0);
    }
    EXPECT_EQ(widest, 20);
    int x0, x1;
    EllipseSpan(b, b.y1, x0, x1);
    EXPECT_GE(x0, x1);
}

TEST(VisibleDigest, ChangesOnlyWithWhatCanBeSeen) {
    Form f = MakeDesignForm();
    const uint64_t title = VisibleDigest(f);
    f.shpHole.left += 100;  // the hidden hole moves on every game-over tick
    EXPECT_EQ(VisibleDigest(f), title);
    f.chkBGM.value = 0;
    EXPECT_NE(VisibleDigest(f), title);
    f = MakeDesignForm();
    f.shpBall.visible = true;
    const uint64_t shown = VisibleDigest(f);
    EXPECT_NE(shown, title);
    f.shpBall.top += 50;
    EXPECT_NE(VisibleDigest(f), shown);
    f.lblSinkaway.caption = "x";
    EXPECT_NE(VisibleDigest(f), shown);
}

TEST(AssetCandidates, CommandLineThenDataFolderThenBesideTheProgram) {
    EXPECT_EQ(
        AssetCandidates("Castor.wav", "/tmp/m.wav", "../share/sinkaway", "/usr/share/sinkaway",
                        "/opt/bin/"),
        (std::vector<std::string>{"/tmp/m.wav", "/opt/bin/../share/sinkaway/Castor.wav",
                                  "/usr/share/sinkaway/Castor.wav", "/opt/bin/assets/Castor.wav"}));
    EXPECT_EQ(AssetCandidates("a.xpm", "", "../share/sinkaway", "", ""),
              (std::vector<std::string>{}));
    EXPECT_EQ(AssetCandidates("a.xpm", "", "", "", "/b"),
              (std::vector<std::string>{"/b/assets/a.xpm"}));
}

// A fill that leaves out a part paints every other pixel of its rectangle once, whatever the
// part's overlap.
TEST(Painter, FillAroundAPartPaintsExactlyTheRest) {
    struct Case {
        const char* what;
        PixelRect skip;
    } cases[] = {{"inside", {5, 3, 9, 6}},
                 {"across an edge", {-2, 4, 6, 20}},
                 {"apart", {30, 30, 40, 40}},
                 {"over all", {-1, -1, 99, 99}},
                 {"empty", {4, 4, 4, 9}}};
    constexpr int kW = 16, kH = 10;
    const PixelRect rect{2, 1, 14, 8};
    for (const Case& c : cases) {
        std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
            SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_RGB888),
            &SDL_FreeSurface);
        std::unique_ptr<SDL_Renderer, decltype(&SDL_DestroyRenderer)> r(
            SDL_CreateSoftwareRenderer(surface.get()), &SDL_DestroyRenderer);
        ASSERT_TRUE(surface && r);
        SDL_SetRenderDrawBlendMode(r.get(), SDL_BLENDMODE_ADD);  // a pixel painted twice shows
        Painter(r.get()).Fill(rect, 0x000040, c.skip);
        SDL_RenderPresent(r.get());
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const bool inRect = x >= rect.x0 && x < rect.x1 && y >= rect.y0 && y < rect.y1;
                const bool inSkip =
                    x >= c.skip.x0 && x < c.skip.x1 && y >= c.skip.y0 && y < c.skip.y1;
                const auto* row =
                    static_cast<const Uint32*>(surface->pixels) + y * surface->pitch / 4;
                const Uint32 want = inRect && !inSkip ? 0x400000u : 0u;  // red 0x40
                ASSERT_EQ(row[x] & 0xFFFFFF, want) << c.what << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace sinkaway
