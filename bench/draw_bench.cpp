// Drawing alone, in a real window: a fixed set of moments of an autoplayed game, drawn through the
// window's FormRenderer and presented, beside the bare loop's scene, in paired rounds. Reports
// CPU and wall milliseconds per frame for each, the median and interquartile range of the
// per-round ratios, and per frame the SDL draw calls, clip changes and texture switches.
//
// --pictures FILE writes a hash of the back buffer of every moment at scale 1, scale 2 and in a
// window with black bars; --compare FILE draws them again and names every moment that differs,
// so a change to the drawing can be shown to keep every pixel.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "autoplay.h"
#include "baseline_scene.h"
#include "fonts.h"
#include "form_digest.h"
#include "pictures.h"
#include "renderer.h"
#include "session.h"

// Counters around the SDL calls the drawing code makes: the link wraps each one (--wrap), so the
// game's drawing library and the baseline's scene are counted alike without a line of theirs
// changed.
namespace {

struct Counters {
    long draws = 0, clips = 0, textures = 0;
};
bool gCounting = false;
Counters gCount;
const SDL_Texture* gTexture = nullptr;  // the last texture drawn with; null: plain fills
bool gClipped = false;
SDL_Rect gClip{};

void Drawn(const SDL_Texture* texture) {
    if (!gCounting)
        return;
    ++gCount.draws;
    if (texture != gTexture)
        ++gCount.textures;
    gTexture = texture;
}

}  // namespace

extern "C" {
int __real_SDL_RenderClear(SDL_Renderer*);
int __real_SDL_RenderFillRect(SDL_Renderer*, const SDL_Rect*);
int __real_SDL_RenderFillRects(SDL_Renderer*, const SDL_Rect*, int);
int __real_SDL_RenderCopy(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*);
int __real_SDL_RenderSetClipRect(SDL_Renderer*, const SDL_Rect*);

int __wrap_SDL_RenderClear(SDL_Renderer* r) {
    Drawn(nullptr);
    return __real_SDL_RenderClear(r);
}
int __wrap_SDL_RenderFillRect(SDL_Renderer* r, const SDL_Rect* rect) {
    Drawn(nullptr);
    return __real_SDL_RenderFillRect(r, rect);
}
int __wrap_SDL_RenderFillRects(SDL_Renderer* r, const SDL_Rect* rects, int count) {
    Drawn(nullptr);
    return __real_SDL_RenderFillRects(r, rects, count);
}
int __wrap_SDL_RenderCopy(SDL_Renderer* r, SDL_Texture* t, const SDL_Rect* src,
                          const SDL_Rect* dst) {
    Drawn(t);
    return __real_SDL_RenderCopy(r, t, src, dst);
}
int __wrap_SDL_RenderSetClipRect(SDL_Renderer* r, const SDL_Rect* rect) {
    const bool clipped = rect != nullptr && rect->w > 0 && rect->h > 0;
    if (gCounting && (clipped != gClipped || (clipped && std::memcmp(rect, &gClip, sizeof gClip))))
        ++gCount.clips;
    gClipped = clipped;
    if (clipped)
        gClip = *rect;
    return __real_SDL_RenderSetClipRect(r, rect);
}
}

