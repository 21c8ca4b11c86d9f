// Arbitrary bytes as a scores table: the reader either refuses them or gives a table that keeps
// every promise (at most ten games, best first, replays inside their folder) and that reads back
// the same after being written.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "score_table.h"

namespace {

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::fflush(stderr);
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sinkaway;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ScoreTable table;
    std::string problem;
    if (!ParseScoreTable(text, table, problem)) {
        Require(table.empty() && !problem.empty(), "a refused table without a reason");
        return 0;
    }
    Require(table.size() <= kMaxGames, "more than ten games");
    for (size_t i = 0; i < table.size(); ++i) {
        Require(table[i].score >= 0, "a negative score");
        Require(IsSafeReplayPath(table[i].replay), "a replay outside its folder");
        if (i > 0)
            Require(table[i - 1].score >= table[i].score, "out of order");
    }
    ScoreTable again;
    Require(ParseScoreTable(FormatScoreTable(table), again, problem), "its own output refused");
    Require(again.size() == table.size(), "a game lost in writing");
    for (size_t i = 0; i < table.size(); ++i) {
        Require(again[i].score == table[i].score && again[i].replay == table[i].replay &&
                    again[i].played == table[i].played && again[i].seed == table[i].seed &&
                    again[i].seconds == table[i].seconds,
                "a game changed in writing");
    }
    ScoreTable dropped;
    ScoreEntry game;
    game.played = "2026-12-08T03:00:00Z";
    game.replay = "replays/x.txt";
    game.score = table.empty() ? 0 : table.front().score;
    const int rank = InsertGame(table, game, dropped);
    Require(rank >= 0 && rank <= static_cast<int>(kMaxGames) && table.size() <= kMaxGames,
            "a game inserted out of bounds");
    return 0;
}
