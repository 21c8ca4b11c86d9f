// The ellipse textures: rasterised with the painter's own spans, so they match it pixel for pixel.
#include "ellipse_cache.h"

#include <algorithm>

#include "paint.h"

namespace sinkaway {

namespace {

uint32_t Argb(Color c) {
    return 0xFF000000u | (uint32_t{RedOf(c)} << 16) | (uint32_t{GreenOf(c)} << 8) | BlueOf(c);
}

void SetSpan(uint32_t* row, int w, int x0, int x1, uint32_t value) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, w);
    for (int x = x0; x < x1; ++x) row[x] = value;
}

}  // namespace

void RasteriseEllipse(int w, int h, bool solid, Color fill, int t, Color border, uint32_t* pixels,
                      int pitch) {
    const PixelRect box{0, 0, w, h};
    const PixelRect inner{t, t, w - t, h - t};
    for (int y = 0; y < h; ++y) {
        uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
        std::fill(row, row + w, 0u);
        int x0, x1;
        EllipseSpan(box, y, x0, x1);
        if (solid)
            SetSpan(row, w, x0, x1, Argb(fill));
        if (t <= 0)
            continue;
        int i0 = 0, i1 = 0;
        if (!inner.empty())
            EllipseSpan(inner, y, i0, i1);
        if (i1 <= i0) {
            SetSpan(row, w, x0, x1, Argb(border));
        } else {
            SetSpan(row, w, x0, i0, Argb(border));
            SetSpan(row, w, i1, x1, Argb(border));
        }
    }
}

SDL_Texture* EllipseCache::Make(int w, int h, bool solid, Color fill, int t, Color border) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (s == nullptr)
        return nullptr;
    RasteriseEllipse(w, h, solid, fill, t, border, static_cast<uint32_t*>(s->pixels), s->pitch / 4);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, s);
    SDL_FreeSurface(s);
    if (texture != nullptr) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    }
    return texture;
}

bool EllipseCache::Draw(const PixelRect& b, bool solid, Color fill, int t, Color border) {
    if (b.empty())
        return true;
    ++clock_;
    Entry* hit = nullptr;
    for (Entry& e : entries_) {
        if (e.w == b.w() && e.h == b.h() && e.thickness == t && e.solid == solid &&
            (!solid || e.fill == fill) && (t <= 0 || e.border == border)) {
            hit = &e;
            break;
        }
    }
    if (hit == nullptr) {
        SDL_Texture* texture = Make(b.w(), b.h(), solid, fill, t, border);
        if (texture == nullptr)
            return false;
        if (entries_.size() >= kMax) {
            auto oldest = std::min_element(
                entries_.begin(), entries_.end(),
                [](const Entry& a, const Entry& c) { return a.lastUse < c.lastUse; });
            SDL_DestroyTexture(oldest->texture);
            entries_.erase(oldest);
        }
        entries_.push_back({b.w(), b.h(), t, solid, fill, border, texture, 0});
        hit = &entries_.back();
    }
    hit->lastUse = clock_;
    const SDL_Rect dst{b.x0, b.y0, b.w(), b.h()};
    SDL_RenderCopy(renderer_, hit->texture, nullptr, &dst);
    return true;
}

void EllipseCache::Clear() {
    for (Entry& e : entries_) SDL_DestroyTexture(e.texture);
    entries_.clear();
}

}  // namespace sinkaway
