// The best games shown in a terminal (--scores), each proved by playing its replay headless.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "score_store.h"
#include "script.h"

namespace sinkaway {

// Whether the game's replay, played headless, ends on the game's score; why not goes to standard
// error when the replay is refused. A replay path that leaves the replay folder, and a replay
// that is a link, are never opened.
bool ReplayProvesScore(const std::string& folder, const ScoreEntry& game);

// The same a slice of work at a time (ReplayReading), for a window that has frames to draw.
class ScoreProof {
  public:
    ScoreProof(const std::string& folder, const ScoreEntry& game);
    // Plays on for about `work` more units; true once the answer is known.
    bool Continue(uint64_t work);
    bool proves() const { return proves_; }

  private:
    double score_;
    std::unique_ptr<ReplayReading> reading_;  // null once decided
    bool proves_ = false;
};

// Prints the table; returns the exit status: 0, also with no table yet; 1 when the table or its
// folder cannot be used.
int PrintScores(const ScoreStore& store, std::FILE* out);

}  // namespace sinkaway
