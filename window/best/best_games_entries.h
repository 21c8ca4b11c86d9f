// Follows the player's session for the games that end in it, and hands each over as an entry for
// the best games with its replay: the whole session so far as a script, up to its game-over
// screen. No SDL and no files: the worker (best_games_worker.h) keeps what this hands over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "score_table.h"
#include "script_writer.h"
#include "session.h"

namespace sinkaway {

struct FinishedGame {
    ScoreEntry entry;  // without its replay path, which the store chooses
    std::string replayScript;
};

class BestGamesEntries {
  public:
    void Start(uint64_t seed) { seed_ = seed; }

    // After the clock ran or an event reached the session: the game that has just ended, if one
    // has, with `script`, the session's script so far (PlayerEvents writes it), as its replay.
    std::optional<FinishedGame> TakeFinished(const Session& session, const ScriptWriter& script);

  private:
    uint64_t seed_ = 0;
    bool inPlay_ = false;
    Micros startedAt_ = 0;
};

}  // namespace sinkaway
