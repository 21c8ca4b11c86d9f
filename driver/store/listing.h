// The best games shown in a terminal (--scores), each proved by playing its replay headless.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "score_store.h"

namespace sinkaway {

// A day of play, which the headless driver replays in about a fifth of a second: the longest
// replay the game runs.
inline constexpr uint64_t kMaxReplayMs = 24ull * 3600 * 1000;

// Whether the game's replay, played by the headless driver, ends on the game's score. A replay
// path that leaves the replay folder, and a replay that is a link, are never opened.
bool ReplayProvesScore(const std::string& folder, const ScoreEntry& game);

// Prints the table; returns the exit status: 0, also with no table yet; 1 when the table or its
// folder cannot be used.
int PrintScores(const ScoreStore& store, std::FILE* out);

}  // namespace sinkaway
