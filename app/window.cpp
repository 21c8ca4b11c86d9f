// The window's life: SDL start-up, the real-time loop and drawing.
#include <cstdio>

#include "asset_paths.h"
#include "clock_seed.h"
#include "form_digest.h"
#include "game_window.h"
#include "window.h"

namespace sinkaway {

namespace {

int ChooseScale(const Options& options) {
    if (options.scale > 0)
        return options.scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0)
        return 1;
    return PickWindowScale(usable.w, usable.h);
}

SDL_Renderer* CreateRenderer(SDL_Window* window) {
    // Vsync where the driver has it; the loop sleeps between ticks in any case.
    for (Uint32 flags : {Uint32{SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC},
                         Uint32{SDL_RENDERER_ACCELERATED}, Uint32{SDL_RENDERER_SOFTWARE}}) {
        if (SDL_Renderer* r = SDL_CreateRenderer(window, -1, flags))
            return r;
    }
    return nullptr;
}

bool Set(const char* name) {
    const char* value = SDL_getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display SDL quietly falls back to drawing off screen, where nobody would see the game.
bool OffScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr)
        return true;
    for (const char* hidden : {"offscreen", "dummy", "evdev"}) {
        if (SDL_strcasecmp(driver, hidden) == 0)
            return true;
    }
    return false;
}

int NoWindow(const char* why) {
    std::fprintf(stderr, "sinkaway: cannot open a window: %s; is a display available (DISPLAY)?\n",
                 why);
    return 1;
}

}  // namespace

GameWindow::GameWindow(const Options& options)
    : options_(options),
      music_(FindAsset("Castor.wav", options.music)),
      session_(random_, music_) {}

GameWindow::~GameWindow() {
    ClosePads();
    drawer_.reset();
    if (renderer_ != nullptr)
        SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
}

int64_t GameWindow::NowMillis() const {
    return NowMicros() / 1000;
}

Micros GameWindow::NowMicros() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool GameWindow::Open(std::string& error) {
    const int scale = ChooseScale(options_);
    window_ = SDL_CreateWindow(kWindowCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kClientPixelsWide * scale, kClientPixelsHigh * scale,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kClientPixelsWide / 2, kClientPixelsHigh / 2);
    if (options_.fullscreen)
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (pictures_.icon() != nullptr)
        SDL_SetWindowIcon(window_, pictures_.icon());
    renderer_ = CreateRenderer(window_);
    if (renderer_ == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    vsync_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    drawer_ = std::make_unique<FormRenderer>(renderer_, fonts_, pictures_.startImage());
    return true;
}

int GameWindow::Run() {
    std::string error;
    if (!fonts_.Init(error)) {
        std::fprintf(stderr, "sinkaway: %s\n", error.c_str());
        return 1;
    }
    std::string problem;
    pictures_.Load(problem);
    if (!problem.empty())
        std::fprintf(stderr, "sinkaway: %s\n", problem.c_str());
    const uint64_t seed = options_.seed ? *options_.seed : ClockSeed();
    if (!StartRecording(seed))
        return 1;
    if (!Open(error))
        return NoWindow(error.c_str());

    start_ = std::chrono::steady_clock::now();
    // The load event runs before the window is first shown.
    session_.Load(seed);
    SDL_StopTextInput();
    Render();
    SDL_ShowWindow(window_);
    Render();
    music_.Open();  // after the first picture: a slow sound server must not hold it up
    const Micros loopStart = NowMicros();
    pacer_.Start(loopStart);
    Loop();
    FinishRecording();

    if (options_.stats) {
        SDL_RendererInfo info;
        SDL_GetRendererInfo(renderer_, &info);
        std::fprintf(stderr, "sinkaway: renderer %s, vsync %s\n", info.name, vsync_ ? "on" : "off");
        stats_.Print(stderr, static_cast<double>(NowMicros() - loopStart) / 1e6);
    }
    return 0;
}

int GameWindow::WaitMillis() const {
    if (paused_)
        return -1;  // nothing runs until the player comes back
    const int64_t tip = tooltip_.MillisUntilChange(NowMillis());
    return sinkaway::WaitMillis(session_.now(), session_.NextDue(),
                                tip < 0 ? -1 : static_cast<int>(tip));
}

void GameWindow::Loop() {
    while (running_) {
        // Sleeps until an event arrives or the next timer comes due; the event stays queued.
        const int wait = dirty_ ? 0 : WaitMillis();
        if (wait < 0) {
            SDL_WaitEvent(nullptr);
        } else if (wait > 0) {
            SDL_WaitEventTimeout(nullptr, wait);
        }
        // Ticks that came due while asleep run before the events that woke us: they came first.
        if (!paused_)
            session_.Advance(pacer_.Elapse(NowMicros()), &stats_);
        focus_.Drop(session_.game.form);

        SDL_Event event;
        while (running_ && SDL_PollEvent(&event)) Handle(event);

        const bool tip = tooltip_.Showing(NowMillis()) && session_.game.form.imgNewGame.visible;
        const uint64_t digest = VisibleDigest(session_.game.form);
        if (dirty_ || digest != drawnDigest_ || tip != tooltipDrawn_)
            Render();
    }
}

void GameWindow::Render() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    viewport_ = FitViewport(w, h);
    const Form& form = session_.game.form;
    Overlay overlay;
    overlay.focused = focus_.focused();
    overlay.pressed = pressedOver_ ? pressed_ : Control::kNone;
    overlay.tooltip = tooltip_.Showing(NowMillis()) && form.imgNewGame.visible;
    overlay.tooltipX = tooltip_.x();
    overlay.tooltipY = tooltip_.y();
    overlay.paused = paused_;
    drawer_->Draw(form, viewport_, overlay);
    SDL_RenderPresent(renderer_);
    ++stats_.frames;
    dirty_ = false;
    drawnDigest_ = VisibleDigest(form);
    tooltipDrawn_ = overlay.tooltip;
}

int RunWindow(const Options& options) {
    // Nearest-neighbour everywhere: nothing the window shows may turn blurry.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Unless a video driver was asked for, only a real display will do. With an X display and no
    // Wayland one, only X is tried, so a failing probe for Wayland adds no noise to the message.
    const bool driverAsked = Set("SDL_VIDEODRIVER");
    if (!driverAsked && !Set("DISPLAY") && !Set("WAYLAND_DISPLAY"))
        return NoWindow("neither DISPLAY nor WAYLAND_DISPLAY is set");
    if (!driverAsked && !Set("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return NoWindow(SDL_GetError());
    // Without pad support the keyboard and the mouse still do everything.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (!driverAsked && OffScreen()) {
        SDL_Quit();
        return NoWindow("no display found");
    }
    int status;
    {
        GameWindow window(options);
        status = window.Run();
    }
    SDL_Quit();
    return status;
}

}  // namespace sinkaway
