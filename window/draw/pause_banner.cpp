// "Paused" over the middle of the playfield, in a box of its own so that it reads over anything.
#include "renderer.h"

namespace sinkaway {

namespace {
constexpr FontSpec kPausedFont{"Fixedsys", 12.0f, 700, false};
constexpr Color kPausedBack = colors::kBlack;
constexpr Color kPausedInk = colors::kWhite;
constexpr const char* kPausedText = "Paused";
}  // namespace

void FormRenderer::DrawPaused() {
    TTF_Font* font = fonts_.Get(kPausedFont, vp_.FontPixels(kPausedFont.points));
    const TextImage& text = text_.Get(&kPausedFont, kPausedText, kPausedInk, font, 0, false);
    const int u = Unit();
    const int w = (text.texture != nullptr ? text.w : 60 * u) + 16 * u;
    const int h = (text.texture != nullptr ? text.h : 16 * u) + 8 * u;
    const int left = (client_.x0 + client_.x1 - w) / 2, top = (client_.y0 + client_.y1 - h) / 2;
    const PixelRect box{left, top, left + w, top + h};
    paint_.Fill(box, kPausedBack);
    paint_.Outline(box, u, kPausedInk);
    if (text.texture == nullptr)
        return;
    const SDL_Rect dst{left + 8 * u, top + 4 * u, text.w, text.h};
    SDL_RenderCopy(sdl_, text.texture, nullptr, &dst);
}

}  // namespace sinkaway
