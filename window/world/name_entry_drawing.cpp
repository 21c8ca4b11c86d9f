// The name entry drawn over the game-over screen: in a black box with a white edge, like the best
// games' panel, its title, the twelve slots in a fixed-width font with the cursor's in inverse and
// a triangle above and below it, "OK", and the keys' help. Where things lie is NameEntryLayout's,
// which the taps go by too.
#include <algorithm>

#include "renderer.h"

namespace sinkaway {

namespace {

constexpr FontSpec kTitleFont{"Fixedsys", 12.0f, 700, true};
constexpr FontSpec kLetterFont{"Fixedsys", 18.0f, 700, false};
constexpr FontSpec kOkFont{"Fixedsys", 9.0f, 700, false};
// Small enough for the help's forty-one characters to fit the box.
constexpr FontSpec kHelpFont{"Fixedsys", 7.5f, 700, false};
constexpr Color kInk = colors::kLightCyan;
constexpr Color kTitleInk = colors::kCyan;
constexpr Color kCursor = colors::kCyan;
// Made once, not on every frame.
const std::string kTitle = "Your name", kOk = "OK";
const std::string kHelp = "Up/Down letter  Left/Right move  Enter OK";

using Layout = NameEntryLayout;

// Keys for the text cache: the title, "OK", the help, then one per slot.
enum Line { kTitleLine, kOkLine, kHelpLine, kFirstSlotLine };
const char kLineKeys[kFirstSlotLine + NameEntry::kSlots] = {};

}  // namespace

void FormRenderer::DrawTriangle(const PixelRect& cell, bool up, Color color) {
    const int w = cell.w();
    const int h = (w + 1) / 2;  // a right angle at the point
    if (w <= 0 || h <= 0)
        return;
    const int top = cell.y0 + (cell.h() - h) / 2, mid = cell.x0 + w / 2;
    for (int row = 0; row < h; ++row) {
        // From the point (row 0) to the base, which is as wide as the cell.
        const int half = std::max(1, (row + 1) * w / (2 * h));
        const int y = up ? top + row : top + h - 1 - row;
        paint_.Fill({mid - half, y, mid + half, y + 1}, color);
    }
}

void FormRenderer::DrawNameEntry(const NameEntry& entry) {
    const int u = Unit();
    const PixelRect box = vp_.Rect(Layout::kLeft, Layout::kTop, Layout::kWidth, Layout::kHeight);
    paint_.Fill(box, colors::kBlack);
    paint_.Outline(box, u, colors::kWhite);

    // `text` centred on `x`, either from `y` down or, with `centreY`, on it.
    auto line = [&](int key, const std::string& text, const FontSpec& font, Color ink, int x, int y,
                    bool centreY) {
        TTF_Font* face = fonts_.Get(font, vp_.FontPixels(font.points));
        const TextImage& image = text_.Get(&kLineKeys[key], text, ink, face, 0, false);
        if (image.texture == nullptr)
            return;
        const SDL_Rect dst{x - image.w / 2, centreY ? y - image.h / 2 : y, image.w, image.h};
        SDL_RenderCopy(sdl_, image.texture, nullptr, &dst);
    };
    const int middle = (box.x0 + box.x1) / 2;
    line(kTitleLine, kTitle, kTitleFont, kTitleInk, middle, vp_.Y(Layout::kTitleTop), false);

    // Each slot a letter on a short line, so that blank ones show too; the cursor's inverted.
    constexpr float kGap = 15, kArrowInset = 45;
    for (int i = 0; i < NameEntry::kSlots; ++i) {
        const float left = Layout::kSlotsLeft + static_cast<float>(i) * Layout::kSlotWidth;
        const PixelRect cell = vp_.Rect(left + kGap, Layout::kLetterTop,
                                        Layout::kSlotWidth - 2 * kGap, Layout::kLetterHeight);
        const bool cursor = i == entry.cursor();
        if (cursor) {
            paint_.Fill(cell, kCursor);
        } else {
            paint_.Fill({cell.x0, cell.y1 - 2 * u, cell.x1, cell.y1}, kInk);
        }
        const char letter = entry.letters()[static_cast<size_t>(i)];
        if (letter != ' ') {
            line(kFirstSlotLine + i, std::string(1, letter), kLetterFont,
                 cursor ? colors::kBlack : kInk, (cell.x0 + cell.x1) / 2, (cell.y0 + cell.y1) / 2,
                 true);
        }
        if (!cursor)
            continue;
        const float x = left + kArrowInset, w = Layout::kSlotWidth - 2 * kArrowInset;
        const float h = Layout::kArrowHeight - 2 * kArrowInset;
        DrawTriangle(vp_.Rect(x, Layout::kAboveTop + kArrowInset, w, h), true, kInk);
        DrawTriangle(vp_.Rect(x, Layout::kBelowTop + kArrowInset, w, h), false, kInk);
    }

    const PixelRect ok =
        vp_.Rect(Layout::kOkLeft, Layout::kOkTop, Layout::kOkWidth, Layout::kOkHeight);
    paint_.Outline(ok, u, kInk);
    line(kOkLine, kOk, kOkFont, kInk, (ok.x0 + ok.x1) / 2, (ok.y0 + ok.y1) / 2, true);
    line(kHelpLine, kHelp, kHelpFont, kInk, middle, vp_.Y(Layout::kHelpTop), false);
}

}  // namespace sinkaway