namespace sinkaway::bench {
namespace {

constexpr uint64_t kSeed = 2;
constexpr int kMaxMoments = 20000;

struct Moment {
    size_t index;  // in the frames of the played game
    Form form;
    Overlay overlay;
};

// Every frame the window would draw while the autoplayer plays from the title screen through a
// game over into the next game, with the overlay the window would give it.
std::vector<Moment> PlayedMoments() {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(kSeed);
    Autoplay autoplay;
    std::vector<Moment> moments;
    uint64_t drawn = 0;
    while (moments.size() < kMaxMoments && autoplay.gamesStarted() < 2) {
        const uint64_t digest = VisibleDigest(session.game.form);
        if (moments.empty() || digest != drawn) {
            Moment m{moments.size(), session.game.form, Overlay{}};
            if (m.form.cmdNewGame.visible)
                m.overlay.focused = Control::cmdNewGame;
            moments.push_back(std::move(m));
            drawn = digest;
        }
        session.Advance(kSystemTick);
        autoplay.Step(session);
    }
    return moments;
}

// The moments drawn in the timed rounds: the title and the first ten seconds of play, and a second
// either side of the first game over.
std::vector<Moment> TimedMoments(const std::vector<Moment>& all) {
    size_t over = 0;
    while (over < all.size() && !all[over].form.lblGameOver.visible) ++over;
    std::vector<Moment> some;
    for (size_t i = 0; i < all.size(); ++i) {
        if (i < std::min<size_t>(640, over) || (i + 64 >= over && i < over + 64))
            some.push_back(all[i]);
    }
    return some;
}

// The moments whose pictures are compared: the timed ones and every 16th frame besides.
std::vector<Moment> PictureMoments(const std::vector<Moment>& all) {
    const std::vector<Moment> timed = TimedMoments(all);
    std::vector<Moment> some;
    size_t t = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const bool isTimed = t < timed.size() && timed[t].index == i;
        t += isTimed;
        if (isTimed || i % 16 == 0)
            some.push_back(all[i]);
    }
    return some;
}

class Screen {
  public:
    Screen(int w, int h) {
        window_ = SDL_CreateWindow("draw_bench", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w,
                                   h, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
        // The window's choice: accelerated with vsync first.
        for (Uint32 flags : {Uint32{SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC},
                             Uint32{SDL_RENDERER_ACCELERATED}, Uint32{SDL_RENDERER_SOFTWARE}}) {
            if (window_ != nullptr && renderer_ == nullptr)
                renderer_ = SDL_CreateRenderer(window_, -1, flags);
        }
        // Where the driver cannot wait for the display, SDL sleeps in every present instead; that
        // costs no CPU but would hold the rounds to 60 frames a second.
        if (renderer_ != nullptr)
            SDL_RenderSetVSync(renderer_, 0);
    }
    ~Screen() {
        if (renderer_ != nullptr)
            SDL_DestroyRenderer(renderer_);
        if (window_ != nullptr)
            SDL_DestroyWindow(window_);
    }
    SDL_Renderer* renderer() const { return renderer_; }
    Viewport Fit() const {
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(renderer_, &w, &h);
        return FitViewport(w, h);
    }

  private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
};

uint64_t BackBufferHash(SDL_Renderer* r, std::vector<Uint32>& pixels) {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    pixels.resize(static_cast<size_t>(w) * h);
    if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), w * 4) != 0)
        return 0;
    uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (Uint32 p : pixels) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (p >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash ^ (static_cast<uint64_t>(w) << 32 | static_cast<uint64_t>(h));
}

