// Reading and adding games. Every step that touches the table happens under the lock; the replay
// is written before the table, so a table never names a replay that was not there.
#include "score_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "files.h"
#include "table_lock.h"

namespace sinkaway {

namespace {

constexpr const char* kLockName = "scores.lock";

}  // namespace

const char* GameVersion() {
    return SINKAWAY_VERSION;
}

std::string CompactTime(const std::string& played) {
    std::string out;
    for (char c : played) {
        if (c != '-' && c != ':')
            out += c;
    }
    return out;
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

TableLoad ScoreStore::Read() const {
    TableLoad load;
    if (folder_.path.empty()) {
        load.status = TableLoad::Status::kUnusable;
        load.problem = folder_.problem;
        return load;
    }
    struct stat st;
    const bool there = ::stat(folder_.path.c_str(), &st) == 0;
    if ((there && !S_ISDIR(st.st_mode)) || (!there && errno == ENOTDIR)) {
        load.status = TableLoad::Status::kUnusable;
        load.problem = folder_.path + " is not a folder";
        return load;
    }
    if (!there && errno != ENOENT) {
        load.status = TableLoad::Status::kUnusable;
        load.problem = folder_.path + ": " + ErrnoText();
        return load;
    }
    const FileRead file = ReadSmallFile(TablePath(), kMaxTableBytes);
    switch (file.status) {
        case FileRead::Status::kMissing:
            load.status = TableLoad::Status::kMissing;
            return load;
        case FileRead::Status::kOk:
            if (ParseScoreTable(std::string_view(reinterpret_cast<const char*>(file.bytes.data()),
                                                 file.bytes.size()),
                                load.table, load.problem)) {
                load.status = TableLoad::Status::kOk;
                return load;
            }
            break;
        default:
            load.problem = file.problem;
            break;
    }
    load.status = TableLoad::Status::kBroken;
    return load;
}

bool ScoreStore::MoveAside(TableLoad& load, std::string& error) {
    const std::string base = TablePath() + ".broken-" + CompactTime(UtcNow());
    std::string aside = base;
    for (int n = 2; Exists(aside); ++n) aside = base + "-" + std::to_string(n);
    if (::rename(TablePath().c_str(), aside.c_str()) != 0) {
        error = "cannot move the broken " + TablePath() + " aside: " + ErrnoText();
        return false;
    }
    std::string ignored;
    SyncFolder(folder_.path, ignored);
    load.movedTo = aside;
    return true;
}

TableLoad ScoreStore::ReadAndRepair() {
    TableLoad load = Read();
    if (load.status != TableLoad::Status::kBroken)
        return load;
    // Again under the lock: another copy may have repaired it meanwhile.
    TableLock lock;
    std::string error;
    if (!lock.Take(folder_.path + "/" + kLockName, error)) {
        load.problem += "; " + error;
        return load;
    }
    load = Read();
    if (load.status == TableLoad::Status::kBroken && !MoveAside(load, error))
        load.problem += "; " + error;
    return load;
}

std::string ScoreStore::ReplayNameFor(const ScoreEntry& game) const {
    const std::string base = std::string(kReplayFolder) + "/" + CompactTime(game.played) + "-" +
                             std::to_string(game.score);
    std::string name = base + ".txt";
    for (int n = 2; Exists(folder_.path + "/" + name); ++n)
        name = base + "-" + std::to_string(n) + ".txt";
    return name;
}

AddResult ScoreStore::Add(const ScoreEntry& game, const std::string& replayScript) {
    AddResult r;
    const StoreFolder replays{folder_.path + "/" + kReplayFolder, folder_.mustExist,
                              folder_.problem};
    if (!MakeFolder(folder_, r.error) || !MakeFolder(replays, r.error))
        return r;
    if (!IsRealFolder(replays.path)) {
        r.error = replays.path + " is a link, not a folder";
        return r;
    }
    TableLock lock;
    if (!lock.Take(folder_.path + "/" + kLockName, r.error))
        return r;

    TableLoad load = Read();
    if (load.status == TableLoad::Status::kUnusable) {
        r.error = load.problem;
        return r;
    }
    if (load.status == TableLoad::Status::kBroken) {
        if (!MoveAside(load, r.error))
            return r;
        r.movedAside = load.movedTo + " (" + load.problem + ")";
    }

    r.entry = game;
    r.entry.replay = ReplayNameFor(game);
    r.table = load.table;
    ScoreTable dropped;
    r.rank = InsertGame(r.table, r.entry, dropped);
    if (r.rank == 0) {
        r.table = load.table;
        r.ok = true;
        return r;
    }
    const std::string name = r.entry.replay.substr(std::string(kReplayFolder).size() + 1);
    if (!WriteAtomically(replays.path, name, replayScript, r.error))
        return r;
    if (!WriteAtomically(folder_.path, kTableName, FormatScoreTable(r.table), r.error,
                         beforeRename_)) {
        ::unlink((folder_.path + "/" + r.entry.replay).c_str());
        r.table = load.table;
        r.rank = 0;
        return r;
    }
    // The replays of games pushed out are no one's any more.
    for (const ScoreEntry& gone : dropped) {
        const bool shared = std::any_of(r.table.begin(), r.table.end(), [&](const ScoreEntry& e) {
            return e.replay == gone.replay;
        });
        if (!shared)
            ::unlink((folder_.path + "/" + gone.replay).c_str());
    }
    r.ok = true;
    return r;
}

}  // namespace sinkaway
