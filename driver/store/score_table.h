// The best games: at most ten, highest score first, the earlier game first among equal scores.
// Read from and written to JSON of exactly one shape; anything else is refused whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sinkaway {

inline constexpr int kTableFormat = 1;
inline constexpr size_t kMaxGames = 10;
// A full table is about two kilobytes; anything far bigger is not one of ours.
inline constexpr size_t kMaxTableBytes = 64 * 1024;
inline constexpr const char* kReplayFolder = "replays";

struct ScoreEntry {
    int64_t score = 0;
    std::string played;  // UTC, "2026-12-08T03:00:00Z"
    uint64_t seed = 0;
    double seconds = 0;   // from the new game to the game over
    std::string replay;   // "replays/NAME", relative to the table's folder
    std::string version;  // of the game that played it
};

using ScoreTable = std::vector<ScoreEntry>;

// Parses and checks a whole table. False with the first thing wrong; `table` is then empty.
bool ParseScoreTable(std::string_view text, ScoreTable& table, std::string& problem);
std::string FormatScoreTable(const ScoreTable& table);

// A replay path may only name a file directly inside the replay folder.
bool IsSafeReplayPath(std::string_view path);

// Puts a new game in its place. Returns its rank (1 for the best), or 0 when it does not make the
// table; games pushed out of the table go to `dropped`.
int InsertGame(ScoreTable& table, const ScoreEntry& entry, ScoreTable& dropped);

}  // namespace sinkaway
