// Where the client area lies in the output and how twips become pixels at a scale factor.
#pragma once

namespace sinkaway {

// A rectangle in output pixels: [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int w() const { return x1 - x0; }
    int h() const { return y1 - y0; }
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

struct TwipPoint {
    float x = 0, y = 0;
};

// The client area drawn at `scale` output pixels per 15 twips, its top-left corner at the offset.
// Edges are floored one by one, so shapes that meet in twips meet in pixels without gaps.
class Viewport {
  public:
    Viewport() = default;
    Viewport(double scale, int offsetX, int offsetY)
        : scale_(scale), offsetX_(offsetX), offsetY_(offsetY) {}

    double scale() const { return scale_; }
    int X(double twipX) const;
    int Y(double twipY) const;
    PixelRect Rect(float left, float top, float width, float height) const;
    // The whole client area.
    PixelRect Client() const;
    // A width given in pixels at scale 1 (borders, the check box glyph), at least 1.
    int Pixels(double pixelsAtScale1) const;
    // A font's em size in pixels: points at 96 dots per inch, times the scale.
    int FontPixels(float points) const;
    TwipPoint ToTwips(int x, int y) const;

  private:
    double scale_ = 1.0;
    int offsetX_ = 0, offsetY_ = 0;
};

// The client area fitted into an output of the given size, keeping its aspect ratio and centred:
// what is left over becomes black bars.
Viewport FitViewport(int outputWidth, int outputHeight);

// The largest whole scale whose window fits in about 80 % of the usable display area; at least 1.
int PickWindowScale(int usableWidth, int usableHeight);

// Client area size in pixels at scale 1.
inline constexpr int kClientPixelsWide = 309;
inline constexpr int kClientPixelsHigh = 388;

}  // namespace sinkaway
