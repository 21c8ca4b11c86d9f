// The bare loop's picture: one rectangle and one circle moving with the tick, and one line of
// SDL2_ttf text that is made again when the score changes. The baseline program draws it every
// tick; the drawing benchmark draws it beside the game's frames.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace sinkaway::bench {

// The file of the font the scene writes with, found through fontconfig (FcInit first).
inline std::string FindBaselineFont() {
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

class BaselineScene {
  public:
    // `font` may be null: the scene then shows no text.
    BaselineScene(SDL_Renderer* renderer, TTF_Font* font, int scale)
        : r_(renderer), font_(font), scale_(scale), disc_(MakeDisc(renderer, 20 * scale)) {}
    BaselineScene(const BaselineScene&) = delete;
    BaselineScene& operator=(const BaselineScene&) = delete;
    ~BaselineScene() {
        if (text_ != nullptr)
            SDL_DestroyTexture(text_);
        if (disc_ != nullptr)
            SDL_DestroyTexture(disc_);
    }

    // Draws the picture of tick `ticks` with `points` as the score; does not present it.
    void Draw(int64_t ticks, int64_t points) {
        if (font_ != nullptr && points != shown_) {
            shown_ = points;
            char caption[32];
            std::snprintf(caption, sizeof caption, "Score: %d", static_cast<int>(shown_));
            if (text_ != nullptr)
                SDL_DestroyTexture(text_);
            text_ = nullptr;
            if (SDL_Surface* s = TTF_RenderUTF8_Blended(font_, caption, {0, 255, 0, 255})) {
                text_ = SDL_CreateTextureFromSurface(r_, s);
                textW_ = s->w;
                textH_ = s->h;
                SDL_FreeSurface(s);
            }
        }
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(r_, &w, &h);
        const int phase = static_cast<int>(ticks % 256);
        SDL_SetRenderDrawColor(r_, 0, 0, 0, 255);
        SDL_RenderClear(r_);
        SDL_SetRenderDrawColor(r_, 0, 255, 0, 255);
        const SDL_Rect bar{0, h - (phase * h) / 256, w, 9 * scale_};
        SDL_RenderFillRect(r_, &bar);
        const SDL_Rect ball{(phase * (w - 20 * scale_)) / 256, h / 2, 20 * scale_, 20 * scale_};
        SDL_RenderCopy(r_, disc_, nullptr, &ball);
        if (text_ != nullptr) {
            const SDL_Rect dst{4 * scale_, 4 * scale_, textW_, textH_};
            SDL_RenderCopy(r_, text_, nullptr, &dst);
        }
    }

  private:
    // A filled circle drawn once into a texture, then only copied.
    static SDL_Texture* MakeDisc(SDL_Renderer* r, int d) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, d, d, 32, SDL_PIXELFORMAT_ARGB8888);
        if (s == nullptr)
            return nullptr;
        const double rad = d / 2.0;
        for (int y = 0; y < d; ++y) {
            auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
            for (int x = 0; x < d; ++x) {
                const double dx = x + 0.5 - rad, dy = y + 0.5 - rad;
                row[x] = dx * dx + dy * dy <= rad * rad ? 0xFFFF0000u : 0u;
            }
        }
        SDL_Texture* t = SDL_CreateTextureFromSurface(r, s);
        SDL_FreeSurface(s);
        if (t != nullptr)
            SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        return t;
    }

    SDL_Renderer* r_;
    TTF_Font* font_;
    int scale_;
    SDL_Texture* disc_;
    SDL_Texture* text_ = nullptr;
    int textW_ = 0, textH_ = 0;
    int64_t shown_ = -1;
};

}  // namespace sinkaway::bench
