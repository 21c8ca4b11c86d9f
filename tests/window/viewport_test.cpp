// Twips to pixels at several scales, the letterbox, and the default window scale.
#include "viewport.h"

#include <gtest/gtest.h>

#include "form.h"

namespace sinkaway {
namespace {

struct RectCase {
    double scale;
    float l, t, w, h;
    PixelRect want;
};

TEST(Viewport, MapsDesignRectanglesAtWholeScales) {
    const RectCase cases[] = {
        {1, 1440, 240, 300, 300, {96, 16, 116, 36}},  // the ball
        {2, 1440, 240, 300, 300, {192, 32, 232, 72}},
        {1, 0, 0, 4640, 80, {0, 0, 309, 5}},  // top wall: 80 twips is 5.33 pixels
        {3, 0, 0, 4640, 80, {0, 0, 928, 16}},
        {1, -10, 5780, 4750, 80, {-1, 385, 316, 390}},    // the bottom boundary starts left of 0
        {1, 1920, 3600, 840, 135, {128, 240, 184, 249}},  // the thin button
    };
    for (const RectCase& c : cases) {
        const PixelRect r = Viewport(c.scale, 0, 0).Rect(c.l, c.t, c.w, c.h);
        EXPECT_EQ(r.x0, c.want.x0) << c.scale << " " << c.l;
        EXPECT_EQ(r.y0, c.want.y0) << c.scale << " " << c.t;
        EXPECT_EQ(r.x1, c.want.x1) << c.scale << " " << c.l;
        EXPECT_EQ(r.y1, c.want.y1) << c.scale << " " << c.t;
    }
}

TEST(Viewport, NeighboursShareTheirEdgeAtAnyScale) {
    // A ball resting on the bar: its bottom edge and the bar's top edge are one twip value.
    for (double scale : {1.0, 1.37, 2.0, 2.5, 3.0}) {
        const Viewport vp(scale, 7, 3);
        const PixelRect ball = vp.Rect(1440, 3420, 300, 300);
        const PixelRect floor = vp.Rect(0, 3720, 4725, 135);
        EXPECT_EQ(ball.y1, floor.y0) << scale;
    }
}

TEST(Viewport, FitsTheClientAreaCentredWithBars) {
    // Wider than tall: bars left and right.
    Viewport vp = FitViewport(700, 776);
    EXPECT_DOUBLE_EQ(vp.scale(), 2.0);
    EXPECT_EQ(vp.Client().x0, (700 - 618) / 2);
    EXPECT_EQ(vp.Client().y0, 0);
    EXPECT_EQ(vp.Client().w(), 618);
    EXPECT_EQ(vp.Client().h(), 776);
    // Taller than wide: bars above and below.
    vp = FitViewport(618, 1000);
    EXPECT_DOUBLE_EQ(vp.scale(), 2.0);
    EXPECT_EQ(vp.Client().x0, 0);
    EXPECT_EQ(vp.Client().y0, (1000 - 776) / 2);
    // A scale that is not whole still fills the narrow side exactly.
    vp = FitViewport(500, 2000);
    EXPECT_EQ(vp.Client().x0, 0);
    EXPECT_EQ(vp.Client().x1, 500);
}

TEST(Viewport, PointsMapBackIntoTheControlsTheyShow) {
    for (double scale : {1.0, 2.0, 1.75}) {
        const Viewport vp =
            FitViewport(static_cast<int>(309 * scale) + 40, static_cast<int>(388 * scale));
        const PixelRect button = vp.Rect(1920, 3600, 840, 135);
        for (int x : {button.x0, button.x1 - 1}) {
            for (int y : {button.y0, button.y1 - 1}) {
                const TwipPoint p = vp.ToTwips(x, y);
                EXPECT_GE(p.x, 1920) << scale;
                EXPECT_LT(p.x, 1920 + 840) << scale;
                EXPECT_GE(p.y, 3600) << scale;
                EXPECT_LT(p.y, 3600 + 135) << scale;
            }
        }
    }
}

TEST(Viewport, BordersAndFontsGrowWithTheScale) {
    EXPECT_EQ(Viewport(1, 0, 0).Pixels(3), 3);
    EXPECT_EQ(Viewport(2, 0, 0).Pixels(3), 6);
    EXPECT_EQ(Viewport(0.5, 0, 0).Pixels(1), 1);     // never thinner than a pixel
    EXPECT_EQ(Viewport(1, 0, 0).FontPixels(9), 12);  // 9 pt at 96 dpi
    EXPECT_EQ(Viewport(2, 0, 0).FontPixels(27), 72);
    EXPECT_EQ(Viewport(1, 0, 0).FontPixels(14.25f), 19);
}

TEST(Viewport, PicksTheLargestWholeScaleInFourFifthsOfTheDisplay) {
    struct Case {
        int w, h, want;
    } cases[] = {
        {1920, 1080, 2}, {1920, 1040, 2}, {1280, 1024, 2}, {2560, 1440, 2},
        {3840, 2160, 4}, {1366, 768, 1},  {800, 600, 1},   {200, 200, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(PickWindowScale(c.w, c.h), c.want) << c.w << "x" << c.h;
}

}  // namespace
}  // namespace sinkaway
