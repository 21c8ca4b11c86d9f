// The window's side of the world's boards, without a window: the best games with their worker on
// folders of the test's own, the real HTTP client and the real sinkaway-server over PostgreSQL. A
// game made while the server is down waits in the queue and is sent once it is back; a refusal
// reaches the panel with its reason; the World table lists the server's rows and plays their
// replays to the board's score.
#include <chrono>
#include <functional>
#include <thread>

#include "best_games.h"
#include "platform.h"
#include "run_binary.h"
#include "server_rig.h"
#include "vocabulary.h"

namespace sinkaway::testing {
namespace {

class WorldClientTest : public ::testing::Test {
  protected:
    WorldClientTest() : session_(random_, music_) {}
    ~WorldClientTest() override { best_.reset(); }

    void StartServer(int port = 0) {
        std::ofstream(dir_.path().string() + "/key") << std::string(40, 'k');
        server_.Start({"--database", db_.conninfo(), "--key-file", dir_.path().string() + "/key",
                       "--poll-seconds", "0.2", "--no-rate-limits", "--listen",
                       "127.0.0.1:" + std::to_string(port)});
    }
    // The player's best games, kept under the test's folder, sending to the server.
    void Connect(const std::string& name) {
        const StoreFolder data{dir_.path().string() + "/data", "", ""};
        const StoreFolder config{dir_.path().string() + "/config", "", ""};
        best_ = std::make_unique<BestGames>(music_);
        best_->StartKeeping(
            std::make_unique<BestGamesWorker>(data, config, true, BestGamesWorker::Hooks{}), 0);
        const std::string url = "http://127.0.0.1:" + std::to_string(server_.port());
        best_->ConnectWorld(std::make_unique<World>(
            platform::MakeHttpClient(), url, true,
            World::Hooks{.wake = nullptr,
                         .keep = [this](WorldGame game) { best_->KeepWorld(std::move(game)); }}));
        best_->NameChosen(name);
        ASSERT_TRUE(Pump([&] { return best_->world()->ranked().has_value(); }));
    }
    // Runs the worker's news and the world's answers, as the loop does, until `done` or 30 s.
    bool Pump(const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            best_->TakeNews(session_.game.form);
            best_->RunWorld();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }
    // A game from `seed`, left alone from its first moment to its game-over screen, kept as a
    // game of the session `ticket` gave.
    void Play(uint64_t seed, const WorldTicket& ticket) {
        session_.Restart(seed);
        best_->entries().Start(seed);
        best_->PlayTicket(ticket);
        ScriptWriter script;
        script.Start(seed, "a test's game");
        const ScriptEvent click{.verb = Verb::kClick, .target = ClickTarget::imgNewGame};
        script.Event(session_.now(), click);
        session_.Click(ClickTarget::imgNewGame);
        best_->SaveChanges(session_, script);
        while (!session_.game.form.lblGameOver.visible) {
            PlayEvent(session_, {.verb = Verb::kAdvance, .number = 100});
            script.AdvanceTo(session_.now());
            best_->SaveChanges(session_, script);
        }
    }
    const BestGameRow* Mine() {
        const auto& rows = best_->panel().rows();
        return rows.empty() ? nullptr : &rows[0];
    }
    std::string Status() {
        const BestGameRow* row = Mine();
        return row ? row->world : "";
    }

    TempDir dir_;
    TestDatabase db_;
    ServerProcess server_;
    SeededGenerator random_;
    NullMusicPlayer music_;
    Session session_;
    std::unique_ptr<BestGames> best_;
};

TEST_F(WorldClientTest, AGameMadeWhileTheServerIsDownIsSentOnceItIsBack) {
    StartServer();
    const int port = server_.port();
    Connect("ADA");
    const WorldTicket ticket = *best_->world()->ranked();
    server_.Kill(SIGKILL);
    Play(ticket.seed, ticket);
    best_->Handle(BestGames::Command::kOpenPanel);
    ASSERT_TRUE(Pump([&] { return Status() == "queued"; }));
    // Tried and refused by the network for a while: still queued, on disk too.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(Pump([&] { return true; }));
    EXPECT_EQ(Status(), "queued");
    EXPECT_NE(ReadFile(dir_.path().string() + "/data/world.json").find("\"queued\""),
              std::string::npos);

    StartServer(port);
    ASSERT_TRUE(Pump([&] { return Status().rfind("world #", 0) == 0; })) << Status();
    EXPECT_EQ(Status(), "world #1");
    EXPECT_EQ(db_.Query("SELECT count(*) FROM submissions"), "1");
    EXPECT_EQ(db_.Query("SELECT name FROM submissions"), "ADA");

    // The World table lists the server's rows, and its replay plays to the board's score.
    best_->Handle(BestGames::Command::kNextTable);
    ASSERT_TRUE(Pump([&] { return best_->panel().loaded() && !best_->panel().rows().empty(); }));
    const Reply board = Call(port, "GET", "/api/v1/boards/all");
    ASSERT_EQ(board.body["rows"].size(), 1u) << board.text;
    const BestGameRow& row = best_->panel().rows()[0];
    EXPECT_EQ(row.name, "ADA");
    EXPECT_EQ(row.rank, 1);
    EXPECT_EQ(row.score, board.body["rows"][0]["score"].get<double>());
    best_->Handle(BestGames::Command::kWatch);
    ASSERT_TRUE(Pump([&] { return best_->mode() == BestGames::Mode::kReplay; }))
        << best_->panel().problem();
    ReplayPlayer& replay = *best_->replay();
    replay.Faster();
    for (int i = 0; i < 10000 && !replay.ended(); ++i) replay.Run(100'000);
    EXPECT_TRUE(replay.ended());
    EXPECT_EQ(replay.session().game.state.dblScore, row.score);
}

TEST_F(WorldClientTest, ARefusedGameShowsTheServersReason) {
    StartServer();
    Connect("BOB");
    // A game of another seed than its session's.
    WorldTicket ticket = *best_->world()->ranked();
    Play(ticket.seed + 1, ticket);
    best_->Handle(BestGames::Command::kOpenPanel);
    ASSERT_TRUE(Pump([&] { return Status() == "refused"; })) << Status();
    EXPECT_NE(Mine()->worldReason.find("is not the seed its session was given"), std::string::npos)
        << Mine()->worldReason;
}

TEST_F(WorldClientTest, AGameReachesItsWorldRankWithinSeconds) {
    StartServer();
    Connect("CY");
    const WorldTicket ticket = *best_->world()->ranked();
    Play(ticket.seed, ticket);
    const auto over = std::chrono::steady_clock::now();
    best_->Handle(BestGames::Command::kOpenPanel);
    ASSERT_TRUE(Pump([&] { return Status().rfind("world #", 0) == 0; })) << Status();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - over)
                        .count();
    std::printf("from the game-over screen to \"%s\": %lld ms; replay %s bytes\n", Status().c_str(),
                static_cast<long long>(ms),
                db_.Query("SELECT octet_length(replay) FROM submissions").c_str());
}

}  // namespace
}  // namespace sinkaway::testing
