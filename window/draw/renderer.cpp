// The client area: shapes, labels and the start image in their stacking order, then the dialog
// controls above them.
#include "renderer.h"

#include <algorithm>

namespace sinkaway {

FormRenderer::FormRenderer(SDL_Renderer* renderer, Fonts& fonts, SDL_Surface* startImage)
    : sdl_(renderer), fonts_(fonts), text_(renderer), paint_(renderer), ellipses_(renderer) {
    if (startImage != nullptr) {
        startImage_ = SDL_CreateTextureFromSurface(renderer, startImage);
        // Pixel art stretched to its rectangle: every source pixel stays a sharp block.
        if (startImage_ != nullptr)
            SDL_SetTextureScaleMode(startImage_, SDL_ScaleModeNearest);
    }
}

FormRenderer::~FormRenderer() {
    if (startImage_ != nullptr)
        SDL_DestroyTexture(startImage_);
}

void FormRenderer::ClipTo(const PixelRect& rect) {
    const int x0 = std::max(rect.x0, client_.x0), y0 = std::max(rect.y0, client_.y0);
    const int x1 = std::min(rect.x1, client_.x1), y1 = std::min(rect.y1, client_.y1);
    // Clipping to a client area that fills the output clips nothing, yet a scissor test costs
    // a software GL driver its fast paths on every pixel drawn.
    if (!bars_ && x0 == client_.x0 && y0 == client_.y0 && x1 == client_.x1 && y1 == client_.y1) {
        SDL_RenderSetClipRect(sdl_, nullptr);
        return;
    }
    // SDL takes an empty clip rectangle for "no clipping"; a one-pixel one off screen clips all.
    const SDL_Rect clip =
        x1 > x0 && y1 > y0 ? SDL_Rect{x0, y0, x1 - x0, y1 - y0} : SDL_Rect{-1, -1, 1, 1};
    SDL_RenderSetClipRect(sdl_, &clip);
}

int FormRenderer::Unit() const {
    return vp_.Pixels(1);
}

void FormRenderer::Draw(const Form& form, const Viewport& viewport, const Overlay& overlay) {
    vp_ = viewport;
    client_ = vp_.Client();
    if (fonts_.generation() != fontGeneration_) {
        text_.Clear();
        fontGeneration_ = fonts_.generation();
    }
    SDL_RenderSetClipRect(sdl_, nullptr);
    // A clear is much cheaper than a filled rectangle of the same size, so where the client area
    // covers the whole output (no black bars) the clear paints the form's background itself.
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(sdl_, &outW, &outH);
    bars_ = client_.x0 > 0 || client_.y0 > 0 || client_.x1 < outW || client_.y1 < outH;
    const bool bars = bars_;
    const Color clear = bars ? colors::kBlack : form.backColor;
    SDL_SetRenderDrawColor(sdl_, RedOf(clear), GreenOf(clear), BlueOf(clear), 255);
    SDL_RenderClear(sdl_);
    ClipTo(client_);
    if (bars && form.backColor != colors::kBlack)
        paint_.Fill(client_, form.backColor);

    DrawShape(form.shpPower);
    // The hole is drawn right over the bar: where it covers the bar the bar is not drawn at all.
    const Shape& hole = form.shpHole;
    const bool holeCovers = hole.visible && hole.fillSolid && hole.form != ShapeForm::kCircle;
    DrawShape(form.shpFloor,
              holeCovers ? vp_.Rect(hole.left, hole.top, hole.width, hole.height) : PixelRect{});
    DrawShape(form.shpHole);
    DrawShape(form.shpWallBottom);
    DrawImage(form.imgNewGame);
    DrawLabel(form.lblGameOver);
    DrawLabel(form.lblSinkaway);
    DrawLabel(form.lblVantrel);
    DrawShape(form.shpBall);
    DrawShape(form.shpWallRight);
    DrawShape(form.shpWallLeft);
    DrawShape(form.shpWallTop);
    DrawLabel(form.lblGameOverScore);
    if (overlay.newBest != nullptr)
        DrawLabel(*overlay.newBest);
    DrawLabel(form.lblScore);

    DrawCheckBox(form.chkBGM, overlay.focused == Control::chkBGM);
    DrawCheckBox(form.chkPower, overlay.focused == Control::chkPower);
    DrawButton(form.cmdNewGame, overlay.focused == Control::cmdNewGame,
               overlay.pressed == Control::cmdNewGame);
    if (overlay.bestGamesButton)
        DrawBestGamesButton();
    if (overlay.todayButton)
        DrawTodayButton();
    if (overlay.worldNote != nullptr)
        DrawWorldNote(overlay.worldNote);
    if (overlay.tooltip)
        DrawTooltip(overlay.tooltipX, overlay.tooltipY);
    tagBox_ = {};
    if (overlay.replayTag != nullptr)
        DrawReplayTag(*overlay.replayTag);
    if (overlay.panel != nullptr)
        DrawPanel(*overlay.panel, overlay.panelFiles);
    if (overlay.nameEntry != nullptr)
        DrawNameEntry(*overlay.nameEntry);
    if (overlay.paused)
        DrawPaused();
    SDL_RenderSetClipRect(sdl_, nullptr);
}

void FormRenderer::DrawShape(const Shape& s, const PixelRect& covered) {
    if (!s.visible)
        return;
    const PixelRect rect = vp_.Rect(s.left, s.top, s.width, s.height);
    const int border = s.borderPixels > 0 ? vp_.Pixels(s.borderPixels) : 0;
    if (s.form == ShapeForm::kCircle) {
        if (ellipses_.Draw(rect, s.fillSolid, s.fillColor, border, s.borderColor))
            return;
        if (s.fillSolid)
            paint_.FillEllipse(rect, s.fillColor);
        paint_.EllipseRing(rect, border, s.borderColor);
    } else if (s.fillSolid && border > 0) {
        // A filled box with a border: the border's colour over the whole box, the fill inside.
        paint_.Fill(rect, s.borderColor, covered);
        paint_.Fill({rect.x0 + border, rect.y0 + border, rect.x1 - border, rect.y1 - border},
                    s.fillColor, covered);
    } else {
        if (s.fillSolid)
            paint_.Fill(rect, s.fillColor, covered);
        paint_.Outline(rect, border, s.borderColor);
    }
}

void FormRenderer::DrawLabel(const Label& label) {
    if (!label.visible)
        return;
    const PixelRect rect = vp_.Rect(label.left, label.top, label.width, label.height);
    TTF_Font* font = fonts_.Get(label.font, vp_.FontPixels(label.font.points));
    const bool centred = label.align == Align::kCenter;
    const TextImage& text =
        text_.Get(&label, label.caption, label.foreColor, font, rect.w(), centred);
    if (text.texture == nullptr)
        return;
    // A label is a fixed-size box: its text is cut off at the box's edges (and the client
    // area's). The text is copied pixel for pixel, so cutting the copy's source and destination
    // alike cuts it exactly, with no clip rectangle to set and reset on every frame.
    const int x = centred ? rect.x0 + (rect.w() - text.w) / 2 : rect.x0;
    const int x0 = std::max({x, rect.x0, client_.x0}), y0 = std::max(rect.y0, client_.y0);
    const int x1 = std::min({x + text.w, rect.x1, client_.x1});
    const int y1 = std::min({rect.y0 + text.h, rect.y1, client_.y1});
    if (x1 <= x0 || y1 <= y0)
        return;
    const SDL_Rect src{x0 - x, y0 - rect.y0, x1 - x0, y1 - y0};
    const SDL_Rect dst{x0, y0, x1 - x0, y1 - y0};
    SDL_RenderCopy(sdl_, text.texture, &src, &dst);
}

void FormRenderer::DrawImage(const Clickable& image) {
    if (!image.visible || startImage_ == nullptr)
        return;
    const PixelRect rect = vp_.Rect(image.left, image.top, image.width, image.height);
    const SDL_Rect dst{rect.x0, rect.y0, rect.w(), rect.h()};
    SDL_RenderCopy(sdl_, startImage_, nullptr, &dst);
}

}  // namespace sinkaway
