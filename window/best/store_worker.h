// Everything the window keeps between sessions, done on a thread of its own, like the music
// loader: reading and writing the best games and the settings, proving replays and loading one to
// watch. No file, lock or slow disk can hold up a frame. No SDL: the window gives it a way to wake
// its loop when news is ready. A page has no threads: there the same jobs run between frames, when
// the window asks, a slice of a few milliseconds a frame, so that no proof of a replay, however
// long, holds up a frame; and a job that reads what another tab may have written, or writes,
// first claims the browser's storage for this tab (Hooks::claim).
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

namespace sinkaway {

class StoreWorker {
  public:
    // What came back since the window last asked.
    struct News {
        std::optional<Settings> settings;              // the saved settings, at start
        std::optional<std::vector<BestGameRow>> rows;  // the table as it now stands
        std::optional<std::string> note;               // why the table shows no rows
        int newBest = 0;                               // the rank the last game took
        std::unique_ptr<ReplayPlayer> replay;          // a replay asked for, ready to watch
        bool replayFailed = false;
    };

    // Where the jobs run: on the worker's own thread, or in the window's loop (RunNext).
    enum class Pace : uint8_t { kOwnThread, kBetweenFrames };
    struct Hooks {
        std::function<void()> wake;  // news is ready (called from the worker's thread)
        // Between frames, around each job that must see the latest files: `claim` is asked once
        // a frame until it answers true, the files being this copy's alone and freshly read, and
        // `release` follows the job, with `wrote` when it may have changed files (settings, a
        // game, a repair). None where the store's own lock does (the desktop).
        std::function<bool()> claim;
        std::function<void(bool wrote)> release;
    };

    // `write`: false keeps everything as it is on disk (reads only).
    StoreWorker(StoreFolder data, StoreFolder config, bool write, Hooks hooks,
                Pace pace = Pace::kOwnThread);
    StoreWorker(const StoreWorker&) = delete;
    StoreWorker& operator=(const StoreWorker&) = delete;
    // Finishes every write asked for: a game that ended just before the window closed is kept.
    ~StoreWorker();

    void LoadSettings();
    // Waits at most `ms` for the settings asked for, so that the first picture shows the boxes
    // as they were left; a slow disk only costs the wait.
    void AwaitSettings(int ms);
    void SaveSettings(const Settings& settings);
    // Reads the table and proves its replays for the panel.
    void LoadTable();
    // Only reads the table: a broken one is moved aside and an unusable folder reported now,
    // rather than when the first game ends.
    void CheckTable();
    void AddGame(const ScoreEntry& game, std::string replayScript);
    void LoadReplay(std::string path, MusicPlayer& music);

    // Between frames: runs the next job asked for, or a slice of it; false when none ran (none
    // was asked for, the storage is not yet this copy's, or the jobs have a thread of their own).
    bool RunNext();
    // Whether a job is asked for or under way.
    bool busy();

    News Take();

  private:
    // A job's step does about `work` more units of replay work (kAll: all of it), and answers
    // true once the job is done.
    static constexpr uint64_t kAll = UINT64_MAX;
    using Step = std::function<bool(uint64_t work)>;
    struct Job {
        bool mustFinish = false;  // a write: done even when the window is closing
        bool writes = false;      // may change files (a read that repairs the table too)
        bool fresh = false;       // reads what another copy may have written
        bool claimed = false;
        Step step;
    };
    void Post(bool mustFinish, bool writes, bool fresh, Step step);
    // The same for a job done in one go.
    void Post(bool mustFinish, bool writes, bool fresh, std::function<void()> job);
    // The table's rows with each replay proved, a slice at a time; `done` hears them.
    Step ProveRows(ScoreTable table, std::function<void(std::vector<BestGameRow>)> done);
    void Loop();
    void Publish(const std::function<void(News&)>& fill);
    ScoreTable ReadTable();
    void WarnScores(const std::string& why);

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
