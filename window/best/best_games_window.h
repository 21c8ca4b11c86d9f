// The best games in the window: their owner (best_games.h) with what the window adds to it, the
// worker started for a player's session with a way to wake the loop, its news carried out (the
// saved boxes put back, the new-best line), the replay's form shown in place of the game's, and
// what the best games draw over it and find under a finger.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "best_games.h"
#include "input_router.h"
#include "player_events.h"
#include "renderer.h"
#include "window_options.h"

namespace sinkaway {

class BestGamesWindow {
  public:
    // What the window does next.
    struct Effects {
        bool restartClock = false;  // the session on screen changed: its time starts now
        bool redraw = false;
        bool quit = false;        // the command line's replay was left
        bool tickets = false;     // the world's sessions changed: a ranked one may start
        bool todaysGame = false;  // the player asked for the day's session
    };

    // Replays play their music into `music`.
    explicit BestGamesWindow(MusicPlayer& music) : games_(music) {}

    const BestGames& games() const { return games_; }
    BestGames& games() { return games_; }

    // Before the load, with `form` the game's: a player's session keeps its games, with `wake` to
    // wake the loop and `watch` to play the page's replay files; a measuring run or a replay
    // keeps nothing. False, with `status`, when a replay asked for (--replay) cannot be played.
    bool Start(const WindowOptions& options, uint64_t seed, const Form& form, PlayerEvents& player,
               std::function<void()> wake, std::function<void(const std::string&)> watch,
               int& status);
    // The worker's news, with `form` the game's and `player` to click the boxes back.
    Effects TakeNews(const Form& form, PlayerEvents& player);
    // The world's answers, between frames.
    Effects RunWorld();
    // How long the loop may sleep before the world has something due; -1: no limit.
    int64_t MillisToWorld() const;
    // `slot`: the name entry's slot a finger hit (BestGames::Handle).
    Effects Handle(BestGames::Command command, int slot = 0);
    // A replay file the player brought (the page's): watched over the panel.
    Effects WatchFile(const std::string& path, const Form& form);
    // After the clock ran: true when the replay's end changed what its tag says.
    bool ReplayEndChanged();

    // The replay's form while one plays, else `game`.
    const Form& ShownForm(const Form& game) const;
    // The new-best line, the replay's tag, the panel, the name entry and the page's button over
    // `shown`.
    void AddOverlay(const Form& shown, Overlay& overlay);
    // What of the best games lies under a finger at `p` (twips) and at `x`, `y` (output pixels),
    // with `tag` the replay's tag as last drawn.
    void AddTouch(const Form& game, TwipPoint p, int x, int y, const PixelRect& tag,
                  Touch& touch) const;

  private:
    // The world's boards at `server` ("" the page's origin).
    void ConnectWorld(std::string server);

    BestGames games_;
    bool worldAllowed_ = false;
    std::function<void()> wake_;  // wakes the loop: the worker's news and the world's answers  // a
                                  // player's session that keeps its games, with no seed given
    Label newBestLine_;           // "New best #N - press H" after a game that entered the table
    std::string replayTag_;
    bool replayEnded_ = false;  // the replay's tag said it had ended
};

}  // namespace sinkaway
