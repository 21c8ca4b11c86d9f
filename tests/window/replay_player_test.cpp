// Watching a replay: it starts where the script's last game starts, runs at the speed asked, holds
// still while paused, and ends on the very score the headless driver gives the same script.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "replay_player.h"
#include "script.h"

namespace sinkaway {
namespace {

// Two idle games: the ball rides the bar into the ceiling, then a new game, with the steering of
// the second one sent in between.
constexpr const char* kTwoGames =
    "# two games\nseed 5\nclick imgNewGame\nadvance 20000\nclick imgNewGame\nadvance 700\n"
    "keydown 39\nadvance 900\nkeyup 39\nadvance 20000\n";

TEST(ReplayPlayer, StartsAtTheLastGameAndEndsOnItsScoreAtAnySpeed) {
    char path[] = "/tmp/sinkaway-replay-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, kTwoGames, std::strlen(kTwoGames)),
              static_cast<ssize_t>(std::strlen(kTwoGames)));
    ::close(fd);
    ReplayScript script;
    std::string error;
    ASSERT_EQ(ReadReplay(path, script, error), 0) << error;
    ::unlink(path);
    const double expected = script.score;

    struct Row {
        int faster;         // times Faster() is pressed
        bool pauseHalfway;  // a pause that lasts 5 s of real time
        Micros frame;       // real time per step
        const char* tag;
    };
    for (const Row& row :
         {Row{0, false, 16'000, "Replay 1\u00d7"}, Row{5, true, 16'667, "Replay 8\u00d7"},
          Row{1, false, 7'000, "Replay 2\u00d7"}}) {
        NullMusicPlayer music;
        ReplayPlayer player(script, music);
        const Game& game = player.session().game;
        // The first game is already over: the watched one starts from its game-over screen.
        EXPECT_TRUE(game.form.lblGameOver.visible);
        EXPECT_GT(game.state.dblScore, 0);
        for (int i = 0; i < row.faster; ++i) player.Faster();
        EXPECT_EQ(player.Tag(), row.tag);
        Micros real = 0;
        bool paused = false;
        while (!player.ended() && real < 60'000'000) {
            if (row.pauseHalfway && !paused && game.state.dblScore >= 3) {
                player.TogglePause();
                const double held = game.state.dblScore;
                EXPECT_EQ(player.WaitMillis(), -1);
                player.Run(5'000'000);
                EXPECT_EQ(game.state.dblScore, held);
                player.TogglePause();
                paused = true;
            }
            EXPECT_GE(player.WaitMillis(), 0);
            player.Run(row.frame);
            real += row.frame;
        }
        EXPECT_TRUE(player.ended()) << row.tag;
        EXPECT_EQ(game.state.dblScore, expected) << row.tag;
        // Real time taken: the watched game's 21.6 s of game time over the speed, give or take.
        const double seconds = real / 1e6;
        const int speed = 1 << std::min(row.faster, 3);
        EXPECT_NEAR(seconds, 21.6 / speed, 0.1) << row.tag;
        EXPECT_EQ(player.Tag(), "Replay ended");
    }
}

// A window left open for days before its best game: the days cost the reader little, and the
// player starts at that game at once.
TEST(ReplayPlayer, PlaysTheGameAfterDaysLeftOpen) {
    char path[] = "/tmp/sinkaway-replay-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string days =
        "seed 5\nadvance 172800000\nclick imgNewGame\nadvance 20000\n"
        "advance 86400000\nclick imgNewGame\nadvance 20000\n";
    ASSERT_EQ(::write(fd, days.data(), days.size()), static_cast<ssize_t>(days.size()));
    ::close(fd);
    ReplayScript script;
    std::string error;
    ASSERT_EQ(ReadReplay(path, script, error), 0) << error;
    ::unlink(path);
    NullMusicPlayer music;
    ReplayPlayer player(script, music);
    EXPECT_EQ(player.session().now(), (172'800'000 + 20'000 + 86'400'000) * Micros{1000});
    while (!player.ended()) player.Run(1'000'000);
    EXPECT_EQ(player.session().game.state.dblScore, script.score);
}

TEST(ReplayPlayer, SpeedStaysWithinOneToEight) {
    NullMusicPlayer music;
    ReplayPlayer player(ReplayScript{}, music);
    const std::pair<char, int> presses[] = {{'-', 1}, {'+', 2}, {'+', 4}, {'+', 8},
                                            {'+', 8}, {'-', 4}, {'-', 2}, {'-', 1}};
    for (const auto& [key, speed] : presses) {
        key == '+' ? player.Faster() : player.Slower();
        EXPECT_EQ(player.speed(), speed);
    }
}

}  // namespace
}  // namespace sinkaway
