// The window's own options: what they set, and that headless runs refuse them rather than
// silently doing without (a recording asked for and never written would be lost).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"

namespace sinkaway {
namespace {

int Parse(std::vector<std::string> args, Options& o) {
    args.insert(args.begin(), "sinkaway");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), o);
}

TEST(WindowOptions, RecordAndFullscreenInTheWindow) {
    Options o;
    ASSERT_EQ(Parse({"--record", "game.txt", "--fullscreen", "--seed", "7"}, o), -1);
    EXPECT_EQ(o.record, "game.txt");
    EXPECT_TRUE(o.fullscreen);
    Options plain;
    ASSERT_EQ(Parse({}, plain), -1);
    EXPECT_TRUE(plain.record.empty());
    EXPECT_FALSE(plain.fullscreen);
}

TEST(WindowOptions, HeadlessRefusesThem) {
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"--record", "out.txt"}, {"--fullscreen"}}) {
        std::vector<std::string> args = {"--headless", "--script", "-"};
        args.insert(args.end(), extra.begin(), extra.end());
        Options o;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Parse(args, o), 2) << extra[0];
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("only in a window"),
                  std::string::npos);
    }
}

TEST(LookOnlyOptions, GoAloneAndNoSaveIsTheWindows) {
    struct Row {
        std::vector<std::string> args;
        int status;
    };
    for (const Row& row : {
             Row{{"--scores"}, -1},
             Row{{"--verify", "game.txt"}, -1},
             Row{{"--no-save", "--seed", "3"}, -1},
             Row{{"--scores", "--seed", "3"}, 2},
             Row{{"--verify", "game.txt", "--scores"}, 2},
             Row{{"--verify", "game.txt", "--headless", "--script", "-"}, 2},
             Row{{"--no-save", "--headless", "--script", "-"}, 2},
             Row{{"--replay", "game.txt", "--scale", "2"}, -1},
             // A leaderboard only for a player's own runs: measuring runs stay offline.
             Row{{"--server", "https://boards.example.org"}, -1},
             Row{{"--server", "ftp://boards.example.org"}, 2},
             Row{{"--server", "http://a", "--autoplay"}, 2},
             Row{{"--server", "http://a", "--seconds", "3"}, 2},
             Row{{"--server", "http://a", "--no-save"}, 2},
             Row{{"--replay", "game.txt", "--seed", "2"}, 2},
             Row{{"--replay", "game.txt", "--headless", "--script", "-"}, 2},
         }) {
        Options o;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Parse(row.args, o), row.status) << row.args[0] << " " << row.args.size();
        ::testing::internal::GetCapturedStderr();
    }
}

}  // namespace
}  // namespace sinkaway