// One line per moment and window: "<window> <moment> <hash>".
std::vector<std::string> PictureLines(const std::vector<Moment>& moments, Fonts& fonts,
                                      Pictures& pictures) {
    struct Size {
        const char* name;
        int w, h;
    };
    const Size sizes[] = {{"scale1", kClientPixelsWide, kClientPixelsHigh},
                          {"scale2", 2 * kClientPixelsWide, 2 * kClientPixelsHigh},
                          {"bars", 2 * kClientPixelsWide + 91, 2 * kClientPixelsHigh + 57}};
    std::vector<std::string> lines;
    std::vector<Uint32> pixels;
    for (const Size& size : sizes) {
        Screen screen(size.w, size.h);
        FormRenderer drawer(screen.renderer(), fonts, pictures.startImage());
        Form live;
        for (size_t i = 0; i < moments.size(); ++i) {
            live = moments[i].form;
            Overlay overlay = moments[i].overlay;
            // A few moments also under the pause banner and the tooltip.
            overlay.paused = moments[i].index % 97 == 50;
            overlay.tooltip = moments[i].index == 0;
            overlay.tooltipX = overlay.tooltipY = 120;
            drawer.Draw(live, screen.Fit(), overlay);
            char line[96];
            std::snprintf(
                line, sizeof line, "%s %zu %016llx", size.name, moments[i].index,
                static_cast<unsigned long long>(BackBufferHash(screen.renderer(), pixels)));
            lines.push_back(line);
            SDL_RenderPresent(screen.renderer());
        }
    }
    return lines;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

double WallSeconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

struct Pass {
    double cpuMs = 0, wallMs = 0;  // per frame
};

// One frame of each, drawn and presented. They stay functions of their own so that a profiler
// tells their costs apart: callgrind --toggle-collect on each, with LP_NUM_THREADS=0 so that
// llvmpipe rasterises on the calling thread, counts instructions that do not drift with the load.
[[gnu::noinline]] void GameFrame(SDL_Renderer* r, FormRenderer& drawer, Form& live,
                                 const Moment& moment, const Viewport& viewport) {
    live = moment.form;
    drawer.Draw(live, viewport, moment.overlay);
    SDL_RenderPresent(r);
}

[[gnu::noinline]] void SceneFrame(SDL_Renderer* r, BaselineScene& scene, int i) {
    scene.Draw(i, i / 19);  // the bare loop's ticks, a point every 19 as in its program
    SDL_RenderPresent(r);
}

template <typename DrawFrame>
Pass Time(int frames, DrawFrame draw) {
    SDL_PumpEvents();
    const double cpu0 = CpuSeconds(), wall0 = WallSeconds();
    for (int i = 0; i < frames; ++i) {
        draw(i);
    }
    return {(CpuSeconds() - cpu0) * 1e3 / frames, (WallSeconds() - wall0) * 1e3 / frames};
}

template <typename DrawFrame>
Counters Count(int frames, DrawFrame draw) {
    gCount = {};
    gCounting = true;
    for (int i = 0; i < frames; ++i) {
        draw(i);
    }
    gCounting = false;
    return gCount;
}

// Q1, median, Q3 by linear interpolation between the closest ranks.
void Quartiles(std::vector<double> v, double q[3]) {
    std::sort(v.begin(), v.end());
    for (int k = 0; k < 3; ++k) {
        const double at = (v.size() - 1) * (k + 1) / 4.0;
        const size_t lo = static_cast<size_t>(at);
        const size_t hi = std::min(lo + 1, v.size() - 1);
        q[k] = v[lo] + (v[hi] - v[lo]) * (at - lo);
    }
}

int Benchmark(const std::vector<Moment>& moments, Fonts& fonts, Pictures& pictures, int scale,
              int rounds) {
    Screen screen(kClientPixelsWide * scale, kClientPixelsHigh * scale);
    if (screen.renderer() == nullptr) {
        std::fprintf(stderr, "draw_bench: %s\n", SDL_GetError());
        return 1;
    }
    FormRenderer drawer(screen.renderer(), fonts, pictures.startImage());
    TTF_Font* font = nullptr;
    if (FcInit()) {
        const std::string path = FindBaselineFont();
        if (!path.empty())
            font = TTF_OpenFont(path.c_str(), 12 * scale);
    }
    BaselineScene scene(screen.renderer(), font, scale);
    const int frames = static_cast<int>(moments.size());
    Form live;
    auto game = [&](int i) {
        GameFrame(screen.renderer(), drawer, live, moments[i], screen.Fit());
    };
    auto base = [&](int i) { SceneFrame(screen.renderer(), scene, i); };

    // Warm up both (textures, the driver's shaders), then count once.
    Time(frames, game);
    Time(frames, base);
    const Counters gameCount = Count(frames, game);
    const Counters baseCount = Count(frames, base);

    std::vector<double> gameCpu, baseCpu, gameWall, baseWall, cpuRatio, wallRatio;
    for (int round = 0; round < rounds; ++round) {
        Pass g, b;
        if (round % 2 == 0) {
            g = Time(frames, game);
            b = Time(frames, base);
        } else {
            b = Time(frames, base);
            g = Time(frames, game);
        }
        gameCpu.push_back(g.cpuMs);
        baseCpu.push_back(b.cpuMs);
        gameWall.push_back(g.wallMs);
        baseWall.push_back(b.wallMs);
        cpuRatio.push_back(g.cpuMs / b.cpuMs);
        wallRatio.push_back(g.wallMs / b.wallMs);
    }
    double gc[3], bc[3], gw[3], bw[3], rc[3], rw[3];
    Quartiles(gameCpu, gc);
    Quartiles(baseCpu, bc);
    Quartiles(gameWall, gw);
    Quartiles(baseWall, bw);
    Quartiles(cpuRatio, rc);
    Quartiles(wallRatio, rw);
    auto per = [frames](long n) { return static_cast<double>(n) / frames; };
    std::printf("%d stored moments, scale %d, %d rounds (game and scene in turn), medians\n\n",
                frames, scale, rounds);
    std::printf(
        "| picture | CPU ms per frame | wall ms per frame | draw calls | clip changes | "
        "texture switches |\n|---|---:|---:|---:|---:|---:|\n");
    std::printf("| game (FormRenderer) | %.3f | %.3f | %.1f | %.1f | %.1f |\n", gc[1], gw[1],
                per(gameCount.draws), per(gameCount.clips), per(gameCount.textures));
    std::printf("| baseline scene | %.3f | %.3f | %.1f | %.1f | %.1f |\n", bc[1], bw[1],
                per(baseCount.draws), per(baseCount.clips), per(baseCount.textures));
    std::printf("| game / baseline, median of rounds | %.3f | %.3f | | | |\n", rc[1], rw[1]);
    std::printf("| IQR of the ratios | %.3f – %.3f | %.3f – %.3f | | | |\n", rc[0], rc[2], rw[0],
                rw[2]);
    if (font != nullptr)
        TTF_CloseFont(font);
    return 0;
}

int Main(int argc, char** argv) {
    int scale = 2, rounds = 12;
    bool withoutScore = false;
    std::string write, compare;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--scale" && value != nullptr) {
            scale = std::clamp(std::atoi(value), 1, 8);
        } else if (arg == "--rounds" && value != nullptr) {
            rounds = std::clamp(std::atoi(value), 1, 1000);
        } else if (arg == "--without-score") {
            withoutScore = true;  // what the score label costs: the game's frames without it
            continue;
        } else if (arg == "--pictures" && value != nullptr) {
            write = value;
        } else if (arg == "--compare" && value != nullptr) {
            compare = value;
        } else {
            std::fprintf(stderr,
                         "usage: draw_bench [--scale N] [--rounds N] [--without-score] "
                         "[--pictures FILE | --compare FILE]\n");
            return 2;
        }
        ++i;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "draw_bench: %s\n", SDL_GetError());
        return 1;
    }
    Fonts fonts;
    std::string error;
    if (!fonts.Init(error)) {
        std::fprintf(stderr, "draw_bench: %s\n", error.c_str());
        return 1;
    }
    Pictures pictures;
    pictures.Load(error);
    if (!error.empty())
        std::fprintf(stderr, "draw_bench: %s\n", error.c_str());
    std::vector<Moment> played = PlayedMoments();
    for (Moment& m : played) m.form.lblScore.visible = m.form.lblScore.visible && !withoutScore;
    int status = 0;
    if (!write.empty() || !compare.empty()) {
        const std::vector<std::string> lines =
            PictureLines(PictureMoments(played), fonts, pictures);
        if (!write.empty()) {
            std::ofstream out(write);
            for (const std::string& line : lines) out << line << '\n';
            std::printf("%zu pictures written to %s\n", lines.size(), write.c_str());
        } else {
            std::ifstream in(compare);
            std::vector<std::string> before;
            for (std::string line; std::getline(in, line);) before.push_back(line);
            int differ = 0;
            for (size_t i = 0; i < std::max(lines.size(), before.size()); ++i) {
                const std::string now = i < lines.size() ? lines[i] : "(none)";
                const std::string was = i < before.size() ? before[i] : "(none)";
                if (now != was && ++differ <= 20)
                    std::printf("differs: was %s, now %s\n", was.c_str(), now.c_str());
            }
            std::printf("%zu pictures compared, %d differ\n", lines.size(), differ);
            status = differ == 0 ? 0 : 1;
        }
    } else {
        status = Benchmark(TimedMoments(played), fonts, pictures, scale, rounds);
    }
    SDL_Quit();
    return status;
}

}  // namespace
}  // namespace sinkaway::bench

int main(int argc, char** argv) {
    return sinkaway::bench::Main(argc, argv);
}
