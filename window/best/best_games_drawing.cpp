// The best games drawn: the "Best games" panel over the playfield, the tag that marks a replay and
// the page's buttons. The panel and the tag in a black box with a white edge, like the pause
// banner, so that they read over anything.
#include <cinttypes>
#include <cstdio>

#include "renderer.h"

namespace sinkaway {

namespace {

constexpr FontSpec kTitleFont{"Fixedsys", 12.0f, 700, true};
constexpr FontSpec kRowFont{"Fixedsys", 9.0f, 700, false};
constexpr FontSpec kTagFont{"Arial Black", 8.25f, 900, false};
constexpr Color kInk = colors::kLightCyan;
constexpr Color kTitleInk = colors::kCyan;
constexpr Color kChosen = colors::kCyan;

constexpr float kLeft = PanelLayout::kLeft, kTop = PanelLayout::kTop;
constexpr float kWidth = PanelLayout::kWidth, kHeight = PanelLayout::kHeight;
constexpr float kRowTop = PanelLayout::kRowTop, kRowHeight = PanelLayout::kRowHeight;
constexpr float kPad = PanelLayout::kPad;

// Keys for the text cache: one per line of text the panel shows.
constexpr int kLines = 24;
const char kLineKeys[kLines] = {};
const char kTagKey = 0;

}  // namespace

void FormRenderer::DrawTick(const PixelRect& c, Color color) {
    // A tick drawn rather than typed: the stand-in fonts need not have one.
    const int u = Unit();
    const int h = c.h();
    const int x0 = c.x0, y0 = c.y0;
    for (int i = 0; i <= h / 3; ++i)
        paint_.Fill({x0 + i, y0 + h / 2 + i, x0 + i + 2 * u, y0 + h / 2 + i + 2 * u}, color);
    for (int i = 0; i <= 2 * h / 3; ++i) {
        const int x = x0 + h / 3 + i, y = y0 + h / 2 + h / 3 - i;
        paint_.Fill({x, y, x + 2 * u, y + 2 * u}, color);
    }
}

void FormRenderer::DrawPanel(const BestGamesPanel& panel, bool files) {
    const int u = Unit();
    const PixelRect box = vp_.Rect(kLeft, kTop, kWidth, kHeight);
    paint_.Fill(box, colors::kBlack);
    paint_.Outline(box, u, colors::kWhite);

    auto line = [&](int index, const std::string& text, const FontSpec& font, Color ink, int x,
                    int y, bool centred) {
        TTF_Font* face = fonts_.Get(font, vp_.FontPixels(font.points));
        const TextImage& image = text_.Get(&kLineKeys[index], text, ink, face, 0, false);
        if (image.texture == nullptr)
            return;
        const SDL_Rect dst{centred ? x - image.w / 2 : x, y, image.w, image.h};
        SDL_RenderCopy(sdl_, image.texture, nullptr, &dst);
    };
    const bool world = panel.tabbed() && panel.tab() != BestGamesPanel::Tab::kMine;
    if (panel.tabbed())
        DrawPanelTabs(panel);
    else
        line(0, "Best games", kTitleFont, kTitleInk, (box.x0 + box.x1) / 2, vp_.Y(kTop + 150),
             true);
    const int textLeft = vp_.X(kLeft + kPad);
    const char* header = world            ? "  #  Name          Score  Date"
                         : panel.tabbed() ? "  #    Score  Date   World"
                                          : "  #    Score  Played (UTC)";
    line(1, header, kRowFont, kInk, textLeft, vp_.Y(kRowTop - kRowHeight), false);

    const auto& rows = panel.rows();
    if (rows.empty()) {
        const std::string& note =
            panel.note().empty()
                ? (panel.loaded() ? std::string("No best games yet") : std::string("Reading..."))
                : panel.note();
        line(2, note, kRowFont, kInk, (box.x0 + box.x1) / 2, vp_.Y(kRowTop + kRowHeight), true);
    }
    for (size_t i = 0; i < rows.size() && i < static_cast<size_t>(PanelLayout::kRowsShown); ++i) {
        const BestGameRow& row = rows[i];
        const float top = kRowTop + static_cast<float>(i) * kRowHeight;
        const bool chosen = static_cast<int>(i) == panel.selected();
        const PixelRect band = vp_.Rect(kLeft + kPad / 2, top, kWidth - kPad, kRowHeight);
        if (chosen)
            paint_.Fill(band, kChosen);
        char text[96];
        if (world) {
            // A world row: its player's name and the day, "12-08".
            std::snprintf(text, sizeof text, "%3d  %-12s %6" PRId64 "  %s", row.rank,
                          row.name.c_str(), row.score, row.played.substr(5, 5).c_str());
        } else if (panel.tabbed()) {
            // The player's own, with what the world made of it.
            std::snprintf(text, sizeof text, "%3d %8" PRId64 "  %s  %s", row.rank, row.score,
                          row.played.substr(5, 5).c_str(), row.world.c_str());
        } else {
            // "2026-12-08T03:00:00Z" shown as "2026-12-08 03:00".
            const std::string date = row.played.substr(0, 10) + " " + row.played.substr(11, 5);
            std::snprintf(text, sizeof text, "%3d %8" PRId64 "  %s", row.rank, row.score,
                          date.c_str());
        }
        const Color ink = chosen ? colors::kBlack : kInk;
        line(3 + static_cast<int>(i), text, kRowFont, ink, textLeft, band.y0 + u, false);
        if (row.verified && !world) {
            const int side = band.h() - 4 * u;
            const int right = vp_.X(kLeft + kWidth - kPad);
            DrawTick({right - side, band.y0 + u, right, band.y0 + u + side}, ink);
        }
    }
    // A problem with what the player asked for takes the help line's place until the next key.
    static const std::string kHelp = "Up/Down choose  Enter watch  H close";
    static const std::string kWorldHelp = "Tab  Enter watch  N name  H close";
    // Between the page's buttons, where they share its line.
    static const std::string kShortWorldHelp = "Tab  Enter  N name";
    const BestGameRow* chosen = panel.Selected();
    const std::string& help = !panel.problem().empty() ? panel.problem()
                              : chosen != nullptr && !chosen->worldReason.empty()
                                  ? chosen->worldReason
                              : panel.tabbed() && files ? kShortWorldHelp
                              : panel.tabbed()          ? kWorldHelp
                                                        : kHelp;
    line(13, help, kRowFont, kInk, (box.x0 + box.x1) / 2, vp_.Y(kTop + kHeight - 420), true);
    if (!files)
        return;
    const float top = PanelLayout::ButtonTop(panel.tabbed()), wide = PanelLayout::kButtonWidth;
    DrawKeyButton(14, {PanelLayout::kOpenLeft, top, wide}, "O open");
    DrawKeyButton(15, {PanelLayout::kSaveLeft, top, wide}, "S save");
}

void FormRenderer::DrawPanelTabs(const BestGamesPanel& panel) {
    // The three tables' names across the title; the one shown filled.
    static const char* const kNames[BestGamesPanel::kTabs] = {"Mine", "World", "Today"};
    TTF_Font* face = fonts_.Get(kTitleFont, vp_.FontPixels(kTitleFont.points));
    for (int i = 0; i < BestGamesPanel::kTabs; ++i) {
        const float left = kLeft + kPad + static_cast<float>(i) * PanelLayout::kTabWidth;
        const PixelRect cell =
            vp_.Rect(left, PanelLayout::kTabTop, PanelLayout::kTabWidth, PanelLayout::kTabHeight);
        const bool shown = static_cast<int>(panel.tab()) == i;
        if (shown)
            paint_.Fill(cell, kTitleInk);
        const TextImage& image = text_.Get(&kLineKeys[17 + i], kNames[i],
                                           shown ? colors::kBlack : kTitleInk, face, 0, false);
        if (image.texture == nullptr)
            continue;
        const SDL_Rect dst{(cell.x0 + cell.x1 - image.w) / 2, (cell.y0 + cell.y1 - image.h) / 2,
                           image.w, image.h};
        SDL_RenderCopy(sdl_, image.texture, nullptr, &dst);
    }
}

void FormRenderer::DrawTodayButton() {
    DrawKeyButton(20, {PanelLayout::kBestLeft, PanelLayout::kTodayTop, PanelLayout::kBestWidth},
                  "D today's game");
}

void FormRenderer::DrawWorldNote(const char* note) {
    // Small, in the top right corner inside the walls: the title's own corner stays clear.
    TTF_Font* face = fonts_.Get(kRowFont, vp_.FontPixels(kRowFont.points));
    const TextImage& image = text_.Get(&kLineKeys[21], note, colors::kGrey, face, 0, false);
    if (image.texture == nullptr)
        return;
    const int u = Unit();
    const SDL_Rect dst{vp_.X(4560) - 4 * u - image.w, vp_.Y(80) + 3 * u, image.w, image.h};
    SDL_RenderCopy(sdl_, image.texture, nullptr, &dst);
}

void FormRenderer::DrawBestGamesButton() {
    DrawKeyButton(16, {PanelLayout::kBestLeft, PanelLayout::kBestTop, PanelLayout::kBestWidth},
                  "H best games");
}

void FormRenderer::DrawKeyButton(int index, const KeyButton& at, const char* text) {
    // The page's buttons, boxed like the replay's tag: their key and what they do, for the
    // keyboard and the finger alike.
    const int u = Unit();
    const PixelRect edge = vp_.Rect(at.left, at.top, at.width, PanelLayout::kButtonHeight);
    paint_.Outline(edge, u, kInk);
    TTF_Font* face = fonts_.Get(kRowFont, vp_.FontPixels(kRowFont.points));
    const TextImage& image = text_.Get(&kLineKeys[index], text, kInk, face, 0, false);
    if (image.texture == nullptr)
        return;
    const SDL_Rect dst{(edge.x0 + edge.x1 - image.w) / 2, (edge.y0 + edge.y1 - image.h) / 2,
                       image.w, image.h};
    SDL_RenderCopy(sdl_, image.texture, nullptr, &dst);
}

void FormRenderer::DrawReplayTag(const std::string& tag) {
    const int u = Unit();
    TTF_Font* font = fonts_.Get(kTagFont, vp_.FontPixels(kTagFont.points));
    const TextImage& text = text_.Get(&kTagKey, tag, kInk, font, 0, false);
    if (text.texture == nullptr)
        return;
    // The top right corner, inside the walls: the score holds the left one.
    const int right = vp_.X(4560) - 4 * u, top = vp_.Y(80) + 3 * u;
    const PixelRect box{right - text.w - 6 * u, top, right, top + text.h + 2 * u};
    tagBox_ = box;
    paint_.Fill(box, colors::kBlack);
    paint_.Outline(box, u, kInk);
    const SDL_Rect dst{box.x0 + 3 * u, top + u, text.w, text.h};
    SDL_RenderCopy(sdl_, text.texture, nullptr, &dst);
}

}  // namespace sinkaway
