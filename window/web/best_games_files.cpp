// The C++ side of the best games' files in the page and of the travelling replays; the page's side
// is best_games_files.js, linked into sinkaway.js ahead of the game.
#include "best_games_files.h"

#include <emscripten.h>

#include "script.h"

// The page's side of each (best_games_files.js).
EM_JS(int, OfferDownload, (const char* path, const char* name),
      { return sinkawayBestGames.offer(UTF8ToString(path), UTF8ToString(name)); });

EM_JS(void, PickFile, (), { sinkawayBestGames.pick(); });

EM_JS(void, ClaimStorage, (int writes), { sinkawayBestGames.claim(writes); });

namespace sinkaway {

namespace {

// Where the page writes the file the player brought: in memory, gone at the next reload.
constexpr const char* kInbox = "/tmp/brought-replay.txt";

// The part of the store's job that runs once the storage is this tab's: one at a time.
std::function<void()>& Touch() {
    static std::function<void()> touch;
    return touch;
}

std::function<void(const std::string&)>& Watcher() {
    static std::function<void(const std::string&)> watch;
    return watch;
}

}  // namespace

void ClaimBestGamesFiles(std::function<void()> touch, bool writes) {
    Touch() = std::move(touch);
    ClaimStorage(writes ? 1 : 0);
}

BestGames::ReplayFiles PageReplayFiles() {
    BestGames::ReplayFiles files;
    files.offer = [](const BestGameRow& row) {
        return OfferDownload(row.replayPath.c_str(), ReplayFileName(row).c_str()) != 0;
    };
    files.pick = [] { PickFile(); };
    return files;
}

void WhenReplayBrought(std::function<void(const std::string&)> watch) {
    Watcher() = std::move(watch);
}

std::string ReplayFileName(const BestGameRow& row) {
    std::string name = "sinkaway-" + std::to_string(row.score);
    // "2026-12-08T03:00:00Z": the date, and the time without its colons, which some file
    // systems refuse.
    const std::string& played = row.played;
    if (played.size() >= 16)
        name += "-" + played.substr(0, 10) + "-" + played.substr(11, 2) + played.substr(14, 2);
    return name + ".txt";
}

}  // namespace sinkaway

// Called by the page (best_games_files.js) with the file the player brought.
extern "C" {

EMSCRIPTEN_KEEPALIVE const char* sinkaway_replay_inbox() {
    return sinkaway::kInbox;
}

// The page passes on no more than the reader takes, and one byte more so that it can tell.
EMSCRIPTEN_KEEPALIVE double sinkaway_replay_limit() {
    return static_cast<double>(sinkaway::kMaxReplayBytes);
}

EMSCRIPTEN_KEEPALIVE void sinkaway_store_touch() {
    std::function<void()> touch = std::move(sinkaway::Touch());
    sinkaway::Touch() = nullptr;
    if (touch)
        touch();
}

EMSCRIPTEN_KEEPALIVE void sinkaway_watch_replay() {
    if (sinkaway::Watcher())
        sinkaway::Watcher()(sinkaway::kInbox);
}

}  // extern "C"
