// The primitives, on SDL_Renderer rectangles.
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace sinkaway {

void EllipseSpan(const PixelRect& b, int y, int& x0, int& x1) {
    x0 = x1 = 0;
    const double rx = b.w() / 2.0, ry = b.h() / 2.0;
    if (rx <= 0 || ry <= 0)
        return;
    const double cx = b.x0 + rx, cy = b.y0 + ry;
    const double dy = (y + 0.5 - cy) / ry;
    if (dy * dy > 1.0)
        return;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    x0 = static_cast<int>(std::ceil(cx - half - 0.5));
    x1 = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
}

void Painter::SetColor(Color c) {
    SDL_SetRenderDrawColor(r_, RedOf(c), GreenOf(c), BlueOf(c), 255);
}

void Painter::Span(int x0, int x1, int y, Color color) {
    if (x1 <= x0)
        return;
    SetColor(color);
    const SDL_Rect rect{x0, y, x1 - x0, 1};
    SDL_RenderFillRect(r_, &rect);
}

void Painter::Fill(const PixelRect& rect, Color color) {
    if (rect.empty())
        return;
    SetColor(color);
    const SDL_Rect r{rect.x0, rect.y0, rect.w(), rect.h()};
    SDL_RenderFillRect(r_, &r);
}

void Painter::Fill(const PixelRect& rect, Color color, const PixelRect& skip) {
    const PixelRect cut{std::max(rect.x0, skip.x0), std::max(rect.y0, skip.y0),
                        std::min(rect.x1, skip.x1), std::min(rect.y1, skip.y1)};
    if (cut.empty()) {
        Fill(rect, color);
        return;
    }
    Fill({rect.x0, rect.y0, rect.x1, cut.y0}, color);
    Fill({rect.x0, cut.y0, cut.x0, cut.y1}, color);
    Fill({cut.x1, cut.y0, rect.x1, cut.y1}, color);
    Fill({rect.x0, cut.y1, rect.x1, rect.y1}, color);
}

void Painter::Outline(const PixelRect& rect, int t, Color color) {
    if (rect.empty() || t <= 0)
        return;
    if (2 * t >= rect.w() || 2 * t >= rect.h()) {
        Fill(rect, color);
        return;
    }
    Fill({rect.x0, rect.y0, rect.x1, rect.y0 + t}, color);
    Fill({rect.x0, rect.y1 - t, rect.x1, rect.y1}, color);
    Fill({rect.x0, rect.y0 + t, rect.x0 + t, rect.y1 - t}, color);
    Fill({rect.x1 - t, rect.y0 + t, rect.x1, rect.y1 - t}, color);
}

void Painter::FillEllipse(const PixelRect& b, Color color) {
    for (int y = b.y0; y < b.y1; ++y) {
        int x0, x1;
        EllipseSpan(b, y, x0, x1);
        Span(x0, x1, y, color);
    }
}

void Painter::EllipseRing(const PixelRect& b, int t, Color color) {
    if (t <= 0)
        return;
    const PixelRect inner{b.x0 + t, b.y0 + t, b.x1 - t, b.y1 - t};
    for (int y = b.y0; y < b.y1; ++y) {
        int x0, x1, i0 = 0, i1 = 0;
        EllipseSpan(b, y, x0, x1);
        if (!inner.empty())
            EllipseSpan(inner, y, i0, i1);
        if (i1 <= i0) {
            Span(x0, x1, y, color);
        } else {
            Span(x0, i0, y, color);
            Span(i1, x1, y, color);
        }
    }
}

PixelRect Painter::Edge(const PixelRect& rect, int t, Color topLeft, Color bottomRight) {
    if (rect.empty())
        return rect;
    Fill({rect.x0, rect.y0, rect.x1, rect.y0 + t}, topLeft);
    Fill({rect.x0, rect.y0, rect.x0 + t, rect.y1}, topLeft);
    Fill({rect.x0, rect.y1 - t, rect.x1, rect.y1}, bottomRight);
    Fill({rect.x1 - t, rect.y0 + t, rect.x1, rect.y1}, bottomRight);
    return {rect.x0 + t, rect.y0 + t, rect.x1 - t, rect.y1 - t};
}

void Painter::Dotted(const PixelRect& rect, int dot, Color color) {
    if (rect.empty() || dot <= 0)
        return;
    const int step = 2 * dot;
    for (int x = rect.x0; x < rect.x1; x += step) {
        const int w = std::min(dot, rect.x1 - x);
        Fill({x, rect.y0, x + w, rect.y0 + dot}, color);
        Fill({x, std::max(rect.y0, rect.y1 - dot), x + w, rect.y1}, color);
    }
    for (int y = rect.y0 + step; y < rect.y1 - dot; y += step) {
        Fill({rect.x0, y, rect.x0 + dot, y + dot}, color);
        Fill({std::max(rect.x0, rect.x1 - dot), y, rect.x1, y + dot}, color);
    }
}

}  // namespace sinkaway
