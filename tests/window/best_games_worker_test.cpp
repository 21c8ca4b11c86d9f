// The store's jobs between frames, as the page runs them: nothing until the window asks, one job
// an ask, each that must see the latest files only once the storage is claimed, and a word after
// each that may have written, so that the page can copy it to the browser's storage. A replay at
// the work bound is refused over several frames. A replay file the player brings plays over the
// panel, or the panel says why not.
#include "best_games_worker.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "best_games.h"

namespace sinkaway {
namespace {

namespace fs = std::filesystem;

struct Folder {
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "sinkaway-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path); }
    StoreFolder Store(const char* name) const { return {(path / name).string(), "", ""}; }
    fs::path path;
};

TEST(StoreBetweenFrames, RunsOneJobPerAskAndSaysAfterEachWrite) {
    Folder dir;
    int wrote = 0;
    bool othersHold = true;        // another copy has the storage
    std::function<void()> queued;  // this copy's turn, once they let go
    BestGamesWorker::Hooks hooks;
    hooks.claim = [&](std::function<void()> touch, bool writes) {
        auto turn = [&wrote, touch, writes] {
            touch();
            wrote += writes;
        };
        if (othersHold)
            queued = turn;
        else
            turn();
    };
    BestGamesWorker worker(dir.Store("data"), dir.Store("config"), true, hooks,
                           BestGamesWorker::Pace::kBetweenFrames);
    ScoreEntry game;
    game.score = 7;
    game.played = "2026-12-08T03:00:00Z";
    game.seconds = 2;
    game.version = "1.0.0";
    worker.AddGame(game, "seed 1\nclick imgNewGame\nadvance 100\n");
    // Saving the boxes leaves what else the settings hold as it is on disk.
    fs::create_directories(dir.path / "config");
    std::ofstream(dir.path / "config" / "settings.json")
        << R"({"format": 1, "PowerUps": true, "BGM": true, "Name": "ADA"})";
    Settings boxes;
    boxes.powerUps = false;
    worker.SaveSettings(boxes);
    boxes.world.name = "ADA";
    worker.LoadSettings();
    EXPECT_FALSE(worker.Take().rows);
    EXPECT_EQ(wrote, 0);
    // Another copy holds the storage: the game waits for it, a frame at a time.
    EXPECT_FALSE(worker.RunNext());
    EXPECT_FALSE(worker.RunNext());
    EXPECT_FALSE(worker.Take().rows);
    othersHold = false;
    queued();

    EXPECT_TRUE(worker.RunNext());
    EXPECT_EQ(wrote, 1);
    BestGamesWorker::News news = worker.Take();
    ASSERT_TRUE(news.rows);
    EXPECT_EQ(news.rows->size(), 1u);
    EXPECT_EQ(news.newBest, 1);
    EXPECT_TRUE(worker.RunNext());
    EXPECT_EQ(wrote, 2);
    // The settings job reads and writes nothing the page must copy.
    EXPECT_TRUE(worker.RunNext());
    EXPECT_EQ(wrote, 2);
    EXPECT_EQ(worker.Take().settings, boxes);
    EXPECT_FALSE(worker.RunNext());

    // Three lines that would run the rules past their bound: refused a slice a frame.
    const fs::path planted = dir.path / "planted.txt";
    std::ofstream(planted) << "seed 1\nclick imgNewGame\nadvance 10000000000\n";
    NullMusicPlayer music;
    worker.LoadReplay(planted.string(), music);
    int frames = 0;
    while (worker.RunNext()) ++frames;
    EXPECT_GT(frames, 1);
    EXPECT_TRUE(worker.Take().replayFailed);
}

TEST(StoreBetweenFrames, ABroughtReplayPlaysOverThePanelOrLeavesItWithANote) {
    Folder dir;
    NullMusicPlayer music;
    BestGames best(music);
    best.StartKeeping(std::make_unique<BestGamesWorker>(dir.Store("data"), dir.Store("config"),
                                                        true, BestGamesWorker::Hooks{},
                                                        BestGamesWorker::Pace::kBetweenFrames),
                      1);
    const fs::path good = dir.path / "good.txt", bad = dir.path / "bad.txt";
    std::ofstream(good) << "seed 5\nclick imgNewGame\nadvance 700\nkeydown 39\nadvance 20000\n";
    std::ofstream(bad) << "not a replay\n";
    auto settle = [&](const Form& form) {
        while (best.RunStoreJob()) {
        }
        best.TakeNews(form);
    };
    Form form = MakeDesignForm();

    struct Row {
        const fs::path& file;
        bool inPlay;
        BestGames::Mode mode;
        const char* problem;
    };
    for (const Row& row : {Row{good, true, BestGames::Mode::kGame, ""},
                           Row{bad, false, BestGames::Mode::kPanel, "Cannot play that replay"},
                           Row{good, false, BestGames::Mode::kReplay, ""},
                           Row{bad, false, BestGames::Mode::kPanel, "Cannot play that replay"}}) {
        form.imgNewGame.visible = form.cmdNewGame.visible = !row.inPlay;
        best.WatchFile(row.file.string(), form);
        settle(form);
        EXPECT_EQ(best.mode(), row.mode) << row.file;
        EXPECT_EQ(best.panel().problem(), row.problem) << row.file;
        if (best.mode() == BestGames::Mode::kPanel)
            best.Handle(BestGames::Command::kClosePanel);
    }
}

}  // namespace
}  // namespace sinkaway
