// The window's life: SDL start-up, the real-time loop and drawing.
#include <algorithm>
#include <cstdio>
#include <thread>

#include "asset_paths.h"
#include "form_digest.h"
#include "game_window.h"
#include "platform.h"
#include "startup_guard.h"
#include "vocabulary.h"
#include "window.h"

namespace sinkaway {

namespace {

int ChooseScale(const WindowOptions& options) {
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

// Whether an environment variable is set to something.
bool EnvironmentHas(const char* name) {
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

// How long the window manager may keep the window hidden before the player is told.
constexpr int kShowWatchSeconds = 5;

int NoWindow(const char* why) {
    std::fprintf(stderr, "sinkaway: cannot open a window: %s; is a display available (DISPLAY)?\n",
                 why);
    return 1;
}

}  // namespace

GameWindow::GameWindow(const WindowOptions& options)
    : options_(options),
      music_(FindAsset(platform::MusicFileName(), options.music)),
      session_(random_, music_),
      player_(session_),
      best_(music_),
      router_(session_.game.form, best_.games()) {}

GameWindow::~GameWindow() {
    pads_.Close();
    screen_.drawer.reset();
    if (screen_.renderer != nullptr)
        SDL_DestroyRenderer(screen_.renderer);
    if (screen_.window != nullptr)
        SDL_DestroyWindow(screen_.window);
}

bool GameWindow::Open(std::string& error) {
    const int scale = ChooseScale(options_);
    screen_.window =
        SDL_CreateWindow(kWindowCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         kClientPixelsWide * scale, kClientPixelsHigh * scale,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (screen_.window == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(screen_.window, kClientPixelsWide / 2, kClientPixelsHigh / 2);
    if (options_.fullscreen)
        SDL_SetWindowFullscreen(screen_.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (screen_.pictures.icon() != nullptr)
        SDL_SetWindowIcon(screen_.window, screen_.pictures.icon());
    screen_.renderer = CreateRenderer(screen_.window);
    if (screen_.renderer == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_RendererInfo info;
    screen_.vsync = SDL_GetRendererInfo(screen_.renderer, &info) == 0 &&
                    (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(std::max(0, SDL_GetWindowDisplayIndex(screen_.window)), &mode) ==
            0 &&
        mode.refresh_rate > 0)
        screen_.framePeriodMs = std::max(1, 1000 / mode.refresh_rate);
    screen_.drawer = std::make_unique<FormRenderer>(screen_.renderer, screen_.fonts,
                                                    screen_.pictures.startImage());
    wait_.Watch(screen_.window);
    return true;
}

int GameWindow::Run() {
    // fontconfig reads its caches while X and GL bring the window up: neither needs the other,
    // and the first frame waits for the slower of the two instead of both in turn.
    std::string fontError;
    bool fontsReady = false;
    std::thread fontLoader;
    if (platform::HasThreads())
        fontLoader = std::thread(
            [this, &fontError, &fontsReady] { fontsReady = screen_.fonts.Init(fontError); });
    else
        fontsReady = screen_.fonts.Init(fontError);
    std::string problem;
    screen_.pictures.Load(problem);
    if (!problem.empty())
        std::fprintf(stderr, "sinkaway: %s\n", problem.c_str());
    std::string error;
    const bool opened = Open(error);
    if (fontLoader.joinable())
        fontLoader.join();
    if (!fontsReady) {
        std::fprintf(stderr, "sinkaway: %s\n", fontError.c_str());
        return 1;
    }
    if (!opened)
        return NoWindow(error.c_str());
    const uint64_t seed = ScriptSeed(options_.seed, nullptr);
    if (!player_.Record(options_.record, seed))
        return 1;
    if (int status = 0; !best_.Start(
            options_, seed, session_.game.form, player_, [this] { wait_.Wake(); },
            [this](const std::string& path) { Carry(best_.WatchFile(path, session_.game.form)); },
            status))
        return status;

    clock_.Start();
    // The load event runs before the window is first shown.
    session_.Load(seed);
    if (best_.games().keeping()) {
        best_.games().AwaitSettings(100);
        Carry(best_.TakeNews(session_.game.form, player_));
    }
    SDL_StopTextInput();
    // Shown first, then drawn: a picture presented to a hidden window is one nobody sees, and
    // its present would hold up the first one that counts.
    {
        ShowWatch watch(kShowWatchSeconds);
        SDL_ShowWindow(screen_.window);
    }
    Render();
    // After the first picture: a slow sound server must not hold it up.
    music_.Open();
    // Pads too: probing the input devices takes tens of milliseconds the first picture need not
    // wait for. Pads already plugged in announce themselves as added. Without pad support the
    // keyboard and the mouse still do everything.
    pads_.Start(clock_.NowMillis());
    clock_.StartLoop();
    if (options_.seconds > 0)
        unattended_.endNanos = MonotonicNanos() + static_cast<int64_t>(options_.seconds * 1e9);
    StartupSignals::GiveBack();
    Loop();
    return Finish();
}

int GameWindow::Finish() {
    player_.FinishRecording();
    if (options_.stats)
        PrintStats(clock_.SecondsSinceLoop());
    return 0;
}

void GameWindow::PrintStats(double wallSeconds) const {
    SDL_RendererInfo info;
    SDL_GetRendererInfo(screen_.renderer, &info);
    std::fprintf(stderr, "sinkaway: renderer %s, vsync %s\n", info.name,
                 screen_.vsync ? "on" : "off");
    stats_.ticks.Print(stderr, wallSeconds);
    FrameStats::Extra extra;
    extra.program = "sinkaway";
    extra.renderer = info.name;
    extra.vsync = screen_.vsync;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(std::max(0, SDL_GetWindowDisplayIndex(screen_.window)), &mode) ==
        0)
        extra.displayHz = mode.refresh_rate;
    extra.mainTicks = stats_.ticks.ticks[static_cast<int>(TimerId::tmrMain)];
    extra.points = stats_.ticks.ticks[static_cast<int>(TimerId::tmrScore)];
    extra.wallSeconds = wallSeconds;
    stats_.frames.Print(stderr, extra);
}

int GameWindow::MillisToSleep() const {
    const ReplayPlayer* replay = best_.games().replay();
    // While paused nothing runs until the player comes back, but --seconds still ends the run.
    const bool held = replay != nullptr ? replay->paused() || replay->ended() : router_.paused();
    int64_t cap = held ? -1 : tooltip_.MillisUntilChange(clock_.NowMillis());
    if (unattended_.endNanos >= 0) {
        // --seconds: wake up in time to end the run.
        const int64_t left =
            std::max<int64_t>(0, (unattended_.endNanos - MonotonicNanos() + 999'999) / 1'000'000);
        cap = cap < 0 ? left : std::min(cap, left);
    }
    // The world's retries and questions, when one is due.
    if (const int64_t world = best_.MillisToWorld(); world >= 0)
        cap = cap < 0 ? world : std::min(cap, world);
    if (held)
        return cap < 0 ? -1 : static_cast<int>(cap);
    if (replay != nullptr) {
        int64_t wait = replay->WaitMillis();
        // Faster than played, the replay draws at the display's rate rather than on every tick.
        if (replay->speed() > 1)
            wait =
                std::max(wait, overlays_.drawnAtMs() + screen_.framePeriodMs - clock_.NowMillis());
        return static_cast<int>(cap < 0 ? wait : std::min(wait, cap));
    }
    // Woken only for the ticks that can change something; the clock still runs at least this
    // often, so that the others all fire in their turn.
    if (session_.NextDue() >= 0)
        cap = cap < 0 ? Pacer::kLongestSleepMs : std::min<int64_t>(cap, Pacer::kLongestSleepMs);
    return WaitMillis(session_.now(), session_.NextWake(), cap < 0 ? -1 : static_cast<int>(cap));
}

void GameWindow::Loop() {
    if (platform::CallsEachFrame()) {
        // Nothing waits for events there, so each step reads them first.
        platform::CallEachFrame(
            [](void* self) {
                SDL_PumpEvents();
                static_cast<GameWindow*>(self)->Step();
            },
            this);
        return;
    }
    while (running_) {
        // Sleeps until an event arrives or the next timer comes due; the event stays queued.
        int wait = overlays_.dirty() ? 0 : MillisToSleep();
        if (const int64_t look = pads_.MillisToLook(clock_.NowMillis()); look >= 0)
            wait = static_cast<int>(wait < 0 ? look : std::min<int64_t>(wait, look));
        wait_.Wait(wait, pads_.anyOpen());
        Step();
    }
}

void GameWindow::Step() {
    pads_.Look(clock_.NowMillis());  // a pad plugged in shows up among the events below
    // Ticks that came due while asleep run before the events that woke us: they came first.
    if (ReplayPlayer* replay = best_.games().replay()) {
        replay->Run(clock_.Elapse(), &stats_.ticks);
    } else if (!router_.paused()) {
        session_.Advance(clock_.Elapse(), &stats_.ticks);
    }
    router_.FollowForm();
    played_ = played_ || InPlay(session_.game.form);
    best_.games().SaveChanges(session_, player_.script());
    if (options_.autoplay && unattended_.autoplay.Step(session_))
        AfterEvent();
    if (unattended_.endNanos >= 0 && MonotonicNanos() >= unattended_.endNanos)
        running_ = false;

    SDL_Event event;
    while (running_ && EventWait::Take(event)) Handle(event);
    // Where the store has no thread (the page), a few milliseconds of its jobs a frame.
    best_.games().RunStoreJob();
    Carry(best_.TakeNews(session_.game.form, player_));
    Carry(best_.RunWorld());
    if (best_.ReplayEndChanged())
        overlays_.Invalidate();  // the tag says so

    const bool tip = tooltip_.Showing(clock_.NowMillis()) && session_.game.form.imgNewGame.visible;
    if (overlays_.Stale(VisibleDigest(best_.ShownForm(session_.game.form)), tip))
        Render();
    if (!running_ && platform::CallsEachFrame()) {
        platform::StopCallingEachFrame();
        Finish();
    }
}

void GameWindow::Render() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(screen_.renderer, &w, &h);
    screen_.viewport = FitViewport(w, h);
    const Form& form = best_.ShownForm(session_.game.form);
    const Overlay overlay = Overlays::Gather(form, router_, tooltip_, best_, clock_.NowMillis());
    screen_.drawer->Draw(form, screen_.viewport, overlay);
    SDL_RenderPresent(screen_.renderer);
    ++stats_.ticks.frames;
    stats_.frames.Presented(MonotonicNanos(), InPlay(form));
    if (options_.frames > 0 && stats_.frames.frames() >= options_.frames)
        running_ = false;
    overlays_.Drawn(overlay, VisibleDigest(form), clock_.NowMillis());
}

void GameWindow::Carry(BestGamesWindow::Effects effects) {
    if (effects.restartClock)
        clock_.Restart();
    if (effects.redraw)
        overlays_.Invalidate();
    if (effects.quit)
        running_ = false;
    const World* world = best_.games().world();
    // The ranked session takes over while nothing has been played in this one: the title
    // screen looks and plays the same, only its seed is the server's.
    if (effects.tickets && world != nullptr && world->ranked() && !best_.games().ticket() &&
        !played_)
        PlayFrom(*world->ranked());
    if (effects.todaysGame && world != nullptr && world->daily() && !played_) {
        PlayFrom(*world->daily());
        player_.Click(ClickTarget::imgNewGame);
        AfterEvent();
    }
}

void GameWindow::PlayFrom(const WorldTicket& ticket) {
    const Form& form = session_.game.form;
    const bool power = form.chkPower.value == 1, bgm = form.chkBGM.value == 1;
    session_.Restart(ticket.seed);
    player_.Restart(ticket.seed);
    best_.games().entries().Start(ticket.seed);
    best_.games().PlayTicket(ticket);
    // Clicked again as the player left them, so that the replay starts from the same boxes.
    if ((form.chkPower.value == 1) != power)
        player_.Click(ClickTarget::chkPower);
    if ((form.chkBGM.value == 1) != bgm)
        player_.Click(ClickTarget::chkBGM);
    router_.FollowForm();
    clock_.Restart();
    overlays_.Invalidate();
}

int RunWindow(const WindowOptions& options) {
    // Nearest-neighbour everywhere: nothing the window shows may turn blurry.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Unless a video driver was asked for, only a real display will do. With an X display and no
    // Wayland one, only X is tried, so a failing probe for Wayland adds no noise to the message.
    const bool driverAsked = EnvironmentHas("SDL_VIDEODRIVER");
    if (platform::NeedsDisplayVariable()) {
        if (!driverAsked && !EnvironmentHas("DISPLAY") && !EnvironmentHas("WAYLAND_DISPLAY"))
            return NoWindow("neither DISPLAY nor WAYLAND_DISPLAY is set");
        if (!driverAsked && !EnvironmentHas("WAYLAND_DISPLAY"))
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    }
    // Until the loop runs, TERM and INT end the program at once (startup_guard.h).
    StartupSignals::Take();
    int status;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        status = NoWindow(SDL_GetError());
    } else if (!driverAsked && OffScreen()) {
        status = NoWindow("no display found");
    } else {
        GameWindow window(options);
        status = window.Run();
    }
    StartupSignals::GiveBack();
    SDL_Quit();
    return status;
}

}  // namespace sinkaway
