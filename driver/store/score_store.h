// The scores table and its replays in the data folder: reading it, and adding a finished game to it
// safely against crashes, full disks and another copy of the game doing the same.
#pragma once

#include <string>

#include "atomic_write.h"
#include "score_table.h"
#include "xdg.h"

namespace sinkaway {

inline constexpr const char* kTableName = "scores.json";

struct TableLoad {
    enum class Status {
        kOk,
        kMissing,   // no table yet: an empty one
        kBroken,    // unreadable or invalid: an empty one
        kUnusable,  // the data folder cannot hold a table
    };
    Status status = Status::kMissing;
    ScoreTable table;
    std::string problem;  // kBroken, kUnusable: why
    std::string movedTo;  // kBroken: where the table was moved aside, if it was
};

struct AddResult {
    bool ok = false;
    int rank = 0;            // the game's place, 1 for the best; 0: it did not make the table
    ScoreEntry entry;        // with its replay path filled in
    ScoreTable table;        // the table as it now stands
    std::string error;       // !ok: why nothing was kept
    std::string movedAside;  // a broken table met on the way: where it went and why
};

class ScoreStore {
  public:
    explicit ScoreStore(StoreFolder folder) : folder_(std::move(folder)) {}

    const std::string& folder() const { return folder_.path; }
    const StoreFolder& storeFolder() const { return folder_; }
    std::string TablePath() const { return folder_.path + "/" + kTableName; }

    // Reads the table and changes nothing.
    TableLoad Read() const;
    // Reads the table; a broken one is moved aside, so that the next game starts a fresh table.
    TableLoad ReadAndRepair();
    // Adds a finished game (its `replay` is chosen here): under the lock, reads the table, and if
    // the game makes it, writes its replay and then the table.
    AddResult Add(const ScoreEntry& game, const std::string& replayScript);

    // Tests: called between writing the table's temporary file and renaming it.
    void SetBeforeRename(BeforeRename hook) { beforeRename_ = std::move(hook); }

  private:
    bool MoveAside(TableLoad& load, std::string& error);
    std::string ReplayNameFor(const ScoreEntry& game) const;

    StoreFolder folder_;
    BeforeRename beforeRename_;
};

// The version written beside each game.
const char* GameVersion();
// "20261208T030000Z" for "2026-12-08T03:00:00Z".
std::string CompactTime(const std::string& played);
// The current UTC time as "2026-12-08T03:00:00Z".
std::string UtcNow();

}  // namespace sinkaway
