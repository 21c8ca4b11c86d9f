// What the page keeps, and the replays that travel between the page and the player's own files.
// The store's folders live in the browser's storage (IndexedDB): kept_files.js mounts them before
// main runs, and each write the store makes is copied there. A best game's replay is offered as a
// download, and a replay file the player drops on the page or picks (the panel's O) plays as one
// chosen from the panel.
#pragma once

#include <functional>
#include <string>

#include "best_games.h"

namespace sinkaway {

// Copies the store's folders to the browser's storage. Asked while a copy is under way, one more
// follows it: two never run at once.
void FlushKeptFiles();
// The page's downloads and file picker, for the best games.
BestGames::ReplayFiles PageReplayFiles();
// `watch` hears the path of each replay file the player brings.
void WhenReplayBrought(std::function<void(const std::string&)> watch);
// What a row's replay is called as a download: "sinkaway-1234-2026-12-08-0300.txt".
std::string ReplayFileName(const BestGameRow& row);

}  // namespace sinkaway
