// One line a game: rank, score, date, proof and where its replay lies.
#include "listing.h"

#include <sys/stat.h>

#include "files.h"
#include "script.h"

namespace sinkaway {

ScoreProof::ScoreProof(const std::string& folder, const ScoreEntry& game)
    : score_(static_cast<double>(game.score)) {
    if (!IsSafeReplayPath(game.replay) || !IsRealFolder(folder + "/" + kReplayFolder))
        return;
    const std::string path = folder + "/" + game.replay;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    reading_ = std::make_unique<ReplayReading>(path, false);
}

bool ScoreProof::Continue(uint64_t work) {
    if (!reading_)
        return true;
    if (!reading_->Continue(work))
        return false;
    if (reading_->status() != 0)
        std::fprintf(stderr, "%s\n", reading_->error().c_str());
    else
        proves_ = reading_->replay().score == score_;
    reading_.reset();
    return true;
}

bool ReplayProvesScore(const std::string& folder, const ScoreEntry& game) {
    ScoreProof proof(folder, game);
    while (!proof.Continue(UINT64_MAX)) {
    }
    return proof.proves();
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
