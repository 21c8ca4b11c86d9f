// Rendered text as textures, kept per control and made again only when the caption, colour, font
// or size changes: the score label changes a few times a second, the rest almost never.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <unordered_map>

#include "colors.h"

namespace sinkaway {

struct TextImage {
    SDL_Texture* texture = nullptr;  // nullptr: nothing to draw (empty caption, no font)
    int w = 0, h = 0;
};

class TextCache {
  public:
    explicit TextCache(SDL_Renderer* renderer) : renderer_(renderer) {}
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;
    ~TextCache();

    // Forgets every text, for when the fonts they were made with are gone.
    void Clear();

    // The text of the control `owner`. Lines longer than `wrapWidth` pixels (0: never) break at
    // blanks; `centred` centres the lines on one another.
    const TextImage& Get(const void* owner, const std::string& text, Color color, TTF_Font* font,
                         int wrapWidth, bool centred);

  private:
    struct Entry {
        std::string text;
        Color color = 0;
        TTF_Font* font = nullptr;
        int wrapWidth = 0;
        bool centred = false;
        TextImage image;
    };
    SDL_Renderer* renderer_;
    std::unordered_map<const void*, Entry> entries_;
};

}  // namespace sinkaway
