// The floor: the least an SDL2 game of this size must do, for the game's cost to be measured
// against. The same window size and scale, hints, renderer and vsync choice as the game; a fixed
// 15.625 ms tick moving one rectangle and one circle; one line of SDL2_ttf text that changes a
// few times a second, like a score; events waited for with SDL_WaitEventTimeout, never polled in
// a spin. It prints the same --stats block as the game.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "baseline_scene.h"
#include "frame_stats.h"

namespace {

constexpr int kWide = 309, kHigh = 388;  // the game's client area at scale 1, in pixels
constexpr int64_t kTickNanos = 15'625'000;

struct Args {
    int scale = 2;
    double seconds = 0;
    int64_t frames = 0;
    bool stats = false;
};

bool ParseArgs(int argc, char** argv, Args& a) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--stats") == 0) {
            a.stats = true;
        } else if (std::strcmp(arg, "--scale") == 0 && value != nullptr) {
            a.scale = std::clamp(std::atoi(value), 1, 16);
            ++i;
        } else if (std::strcmp(arg, "--seconds") == 0 && value != nullptr) {
            a.seconds = std::atof(value);
            ++i;
        } else if (std::strcmp(arg, "--frames") == 0 && value != nullptr) {
            a.frames = std::atoll(value);
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: baseline [--scale N] [--seconds S] [--frames N] [--stats]\n");
            return false;
        }
    }
    return true;
}

// The renderer the game picks, in the game's order of preference.
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    for (Uint32 flags : {Uint32{SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC},
                         Uint32{SDL_RENDERER_ACCELERATED}, Uint32{SDL_RENDERER_SOFTWARE}}) {
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, flags))
            return r;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Args args;
    if (!ParseArgs(argc, argv, args))
        return 2;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "baseline: %s\n", SDL_GetError());
        return 1;
    }
    const int scale = args.scale;
    SDL_Window* window = SDL_CreateWindow(
        "baseline", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWide * scale, kHigh * scale,
        SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_Renderer* renderer = window != nullptr ? CreateRenderer(window) : nullptr;
    if (renderer == nullptr) {
        std::fprintf(stderr, "baseline: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RendererInfo info;
    SDL_GetRendererInfo(renderer, &info);

    TTF_Font* font = nullptr;
    if (FcInit()) {
        const std::string path = sinkaway::bench::FindBaselineFont();
        if (!path.empty())
            font = TTF_OpenFont(path.c_str(), 12 * scale);
    }
    auto scene = std::make_unique<sinkaway::bench::BaselineScene>(renderer, font, scale);

    SDL_ShowWindow(window);
    sinkaway::FrameStats frames;
    int64_t ticks = 0, points = 0;
    const int64_t start = sinkaway::MonotonicNanos();
    const int64_t end = args.seconds > 0 ? start + static_cast<int64_t>(args.seconds * 1e9) : -1;
    int64_t nextTick = start;
    bool running = true;
    bool first = true;
    while (running) {
        // Advance by whole ticks; after a stall, catch up a quarter of a second at most.
        const int64_t now = sinkaway::MonotonicNanos();
        int due = 0;
        while (nextTick <= now && due < 16) {
            ++ticks;
            ++due;
            if (ticks % 19 == 0)
                ++points;
            nextTick += kTickNanos;
        }
        if (nextTick <= now)
            nextTick = now + kTickNanos;

        if (due > 0 || first) {
            first = false;
            scene->Draw(ticks, points);
            SDL_RenderPresent(renderer);
            frames.Presented(sinkaway::MonotonicNanos());
            if (args.frames > 0 && frames.frames() >= args.frames)
                running = false;
        }

        const int64_t until = end >= 0 ? std::min(nextTick, end) : nextTick;
        const int64_t wait = until - sinkaway::MonotonicNanos();
        SDL_Event event;
        // Rounded up, so the wait never ends just short of the tick.
        if (wait > 0 &&
            SDL_WaitEventTimeout(&event, static_cast<int>((wait + 999'999) / 1'000'000))) {
            do {
                if (event.type == SDL_QUIT)
                    running = false;
            } while (SDL_PollEvent(&event));
        }
        if (end >= 0 && sinkaway::MonotonicNanos() >= end)
            running = false;
    }

    if (args.stats) {
        sinkaway::FrameStats::Extra extra;
        extra.program = "baseline";
        extra.renderer = info.name;
        extra.vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(std::max(0, SDL_GetWindowDisplayIndex(window)), &mode) == 0)
            extra.displayHz = mode.refresh_rate;
        extra.mainTicks = ticks;
        extra.points = points;
        extra.wallSeconds = static_cast<double>(sinkaway::MonotonicNanos() - start) / 1e9;
        frames.Print(stderr, extra);
    }
    scene.reset();
    if (font != nullptr)
        TTF_CloseFont(font);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    TTF_Quit();
    SDL_Quit();
    return 0;
}
