// The best games in the window, in one place: the entries the player's games make, the
// store worker that keeps them, the panel that lists them, the replay being watched, and which of
// them has the keys (the game, the panel, the replay or the name entry). No SDL: the window passes
// on the player's commands and the worker's news, and asks what to show.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "best_games_entries.h"
#include "best_games_panel.h"
#include "best_games_worker.h"
#include "name_entry.h"
#include "replay_player.h"
#include "session.h"
#include "settings.h"
#include "world.h"

namespace sinkaway {

class BestGames {
  public:
    // What owns the keys: the game's screens, the panel over them, a replay, or the name entry
    // over the game's screens or the panel.
    enum class Mode : uint8_t { kGame, kPanel, kReplay, kName };
    enum class Command : uint8_t {
        kOpenPanel,
        kClosePanel,
        kUp,
        kDown,
        kWatch,  // the chosen game's replay, please: it plays once the worker has loaded it
        kPauseReplay,
        kFaster,
        kSlower,
        kEndReplay,  // back to the panel
        kSave,       // the chosen game's replay as a file of the player's (the page's downloads)
        kOpenFile,   // a replay file of the player's to watch: the page asks which
        kNextTable,  // the panel's tables, where a leaderboard is configured
        kPreviousTable,
        kShowMine,
        kShowWorld,
        kShowToday,
        kTodaysGame,  // the title screen's: a session of the day's seed (the window starts it)
        kOpenName,    // from the panel: the name entry, to change the name the player has
        kNameUp,      // the name entry's keys
        kNameDown,
        kNameLeft,
        kNameRight,
        kNameEnter,
        kNameEscape,
        kNameAbove,  // a finger on the name entry's slot `slot`: above its letter, on it, below
        kNameLetter,
        kNameBelow,
    };
    // What the worker's news asks of the window.
    struct NewsEffects {
        bool redraw = false;
        bool switched = false;                 // a replay took the screen: its clock starts now
        bool newBest = false;                  // the game just ended took rank newBest()
        std::optional<Settings> putBackBoxes;  // the saved boxes, to be clicked into place
        std::optional<std::string> server;     // the settings' leaderboard ("" for none), at start
        bool tickets = false;                  // the world's sessions changed
    };

    // What a page offers besides, where the player cannot reach the replays' folder: the chosen
    // game's replay as a download, and a replay file of the player's own to watch. The desktop
    // offers neither: its files are the player's already.
    struct ReplayFiles {
        std::function<bool(const BestGameRow&)> offer;  // false when it could not be offered
        std::function<void()> pick;                     // asks the player for a file
    };

    // Replays play their music into `music`, once their game starts.
    explicit BestGames(MusicPlayer& music) : music_(music) {}

    // A player's session: `store` keeps its games, which the entries follow from the load with
    // `seed`. Asks for the saved settings and checks the table at once.
    void StartKeeping(std::unique_ptr<BestGamesWorker> store, uint64_t seed);
    // Nothing is kept in this run: the panel says so.
    void KeepNothing() { panel_.SetNote("Not kept in this run"); }
    // A replay asked for on the command line: it plays at once, and leaving it ends the run.
    void WatchOnly(ReplayScript script);
    void OfferFiles(ReplayFiles files) { files_ = std::move(files); }
    bool offersFiles() const { return static_cast<bool>(files_.offer); }
    // The page's "H best games" button, for a finger as the H key is for the keys: on the title
    // and game-over screens of `form`, the game's, and never under the panel or a replay.
    bool ShowsButton(const Form& form) const {
        return offersFiles() && mode_ == Mode::kGame && !InPlay(form);
    }
    // "D today's game", on the title screen of `form` once the day's session is at hand.
    bool OffersToday(const Form& form) const {
        return world_ && world_->daily() && mode_ == Mode::kGame && !replay_ &&
               form.imgNewGame.visible && form.lblSinkaway.visible;
    }

    Mode mode() const { return mode_; }
    // The command line's replay was left.
    bool over() const { return over_; }
    const BestGamesPanel& panel() const { return panel_; }
    // The replay on screen; null outside the replay mode.
    ReplayPlayer* replay() { return replay_.get(); }
    const ReplayPlayer* replay() const { return replay_.get(); }
    BestGamesEntries& entries() { return entries_; }
    // The rank the last game took, while its game-over screen shows; 0 when none.
    int newBest() const { return newBest_; }

