// Text rendered with SDL2_ttf into textures, once per change.
#include "text_cache.h"

namespace sinkaway {

TextCache::~TextCache() {
    Clear();
}

void TextCache::Clear() {
    for (auto& [owner, entry] : entries_) {
        if (entry.image.texture != nullptr)
            SDL_DestroyTexture(entry.image.texture);
    }
    entries_.clear();
}

const TextImage& TextCache::Get(const void* owner, const std::string& text, Color color,
                                TTF_Font* font, int wrapWidth, bool centred) {
    Entry& e = entries_[owner];
    if (e.image.texture != nullptr && e.text == text && e.color == color && e.font == font &&
        e.wrapWidth == wrapWidth && e.centred == centred) {
        return e.image;
    }
    if (e.image.texture != nullptr)
        SDL_DestroyTexture(e.image.texture);
    e.image = {};
    e.text = text;
    e.color = color;
    e.font = font;
    e.wrapWidth = wrapWidth;
    e.centred = centred;
    if (font == nullptr || text.empty())
        return e.image;

    const SDL_Color c{RedOf(color), GreenOf(color), BlueOf(color), 255};
    int w = 0, h = 0;
    TTF_SizeUTF8(font, text.c_str(), &w, &h);
    SDL_Surface* surface = nullptr;
    if (wrapWidth > 0 && w > wrapWidth) {
        TTF_SetFontWrappedAlign(font, centred ? TTF_WRAPPED_ALIGN_CENTER : TTF_WRAPPED_ALIGN_LEFT);
        surface = TTF_RenderUTF8_Blended_Wrapped(font, text.c_str(), c, wrapWidth);
    } else {
        surface = TTF_RenderUTF8_Blended(font, text.c_str(), c);
    }
    if (surface == nullptr)
        return e.image;
    e.image.texture = SDL_CreateTextureFromSurface(renderer_, surface);
    e.image.w = surface->w;
    e.image.h = surface->h;
    SDL_FreeSurface(surface);
    if (e.image.texture != nullptr)
        SDL_SetTextureBlendMode(e.image.texture, SDL_BLENDMODE_BLEND);
    return e.image;
}

}  // namespace sinkaway
