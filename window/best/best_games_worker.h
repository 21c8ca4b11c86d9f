// Everything the window keeps between sessions, done on a thread of its own, like the music
// loader: reading and writing the best games and the settings, proving replays and loading one to
// watch. No file, lock or slow disk can hold up a frame. No SDL: the window gives it a way to wake
// its loop when news is ready. A page has no threads: there the same jobs run between frames, when
// the window asks, a slice of a few milliseconds a frame, so that no proof of a replay, however
// long, holds up a frame; and the part of a job that reads what another tab may have written, or
// writes, is done when the browser's storage is this tab's (Hooks::claim).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "best_games_panel.h"
#include "replay_player.h"
#include "score_store.h"
#include "settings.h"
#include "world_queue.h"

namespace sinkaway {

class BestGamesWorker {
  public:
    // What came back since the window last asked.
    struct News {
        std::optional<Settings> settings;              // the saved settings, at start
        std::optional<std::string> server;             // the settings' leaderboard, at start
        std::optional<std::vector<BestGameRow>> rows;  // the table as it now stands
        std::optional<std::string> note;               // why the table shows no rows
        int newBest = 0;                               // the rank the last game took
        std::unique_ptr<ReplayPlayer> replay;          // a replay asked for, ready to watch
        bool replayFailed = false;
        std::optional<WorldPlayer> player;  // who sends games to the world, once made up
        std::optional<WorldQueue> world;    // the games on their way to it, as they now stand
    };

    // Where the jobs run: on the worker's own thread, or in the window's loop (RunNext).
    enum class Pace : uint8_t { kOwnThread, kBetweenFrames };
    struct Hooks {
        std::function<void()> wake;  // news is ready (called from the worker's thread)
        // Between frames, for the part of a job that must see the latest files: `claim` runs
        // `touch` once the files are this copy's alone and freshly read, and keeps them so
        // until it is done and, when it `writes` (settings, a game, a repair), its changes are
        // kept. It may answer at once or frames later. None where the store's own lock does
        // (the desktop).
        std::function<void(std::function<void()> touch, bool writes)> claim;
    };

    // `write`: false keeps everything as it is on disk (reads only).
    BestGamesWorker(StoreFolder data, StoreFolder config, bool write, Hooks hooks,
                    Pace pace = Pace::kOwnThread);
    BestGamesWorker(const BestGamesWorker&) = delete;
    BestGamesWorker& operator=(const BestGamesWorker&) = delete;
    // Finishes every write asked for: a game that ended just before the window closed is kept.
    ~BestGamesWorker();

    void LoadSettings();
    // Waits at most `ms` for the settings asked for, so that the first picture shows the boxes
    // as they were left; a slow disk only costs the wait.
    void AwaitSettings(int ms);
    // Saves the boxes, leaving the rest of the settings as they are on disk.
    void SaveSettings(const Settings& settings);
    // Reads the world's player, makes one up if there is none yet, and sets its name when `name`
    // is given; news says who it is. With `server` the settings' server wins over none.
    void LoadWorldPlayer(std::optional<std::string> name = std::nullopt);
    // Reads the games on their way to the world.
    void LoadWorld();
    // Keeps what the server said of a game (or that it was sent); news has the queue after.
    void UpdateWorld(WorldGame game);
    // Reads the table and proves its replays for the panel.
    void LoadTable();
    // Only reads the table: a broken one is moved aside and an unusable folder reported now,
    // rather than when the first game ends.
    void CheckTable();
    // A game that ended, with `world` when it goes to the world's boards should it make the
    // table: it is queued there under its kept replay's path.
    void AddGame(const ScoreEntry& game, std::string replayScript,
                 std::optional<WorldGame> world = std::nullopt);
    void LoadReplay(std::string path, MusicPlayer& music);
    // A replay fetched from the world's boards, proved and played through as a file's is.
    void LoadReplayText(std::string text, MusicPlayer& music);

    // Between frames: runs the next job asked for, or a slice of it; false when none ran (none
    // was asked for, the storage is not yet this copy's, or the jobs have a thread of their own).
    bool RunNext();

    News Take();

  private:
    // A job touches the files first, in one go, then takes steps that each do about `work` more
    // units of replay work (kAll: all of it), the last answering true.
    static constexpr uint64_t kAll = UINT64_MAX;
    using Step = std::function<bool(uint64_t work)>;
    struct Job {
        bool mustFinish = false;  // a write: done even when the window is closing
        bool writes = false;      // may change files (a read that repairs the table too)
        bool fresh = false;       // reads what another copy may have written
        bool asked = false;       // the storage was claimed for it
        bool touched = false;
        std::function<void()> touch;
        Step step;  // none: done once touched
    };
    void Post(bool mustFinish, bool writes, bool fresh, std::function<void()> touch,
              Step step = nullptr);
    // The table's rows with each replay proved, a slice at a time; `done` hears them.
    Step ProveRows(ScoreTable table, std::function<void(std::vector<BestGameRow>)> done);
    void Loop();
    void Publish(const std::function<void(News&)>& fill);
    ScoreTable ReadTable();
    void WarnScores(const std::string& why);
    // Reads the world queue, changes it and writes it back, under the claim; news has it after.
    void ChangeWorld(const std::function<void(WorldQueue&)>& change);
    void LoadReplayFrom(std::function<std::unique_ptr<ReplayReading>()> open, MusicPlayer& music);

    ScoreStore store_;
    StoreFolder config_;
    const bool write_;
    const Pace pace_;
    Hooks hooks_;
    bool scoresWarned_ = false;    // worker thread only
    bool settingsWarned_ = false;  // worker thread only
    std::vector<std::pair<std::string, bool>>
        proven_;  // worker thread only: "replay score" -> proof

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Job> jobs_;  // the front one may be under way, between frames
    bool stopping_ = false;
    bool settingsRead_ = false;
    News news_;
    std::thread thread_;  // none between frames
};

}  // namespace sinkaway
