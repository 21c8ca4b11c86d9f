// TERM and INT until the loop runs, and the watch on the window manager while the window is being
// shown (why: startup_guard.h). The browser builds web/startup_guard.cpp instead.
#include "startup_guard.h"

#include <SDL.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>

namespace sinkaway {

namespace {

constexpr char kTermLine[] = "sinkaway: ended by TERM while starting\n";
constexpr char kIntLine[] = "sinkaway: ended by INT while starting\n";

// What SDL (or whoever came before) had for each, put back by GiveBack.
struct sigaction before[2];
constexpr int kSignals[2] = {SIGTERM, SIGINT};
bool taken = false;  // the main thread's

// Only what is safe in a signal handler: one write, then the signal again with its default action,
// which ends the program with the signal's own status (128 + its number, to a shell) once the
// handler returns.
void EndNow(int sig) {
    const bool term = sig == SIGTERM;
    [[maybe_unused]] const ssize_t put = write(STDERR_FILENO, term ? kTermLine : kIntLine,
                                               (term ? sizeof kTermLine : sizeof kIntLine) - 1);
    signal(sig, SIG_DFL);
    raise(sig);
}

}  // namespace

void StartupSignals::Take() {
    sigset_t both, mask;
    sigemptyset(&both);
    for (const int sig : kSignals) sigaddset(&both, sig);
    // Held back from SDL's handlers going in until ours are in front: one that came in between
    // would queue a quit event that nothing reads while the window manager keeps the window.
    pthread_sigmask(SIG_BLOCK, &both, &mask);
    SDL_InitSubSystem(SDL_INIT_EVENTS);  // a failure is SDL_Init's to report
    struct sigaction ours {};
    ours.sa_handler = EndNow;
    sigemptyset(&ours.sa_mask);
    for (int i = 0; i < 2; ++i) {
        sigaction(kSignals[i], nullptr, &before[i]);
        // Ignored stays ignored (nohup, a script's job in the background).
        if (before[i].sa_handler != SIG_IGN)
            sigaction(kSignals[i], &ours, nullptr);
    }
    taken = true;
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
}

void StartupSignals::GiveBack() {
    if (!taken)
        return;
    taken = false;
    for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &before[i], nullptr);
}

struct ShowWatch::State {
    std::mutex mutex;
    std::condition_variable changed;
    bool shown = false;
    std::thread thread;
};

ShowWatch::ShowWatch(int seconds) : state_(std::make_unique<State>()) {
    try {
        state_->thread = std::thread([state = state_.get(), seconds] {
            std::unique_lock lock(state->mutex);
            if (!state->changed.wait_for(lock, std::chrono::seconds(seconds),
                                         [state] { return state->shown; }))
                std::fprintf(stderr,
                             "sinkaway: the window manager has not shown the window after %d s; "
                             "still waiting\n",
                             seconds);
        });
    } catch (const std::system_error&) {
        // No thread, no watch: the window still opens.
    }
}

ShowWatch::~ShowWatch() {
    {
        std::lock_guard lock(state_->mutex);
        state_->shown = true;
    }
    state_->changed.notify_one();
    if (state_->thread.joinable())
        state_->thread.join();
}

}  // namespace sinkaway