    // The world's boards, once a leaderboard is configured: the panel gets their tables, the
    // games of a session played from `ticket` go to them, and the world's news is taken here.
    void ConnectWorld(std::unique_ptr<World> world);
    World* world() { return world_.get(); }
    const World* world() const { return world_.get(); }
    // The session on screen plays from `ticket` (none: a seed of its own, unranked).
    void PlayTicket(std::optional<WorldTicket> ticket) { ticket_ = std::move(ticket); }
    const std::optional<WorldTicket>& ticket() const { return ticket_; }
    // Between frames: the world's answers.
    NewsEffects RunWorld();
    // The name the player chose for the world's boards: kept with the settings, and the games
    // that waited for it go.
    void NameChosen(std::string name) {
        if (store_)
            store_->LoadWorldPlayer(std::move(name));
    }
    // What the server said of a game, to keep with the queue.
    void KeepWorld(WorldGame game) {
        if (store_)
            store_->UpdateWorld(std::move(game));
    }
    bool keeping() const { return store_ != nullptr; }

    // The player's name for the world's boards: the entry opens with `current` and takes the keys
    // until it closes, when whatever had them before (the game's screens or the panel) has them
    // again. Over a replay, or with the entry open already, nothing changes.
    void AskName(std::string current);
    // The name the player entered, once; nothing when none was entered since the last call.
    std::optional<std::string> TakeName();
    const NameEntry& nameEntry() const { return nameEntry_; }
    // The name the player has now: the panel's N opens the entry with it, to change it.
    void KnowName(std::string name) { knownName_ = std::move(name); }

    // True when the session on screen changed: the window's clock starts again, as the time
    // spent on the other one was not this one's. `slot` is the name entry's slot a finger hit.
    bool Handle(Command command, int slot = 0);
    // A replay file the player brought, at `path`: it plays as one chosen from the panel would,
    // with the panel behind it, or the panel says it cannot. Not while `form` is in play.
    // True when the session on screen changed, as for Handle.
    bool WatchFile(std::string path, const Form& form);
    // Between frames: the store's next job, where the page runs them; false when none ran
    // (BestGamesWorker::RunNext).
    bool RunStoreJob() { return store_ && store_->RunNext(); }
    // The player clicked a box: the saved ones, still on their way, come too late.
    void BoxesTouched() { boxesTouched_ = true; }
    // After the clock ran or an event reached `session`: a game that ended goes to the store
    // with `script`, the session's script so far, as its replay; boxes that changed are saved.
    void SaveChanges(const Session& session, const ScriptWriter& script);
    // Waits at most `ms` for the saved settings (see BestGamesWorker::AwaitSettings).
    void AwaitSettings(int ms);
    // The worker's news, with `form` the game's.
    NewsEffects TakeNews(const Form& form);
    NewsEffects ApplyNews(BestGamesWorker::News news, const Form& form);

  private:
    // The name entry's keys and taps, while it has them.
    void HandleName(Command command, int slot);

    MusicPlayer& music_;
    Mode mode_ = Mode::kGame;
    BestGamesPanel panel_;
    std::unique_ptr<ReplayPlayer> replay_;
    BestGamesEntries entries_;
    Settings saved_;             // the boxes as last read or saved
    bool boxesTouched_ = false;  // the player clicked a box
    int newBest_ = 0;
    bool watchOnly_ = false;
    ReplayFiles files_;
    bool over_ = false;
    std::optional<WorldTicket> ticket_;
    bool askedName_ = false;  // on this game-over screen
    // Marks the player's own rows with what the world made of them.
    void MarkMine();
    // Once the world shows: the panel's tables, and the player and queue read.
    void FollowWorld();
    bool worldRead_ = false;
    std::unique_ptr<World> world_;  // before store_: its hooks post to the worker
    NameEntry nameEntry_;
    Mode beforeName_ = Mode::kGame;  // what has the keys again when the entry closes
    std::string knownName_;
    std::optional<std::string> enteredName_;  // until taken
    std::unique_ptr<BestGamesWorker> store_;  // last: stops first; null when this run keeps nothing
};

}  // namespace sinkaway
