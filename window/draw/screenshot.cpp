// Screenshots: the client area drawn by the window's drawing code into a surface at scale 1.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <memory>

#include "fonts.h"
#include "pictures.h"
#include "renderer.h"
#include "screenshot.h"

namespace sinkaway {

bool SaveScreenshot(const Form& form, const std::string& path, std::string& error) {
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormat(0, kClientPixelsWide, kClientPixelsHigh, 32,
                                       SDL_PIXELFORMAT_RGB888),
        &SDL_FreeSurface);
    if (!surface) {
        error = SDL_GetError();
        return false;
    }
    std::unique_ptr<SDL_Renderer, decltype(&SDL_DestroyRenderer)> renderer(
        SDL_CreateSoftwareRenderer(surface.get()), &SDL_DestroyRenderer);
    if (!renderer) {
        error = SDL_GetError();
        return false;
    }
    Fonts fonts;
    if (!fonts.Init(error))
        return false;
    Pictures pictures;
    std::string problem;
    pictures.Load(problem);
    if (!problem.empty())
        std::fprintf(stderr, "sinkaway: %s\n", problem.c_str());
    {
        FormRenderer drawer(renderer.get(), fonts, pictures.startImage());
        drawer.Draw(form, Viewport(1.0, 0, 0), Overlay{});
        SDL_RenderPresent(renderer.get());
    }
    if (IMG_SavePNG(surface.get(), path.c_str()) != 0) {
        error = IMG_GetError();
        return false;
    }
    return true;
}

}  // namespace sinkaway
