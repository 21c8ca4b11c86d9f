// One line a game: rank, score, date, proof and where its replay lies.
#include "listing.h"

#include <sys/stat.h>

#include "files.h"
#include "script.h"

namespace sinkaway {

bool ReplayProvesScore(const std::string& folder, const ScoreEntry& game) {
    if (!IsSafeReplayPath(game.replay) || !IsRealFolder(folder + "/" + kReplayFolder))
        return false;
    const std::string path = folder + "/" + game.replay;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    ReplayScript replay;
    std::string error;
    if (ReadReplay(path, replay, error, false) != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return replay.score == static_cast<double>(game.score);
}

int PrintScores(const ScoreStore& store, std::FILE* out) {
    const TableLoad load = store.Read();
    switch (load.status) {
        case TableLoad::Status::kUnusable:
            std::fprintf(stderr, "sinkaway: no best games: %s\n", load.problem.c_str());
            return 1;
        case TableLoad::Status::kBroken:
            std::fprintf(stderr,
                         "sinkaway: %s is broken (%s); the game moves it aside when it next "
                         "opens its window\n",
                         store.TablePath().c_str(), load.problem.c_str());
            return 1;
        case TableLoad::Status::kMissing:
            std::fprintf(out, "No best games yet; they will be kept in %s\n",
                         store.TablePath().c_str());
            return 0;
        case TableLoad::Status::kOk:
            break;
    }
    std::fprintf(out, "Best games in %s\n", store.TablePath().c_str());
    std::fprintf(out, "%4s %8s  %-20s  %-10s  %s\n", "rank", "score", "played", "proof", "replay");
    int rank = 0;
    for (const ScoreEntry& game : load.table) {
        const bool proved = ReplayProvesScore(store.folder(), game);
        std::fprintf(out, "%4d %8lld  %-20s  %-10s  %s/%s\n", ++rank,
                     static_cast<long long>(game.score), game.played.c_str(),
                     proved ? "verified" : "unverified", store.folder().c_str(),
                     game.replay.c_str());
    }
    if (load.table.empty())
        std::fprintf(out, "(no games)\n");
    return 0;
}

}  // namespace sinkaway
