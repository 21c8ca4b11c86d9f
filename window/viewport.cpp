// Twips to output pixels and back, and the choice of scale.
#include "viewport.h"

#include <algorithm>
#include <cmath>

#include "form.h"

namespace sinkaway {

namespace {
// Guards the floor against products such as 3 * 0.1 landing just below a whole number.
constexpr double kEpsilon = 1e-7;

int FloorPixels(double twips, double scale) {
    return static_cast<int>(std::floor(twips * scale / kTwipsPerPixel + kEpsilon));
}
}  // namespace

int Viewport::X(double twipX) const {
    return offsetX_ + FloorPixels(twipX, scale_);
}
int Viewport::Y(double twipY) const {
    return offsetY_ + FloorPixels(twipY, scale_);
}

PixelRect Viewport::Rect(float left, float top, float width, float height) const {
    const double l = left, t = top;
    return {X(l), Y(t), X(l + width), Y(t + height)};
}

PixelRect Viewport::Client() const {
    return Rect(0, 0, kClientWidth, kClientHeight);
}

int Viewport::Pixels(double pixelsAtScale1) const {
    return std::max(1, static_cast<int>(std::lround(pixelsAtScale1 * scale_)));
}

int Viewport::FontPixels(float points) const {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * scale_)));
}

TwipPoint Viewport::ToTwips(int x, int y) const {
    // The centre of the pixel, so a click on a shape's first pixel row lands inside it.
    const double k = kTwipsPerPixel / scale_;
    return {static_cast<float>((x - offsetX_ + 0.5) * k),
            static_cast<float>((y - offsetY_ + 0.5) * k)};
}

Viewport FitViewport(int outputWidth, int outputHeight) {
    const double scale = std::min(static_cast<double>(outputWidth) / kClientPixelsWide,
                                  static_cast<double>(outputHeight) / kClientPixelsHigh);
    if (scale <= 0)
        return Viewport(1.0, 0, 0);
    const int w = static_cast<int>(std::floor(kClientPixelsWide * scale + kEpsilon));
    const int h = static_cast<int>(std::floor(kClientPixelsHigh * scale + kEpsilon));
    return Viewport(scale, (outputWidth - w) / 2, (outputHeight - h) / 2);
}

int PickWindowScale(int usableWidth, int usableHeight) {
    const int byWidth = usableWidth * 4 / 5 / kClientPixelsWide;
    const int byHeight = usableHeight * 4 / 5 / kClientPixelsHigh;
    return std::max(1, std::min(byWidth, byHeight));
}

}  // namespace sinkaway
