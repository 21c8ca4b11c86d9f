// What the page keeps, and the replays that travel between the page and the player's own files.
// The store's folders live in the browser's storage (IndexedDB), which every tab of the page
// shares: best_games_files.js mounts them before main runs, and a job of the store that must see
// the latest files claims them first (read afresh under a lock all tabs share) and writes back as
// it lets go. A best game's replay is offered as a download, and a replay file the player drops on
// the page or picks (the panel's O) plays as one chosen from the panel.
#pragma once

#include <functional>
#include <string>

#include "best_games.h"

namespace sinkaway {

// Runs `touch` once the store's folders are this tab's, freshly read from the browser's storage,
// and keeps them so until it has run and, when it `writes`, its changes are written back
// (BestGamesWorker::Hooks::claim).
void ClaimBestGamesFiles(std::function<void()> touch, bool writes);
// The page's downloads and file picker, for the best games.
BestGames::ReplayFiles PageReplayFiles();
// `watch` hears the path of each replay file the player brings.
void WhenReplayBrought(std::function<void(const std::string&)> watch);
// What a row's replay is called as a download: "sinkaway-1234-2026-12-08-0300.txt".
std::string ReplayFileName(const BestGameRow& row);

}  // namespace sinkaway
