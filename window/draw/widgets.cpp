// The dialog controls drawn in the classic 3-D look: check boxes with their tick, the thin
// push button, and the start image's tooltip. Their artwork is fixed in pixels, times the scale.
#include <algorithm>

#include "renderer.h"

namespace sinkaway {

namespace {

// Classic system colours.
constexpr Color kHighlight = 0xFFFFFF;
constexpr Color kLight = 0xC0C0C0;
constexpr Color kShadow = 0x808080;
constexpr Color kDarkShadow = 0x404040;
constexpr Color kWindow = 0xFFFFFF;
constexpr Color kInfoBack = 0xE1FFFF;  // pale yellow
constexpr Color kInfoText = 0x000000;

constexpr int kBoxSize = 13;
constexpr int kTextGap = 4;  // from the box to the caption

// The tick mark, 7 x 7, set 3 pixels into the box.
constexpr const char* kTick[] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

constexpr FontSpec kTooltipFont{"MS Sans Serif", 8.25f, 400, false};

}  // namespace

void FormRenderer::DrawCheckBox(const CheckBox& box, bool focused) {
    if (!box.visible)
        return;
    const PixelRect rect = vp_.Rect(box.left, box.top, box.width, box.height);
    const int u = Unit();
    ClipTo(rect);
    paint_.Fill(rect, box.backColor);

    const int size = kBoxSize * u;
    const int bx = rect.x0, by = rect.y0 + (rect.h() - size) / 2;
    PixelRect inside = paint_.Edge({bx, by, bx + size, by + size}, u, kShadow, kHighlight);
    inside = paint_.Edge(inside, u, kDarkShadow, kLight);
    paint_.Fill(inside, kWindow);
    if (box.value == 1) {
        for (int row = 0; row < 7; ++row) {
            for (int col = 0; col < 7; ++col) {
                if (kTick[row][col] != '#')
                    continue;
                const int x = bx + (3 + col) * u, y = by + (3 + row) * u;
                paint_.Fill({x, y, x + u, y + u}, colors::kBlack);
            }
        }
    }

    TTF_Font* font = fonts_.Get(box.font, vp_.FontPixels(box.font.points));
    const TextImage& text = text_.Get(&box, box.caption, box.foreColor, font, 0, false);
    if (text.texture != nullptr) {
        const int tx = bx + size + kTextGap * u, ty = rect.y0 + (rect.h() - text.h) / 2;
        const SDL_Rect dst{tx, ty, text.w, text.h};
        SDL_RenderCopy(sdl_, text.texture, nullptr, &dst);
        if (focused) {
            paint_.Dotted({tx - u, ty, std::min(tx + text.w + u, rect.x1), ty + text.h}, u,
                          box.foreColor);
        }
    }
    ClipTo(client_);
}

void FormRenderer::DrawButton(const Clickable& button, bool focused, bool pressed) {
    if (!button.visible)
        return;
    PixelRect rect = vp_.Rect(button.left, button.top, button.width, button.height);
    const int u = Unit();
    ClipTo(rect);
    // The focused button is the default one: a dark frame around its edges.
    if (focused || pressed) {
        paint_.Outline(rect, u, colors::kBlack);
        rect = {rect.x0 + u, rect.y0 + u, rect.x1 - u, rect.y1 - u};
    }
    PixelRect face;
    if (pressed) {
        paint_.Outline(rect, u, kShadow);
        face = {rect.x0 + u, rect.y0 + u, rect.x1 - u, rect.y1 - u};
    } else {
        face = paint_.Edge(rect, u, kHighlight, kDarkShadow);
        face = paint_.Edge(face, u, kLight, kShadow);
    }
    paint_.Fill(face, button.backColor);
    if (focused) {
        paint_.Dotted({face.x0 + u, face.y0 + u, face.x1 - u, face.y1 - u}, u, kHighlight);
    }
    ClipTo(client_);
}

void FormRenderer::DrawTooltip(int x, int y) {
    TTF_Font* font = fonts_.Get(kTooltipFont, vp_.FontPixels(kTooltipFont.points));
    const TextImage& text = text_.Get(&kTooltipFont, kStartTooltip, kInfoText, font, 0, false);
    if (text.texture == nullptr)
        return;
    const int u = Unit();
    const int w = text.w + 6 * u, h = text.h + 4 * u;
    // Below the pointer's arrow, kept inside the client area.
    int left = std::clamp(x, client_.x0, std::max(client_.x0, client_.x1 - w));
    int top = y + 20 * u;
    if (top + h > client_.y1)
        top = std::max(client_.y0, y - h - 2 * u);
    const PixelRect box{left, top, left + w, top + h};
    paint_.Fill(box, kInfoBack);
    paint_.Outline(box, u, kInfoText);
    const SDL_Rect dst{left + 3 * u, top + 2 * u, text.w, text.h};
    SDL_RenderCopy(sdl_, text.texture, nullptr, &dst);
}

}  // namespace sinkaway
