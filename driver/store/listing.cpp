// One line a game: rank, score, date, proof and where its replay lies.
#include "listing.h"

#include <sys/stat.h>

#include <memory>
#include "files.h"

#include "headless.h"
#include "script.h"

namespace sinkaway {

namespace {

// A replay that claims more play than a game keeps is not run: a planted one could otherwise keep
// the listing, or a closing window waiting for its worker, busy for minutes.
bool WithinADay(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        return false;
    LineReader reader(file.get());
    std::string line, error;
    uint64_t total = 0;
    while (reader.Next(line) == LineReader::Result::kLine) {
        ScriptEvent event;
        bool isEvent = false;
        if (!ParseScriptLine(line, event, isEvent, error))
            return true;  // the driver reports it
        if (isEvent && event.verb == Verb::kAdvance && (total += event.number) > kMaxReplayMs)
            return false;
    }
    return true;
}

}  // namespace

bool ReplayProvesScore(const std::string& folder, const ScoreEntry& game) {
    if (!IsSafeReplayPath(game.replay) || !IsRealFolder(folder + "/" + kReplayFolder))
        return false;
    const std::string path = folder + "/" + game.replay;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    double score = -1;
    return WithinADay(path) && ReplayScore(path, score) == 0 &&
           score == static_cast<double>(game.score);
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
