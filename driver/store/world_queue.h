// The games on their way to the world's boards, kept beside the best games (world.json in the data
// folder) so that a crash, a closed tab or a lost network loses none: each with the replay's text
// until the server has taken it, then with the server's id and what it last said. A kept game's
// entry is found by its replay's path in the best games' table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xdg.h"

namespace sinkaway {

struct WorldGame {
    enum class Status : uint8_t { kQueued, kPending, kVerified, kRefused };
    std::string replay;  // "replays/NAME", the kept game's: the entry's key
    std::string token;   // the session's, from the server
    bool daily = false;  // a game of today's seed
    std::string text;    // the replay, until the server took it
    int64_t id = 0;      // the server's, once it took it
    Status status = Status::kQueued;
    int rank = 0;        // on the world's board, once verified
    std::string reason;  // the server's, once refused
    bool operator==(const WorldGame&) const = default;
};

using WorldQueue = std::vector<WorldGame>;

// Past this many entries the oldest finished ones make room; games still to be sent never do, so
// a queue may hold more, up to what a file of it may hold.
inline constexpr size_t kMaxWorldGames = 40;
inline constexpr size_t kMaxWorldFileGames = 1000;
// Replays waiting to be sent are in it: up to the server's own limit each, a handful at a time.
inline constexpr size_t kMaxWorldQueueBytes = 64u << 20;

struct WorldQueueLoad {
    WorldQueue queue;     // empty unless a good file was found
    std::string problem;  // a file was there but could not be used
};

WorldQueueLoad LoadWorldQueue(const StoreFolder& folder);
bool SaveWorldQueue(const StoreFolder& folder, const WorldQueue& queue, std::string& error);

// Puts `game` in place of the entry with its replay, or adds it; then makes room.
void MergeWorldGame(WorldQueue& queue, WorldGame game);

bool ParseWorldQueue(std::string_view text, WorldQueue& queue, std::string& problem);
std::string FormatWorldQueue(const WorldQueue& queue);

}  // namespace sinkaway
