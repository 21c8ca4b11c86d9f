// The one way the player's clicks and keys reach the session, so that a recording (--record)
// misses none: a replay can only reproduce what it was told.
#pragma once

#include <cstdint>
#include <string>

#include "game_keeper.h"
#include "recorder.h"
#include "session.h"

namespace sinkaway {

class PlayerEvents {
  public:
    explicit PlayerEvents(Session& session) : session_(session) {}

    // Starts recording into `path` (empty: no recording); false, with a message, when it cannot.
    bool Record(const std::string& path, uint64_t seed);
    // Ends the recording with what the window showed last.
    void FinishRecording();
    // Every event from now on goes to the keeper of the best games too.
    void KeepGames(GameKeeper& keeper) { keeper_ = &keeper; }

    void Click(ClickTarget target);
    void KeyDown(uint16_t vk);
    void KeyUp(uint16_t vk);

  private:
    Session& session_;
    ScriptRecorder recorder_;
    GameKeeper* keeper_ = nullptr;
    std::string path_;
};

}  // namespace sinkaway
