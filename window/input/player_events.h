// The one way the player's clicks and keys reach the session, so that a recording (--record)
// misses none: a replay can only reproduce what it was told.
#pragma once

#include <cstdint>
#include <string>

#include "best_games_entries.h"
#include "recorder.h"
#include "script_writer.h"
#include "session.h"

namespace sinkaway {

class PlayerEvents {
  public:
    explicit PlayerEvents(Session& session) : session_(session) {}

    // Starts the session's script with its seed, and records it into `path` (empty: no
    // recording); false, with a message, when it cannot.
    bool Record(const std::string& path, uint64_t seed);
    // The session started again with `seed` (not while recording): its script starts again too.
    void Restart(uint64_t seed);
    // Ends the recording with what the window showed last.
    void FinishRecording();
    // Every event from now on goes into the session's script for the best games' entries too.
    void RecordEntries(BestGamesEntries& entries) { entries_ = &entries; }
    // The session's script so far: written once, for the recording and the best games alike.
    const ScriptWriter& script() const { return script_; }

    void Click(ClickTarget target);
    void KeyDown(uint16_t vk);
    void KeyUp(uint16_t vk);

  private:
    void Write(const ScriptEvent& event);

    Session& session_;
    ScriptWriter script_;
    ScriptRecorder recorder_;
    BestGamesEntries* entries_ = nullptr;
    std::string path_;
};

}  // namespace sinkaway
