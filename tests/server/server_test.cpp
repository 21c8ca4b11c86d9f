// The leaderboard server, whole: the real program against a real PostgreSQL, driven over HTTP.
#include <algorithm>
#include <fstream>
#include <future>

#include "bot.h"
#include "script.h"
#include "server_rig.h"

namespace sinkaway::testing {
namespace {

const std::string kKey(40, 'k');

// A server on a database of its own, with a key the test knows, so that it can make tokens of
// any age.
class ServerTest : public ::testing::Test {
  protected:
    std::vector<std::string> Flags(std::vector<std::string> flags) {
        std::ofstream(dir_ / "key") << kKey;
        std::vector<std::string> all = {"--database",     db_.conninfo(),
                                        "--key-file",     (dir_ / "key").string(),
                                        "--poll-seconds", "0.2"};
        // The tests poll as fast as they like, but the one on the limits.
        if (std::find(flags.begin(), flags.end(), "--rate-address") == flags.end())
            all.push_back("--no-rate-limits");
        all.insert(all.end(), flags.begin(), flags.end());
        return all;
    }
    void StartServer(std::vector<std::string> flags = {}) { server_.Start(Flags(flags)); }
    // Waits until a worker has claimed the submission.
    void WaitForClaim(int64_t id) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (db_.Query("SELECT attempts FROM submissions WHERE id = " + std::to_string(id)) ==
                   "0" &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    int port() const { return server_.port(); }
    std::string Token(uint64_t seed, int64_t age = 0, bool daily = false) const {
        return server::MintToken(kKey,
                                 {.seed = seed, .issued = ::time(nullptr) - age, .daily = daily});
    }
    // Submits and returns the id; fails the test on any answer but 202.
    int64_t Submit(const std::string& body) {
        const Reply r = Call(port(), "POST", "/api/v1/scores", body);
        EXPECT_EQ(r.status, 202) << r.text;
        return r.status == 202 ? r.body["id"].get<int64_t>() : -1;
    }

    TempDir dir_;
    TestDatabase db_;
    ServerProcess server_;
};

// A game left alone from its first moment to its game-over screen, after `titleMs` on the title
// screen, played here on the rules themselves.
std::string IdleGame(uint64_t seed, uint64_t titleMs = 0) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(seed);
    std::string text = "seed " + std::to_string(seed) + "\n";
    if (titleMs > 0) {
        PlayEvent(session, {.verb = Verb::kAdvance, .number = titleMs});
        text += "advance " + std::to_string(titleMs) + "\n";
    }
    PlayEvent(session, {.verb = Verb::kClick, .target = ClickTarget::imgNewGame});
    text += "click imgNewGame\n";
    for (int i = 0; i < 600 && InPlay(session.game.form); ++i) {
        PlayEvent(session, {.verb = Verb::kAdvance, .number = 500});
        text += "advance 500\n";
    }
    return text + "advance 1000\n";
}

// A finished game, then days on its game-over screen: some 2.5 s to prove, the dearest a replay
// under the bound gets. Its token must be days old.
std::string Heavy(uint64_t seed) {
    return IdleGame(seed) + "advance 460000000\n";
}

uint64_t WorkOf(const std::string& replay) {
    TempDir dir;
    std::ofstream(dir / "r.txt", std::ios::binary) << replay;
    ReplayScript script;
    std::string error;
    ReadReplay((dir / "r.txt").string(), script, error, false);
    return script.work;
}

// A finished game whose replay makes the rules do exactly the bound's work, plus `over`: most of
// it days on the title screen, the cheapest work there is, topped up with key releases on the
// game-over screen, one unit each.
std::string AtTheBound(uint64_t seed, uint64_t over) {
    const uint64_t perHour = WorkOf("seed 1\nadvance 3600000\n");
    uint64_t titleMs = (kMaxReplayWork - 20'000) / perHour * 3'600'000;
    std::string game = IdleGame(seed, titleMs);
    uint64_t work = WorkOf(game);
    while (work > kMaxReplayWork - 1000) {
        titleMs -= (work - kMaxReplayWork + 5000) * 3'600'000 / perHour;
        game = IdleGame(seed, titleMs);
        work = WorkOf(game);
    }
    for (uint64_t i = work; i < kMaxReplayWork + over; ++i) game += "keyup 0\n";
    EXPECT_EQ(WorkOf(game), over == 0 ? kMaxReplayWork : kMaxReplayWork + 1);
    return game;
}

// Whatever a stranger may send: each gets its answer at once, or is stored and then refused (or
// accepted) by the server's own replay of it, with the reason in words.
TEST_F(ServerTest, HostileSubmissionsGetTheirStatusAndReason) {
    StartServer({"--workers", "2"});
    const Reply session = Call(port(), "POST", "/api/v1/sessions", R"({"daily": false})");
    ASSERT_EQ(session.status, 200) << session.text;
    const std::string token = session.body["token"];
    uint64_t seed = 0;
    ASSERT_TRUE(ParseDecimal(session.body["seed"].get<std::string>(), UINT64_MAX, seed));
    // Six days old: time enough for the days a replay at the work bound claims.
    const std::string old = Token(seed, 6 * 86400);

    struct Case {
        const char* name;
        std::string body;
        int http;
        std::string status;  // after verification, for a 202
        std::string says;    // in the reason
        int line = 0;        // the reader's line, if it refused the replay
    };
    json noReplay = json::parse(Submission(token, IdleGame(seed)));
    noReplay.erase("replay");
    json longSecret = json::parse(Submission(token, IdleGame(seed)));
    longSecret["player"]["secret"] = std::string(65, 's');
    const std::vector<Case> cases = {
        {"malformed JSON", "{\"token\": ", 400, "", "not a JSON object"},
        {"a missing field", noReplay.dump(), 400, "", "replay must be a string"},
        {"an oversized field", longSecret.dump(), 400, "", "16 to 64"},
        {"a name with control characters", Submission(token, IdleGame(seed), "Ada\x07"), 400, "",
         "printable ASCII"},
        {"a replay over 32 MiB", Submission(token, std::string(kMaxReplayBytes + 1, '#')), 413, "",
         "32 MiB"},
        {"an expired token", Submission(Token(seed, 8 * 86400), IdleGame(seed)), 403, "",
         "expired"},
        {"a foreign token",
         Submission(server::MintToken(std::string(40, 'x'), {seed, 0, false}), IdleGame(seed)), 403,
         "", "did not give"},
        {"an empty file", Submission(token, ""), 202, "refused", "not a replay", 1},
        {"binary bytes", Submission(token, std::string("seed 1\n\x7f\x45LF\x01\x00", 13)), 202,
         "refused", "NUL byte", 2},
        {"a seedless replay", Submission(token, "# mine\nclick imgNewGame\n"), 202, "refused",
         "starts with its seed line", 2},
        {"one unit over the work bound", Submission(old, AtTheBound(seed, 1)), 202, "refused",
         "over the work bound"},
        {"exactly at the work bound", Submission(old, AtTheBound(seed, 0)), 202, "verified", ""},
        {"another token's seed", Submission(token, IdleGame(seed + 1)), 202, "refused",
         "not the seed its session was given", 1},
        {"an unfinished game",
         Submission(token, "seed " + std::to_string(seed) + "\nclick imgNewGame\nadvance 900\n"),
         202, "refused", "does not end on a finished game"},
        {"more game time than real time", Submission(token, IdleGame(seed, 120'000)), 202,
         "refused", "of real time since its session began"},
    };
    std::vector<std::pair<const Case*, int64_t>> stored;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Reply r = Call(port(), "POST", "/api/v1/scores", c.body);
        EXPECT_EQ(r.status, c.http) << r.text;
        if (c.http != 202) {
            EXPECT_EQ(r.body["error"].is_string(), true) << r.text;
            EXPECT_NE(r.body.value("reason", "").find(c.says), std::string::npos) << r.text;
        } else if (r.status == 202) {
            stored.emplace_back(&c, r.body["id"].get<int64_t>());
        }
    }
    for (const auto& [c, id] : stored) {
        SCOPED_TRACE(c->name);
        const json v = Settled(port(), id);
        EXPECT_EQ(v["status"], c->status) << v;
        EXPECT_NE(v.value("reason", "").find(c->says), std::string::npos) << v;
        if (c->line > 0) {
            EXPECT_EQ(v.value("line", 0), c->line) << v;
        }
    }
}

// The same replay posted twice at once is one game.
TEST_F(ServerTest, TheSameReplayTwiceAtOnceIsOneRow) {
    StartServer({"--workers", "0"});
    const std::string body = Submission(Token(5), IdleGame(5));
    auto post = [&] { return Call(port(), "POST", "/api/v1/scores", body); };
    for (int round = 0; round < 5; ++round) {
        auto a = std::async(std::launch::async, post), b = std::async(std::launch::async, post);
        const Reply ra = a.get(), rb = b.get();
        ASSERT_EQ(ra.status, 202) << ra.text;
        ASSERT_EQ(rb.status, 202) << rb.text;
        EXPECT_EQ(ra.body["id"], rb.body["id"]);
    }
    EXPECT_EQ(db_.Query("SELECT count(*) FROM submissions"), "1");
}

// The whole path: a session, a bot's game with its seed, the server's verdict and ranks, and the
// replay fetched back and proven by the game itself to the same score.
TEST_F(ServerTest, ABotGameIsVerifiedRankedAndItsReplayProvesTheScore) {
    StartServer({"--workers", "1"});
    const Reply session = Call(port(), "POST", "/api/v1/sessions", R"({"daily": true})");
    ASSERT_EQ(session.status, 200) << session.text;
    EXPECT_EQ(session.body["seed"], Call(port(), "GET", "/api/v1/today").body["seed"]);
    uint64_t seed = 0;
    ASSERT_TRUE(ParseDecimal(session.body["seed"].get<std::string>(), UINT64_MAX, seed));
    const auto began = std::chrono::steady_clock::now();

    SeededGenerator random;
    NullMusicPlayer music;
    Session game(random, music);
    game.Load(seed);
    ScriptWriter script;
    script.Start(seed, "a bot's game");
    BotStyle careless;
    careless.lapseChance = 0.2;
    Bot bot(game, seed, careless, nullptr, &script);
    // Forty seconds at most; a game still going then is left alone until it ends.
    bot.PlayUntil(40'000'000, 1);
    for (int i = 0; i < 600 && !game.game.form.lblGameOver.visible; ++i) {
        PlayEvent(game, {.verb = Verb::kAdvance, .number = 500});
        script.AdvanceTo(game.now());
    }
    ASSERT_TRUE(game.game.form.lblGameOver.visible);
    const double score = game.game.state.dblScore;
    // The game may not claim more time than has passed since the session began, beyond the slack.
    std::this_thread::sleep_until(began + std::chrono::microseconds(game.now()) -
                                  std::chrono::seconds(25));

    const int64_t id = Submit(Submission(session.body["token"], script.text(), "  Bot  ", 7));
    const json v = Settled(port(), id);
    ASSERT_EQ(v["status"], "verified") << v;
    EXPECT_EQ(v["score"], score);
    EXPECT_EQ(v["name"], "Bot");
    EXPECT_EQ(v["rank"]["all"], 1);
    EXPECT_EQ(v["rank"]["today"], 1);
    for (const char* board : {"all", "today"}) {
        const Reply rows =
            Call(port(), "GET",
                 std::string("/api/v1/boards/") + board + "?limit=5&around=" + std::to_string(id));
        ASSERT_EQ(rows.status, 200) << rows.text;
        ASSERT_EQ(rows.body["rows"].size(), 1u) << rows.text;
        EXPECT_EQ(rows.body["rows"][0]["id"], id);
        EXPECT_EQ(rows.body["rows"][0]["rank"], 1);
    }
    // The same text again is the same game, whoever sends it.
    EXPECT_EQ(Submit(Submission(session.body["token"], script.text(), "Other", 8)), id);

    const Reply replay = Call(port(), "GET", "/api/v1/scores/" + std::to_string(id) + "/replay");
    ASSERT_EQ(replay.status, 200);
    EXPECT_EQ(replay.text, script.text());
    std::ofstream(dir_ / "fetched.txt", std::ios::binary) << replay.text;
    const std::string cmd = std::string(SINKAWAY_BINARY) + " --verify '" +
                            (dir_ / "fetched.txt").string() + "' > '" + (dir_ / "out").string() +
                            "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    char expected[64];
    std::snprintf(expected, sizeof expected, "score %.0f\n", score);
    EXPECT_EQ(ReadFile(dir_ / "out"), expected);

    // A player's id stays with its first secret.
    json thief = json::parse(Submission(session.body["token"], IdleGame(seed), "Thief", 7));
    thief["player"]["secret"] = "another secret, not theirs";
    EXPECT_EQ(Call(port(), "POST", "/api/v1/scores", thief.dump()).status, 403);
    EXPECT_EQ(Call(port(), "GET", "/api/v1/scores/999").status, 404);
    EXPECT_EQ(Call(port(), "GET", "/health").body["status"], "ok");

    // The operator hides it: off the boards and out of reach, but kept.
    const std::string hide = std::string(SINKAWAY_SERVER) + " hide " + std::to_string(id) +
                             " --database '" + db_.conninfo() + "' > /dev/null";
    ASSERT_EQ(std::system(hide.c_str()), 0);
    EXPECT_EQ(Call(port(), "GET", "/api/v1/scores/" + std::to_string(id)).status, 404);
    EXPECT_EQ(Call(port(), "GET", "/api/v1/boards/all?around=" + std::to_string(id)).status, 404);
    EXPECT_EQ(db_.Query("SELECT count(*) FROM submissions WHERE hidden"), "1");
}

// A worker killed in the middle of a job: once its lease runs out another claims the job, which
// is verified once.
TEST_F(ServerTest, AJobWhoseWorkerDiedIsClaimedAgainAndFinishedOnce) {
    StartServer({"--workers", "0"});
    ServerProcess first, second;
    first.Start(Flags({"--listen", "none", "--workers", "1", "--lease-seconds", "2"}));
    const int64_t id = Submit(Submission(Token(11, 6 * 86400), Heavy(11)));
    WaitForClaim(id);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    first.Kill(SIGKILL);
    EXPECT_EQ(Call(port(), "GET", "/api/v1/scores/" + std::to_string(id)).body["status"],
              "pending");
    second.Start(Flags({"--listen", "none", "--workers", "2"}));
    EXPECT_EQ(Settled(port(), id)["status"], "verified");
    EXPECT_EQ(db_.Query("SELECT attempts FROM submissions WHERE id = " + std::to_string(id)), "2");
}

// The server killed outright keeps every game it accepted, and verifies them once it is back.
TEST_F(ServerTest, EveryAcceptedGameOutlivesAKilledServer) {
    StartServer({"--workers", "1", "--lease-seconds", "2"});
    std::vector<int64_t> ids;
    for (uint64_t seed = 20; seed < 26; ++seed)
        ids.push_back(Submit(Submission(Token(seed), IdleGame(seed), "Ada", 1)));
    server_.Kill(SIGKILL);
    StartServer({"--workers", "2"});
    for (int64_t id : ids) EXPECT_EQ(Settled(port(), id)["status"], "verified") << id;
}

// A check past its deadline is stopped and refuses its game, while the server answers on.
TEST_F(ServerTest, ACheckPastItsDeadlineIsStoppedWhileReadsGoOn) {
    StartServer({"--workers", "1", "--check-deadline", "1.2"});
    const int64_t id = Submit(Submission(Token(12, 6 * 86400), Heavy(12)));
    WaitForClaim(id);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(800);
    while (std::chrono::steady_clock::now() < until) {
        for (const char* path : {"/health", "/api/v1/boards/all?limit=10"}) {
            const auto asked = std::chrono::steady_clock::now();
            EXPECT_EQ(Call(port(), "GET", path).status, 200) << path;
            EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(1000));
        }
    }
    const json v = Settled(port(), id);
    EXPECT_EQ(v["status"], "refused");
    EXPECT_NE(v.value("reason", "").find("deadline of 1.2 s"), std::string::npos) << v;
}

// A check over its CPU seconds is stopped by the kernel and refuses its game.
TEST_F(ServerTest, ACheckOverItsCpuSecondsIsStopped) {
    StartServer({"--workers", "1", "--check-cpu-seconds", "1"});
    const json v = Settled(port(), Submit(Submission(Token(13, 6 * 86400), Heavy(13))));
    EXPECT_EQ(v["status"], "refused");
    EXPECT_NE(v.value("reason", "").find("more than its 1 CPU seconds"), std::string::npos) << v;
}

// Each limit answers in JSON with its status, and with Retry-After where waiting helps.
TEST_F(ServerTest, LimitsRefuseClearly) {
    StartServer({"--workers", "0", "--queue-limit", "2", "--rate-address", "8", "--rate-player",
                 "2", "--max-request-mib", "1"});
    const Reply big = Call(port(), "POST", "/api/v1/scores", std::string(2 << 20, ' '));
    EXPECT_EQ(big.status, 413);
    EXPECT_EQ(big.body["error"], "too_large");
    const std::string first = Submission(Token(30), IdleGame(30), "Ada", 1);
    const int64_t id = Submit(first);
    Submit(Submission(Token(31), IdleGame(31), "Ada", 1));
    const Reply full =
        Call(port(), "POST", "/api/v1/scores", Submission(Token(32), IdleGame(32), "Bea", 2));
    EXPECT_EQ(full.status, 503) << full.text;
    EXPECT_FALSE(full.retryAfter.empty());
    const Reply eager =
        Call(port(), "POST", "/api/v1/scores", Submission(Token(33), IdleGame(33), "Ada", 1));
    EXPECT_EQ(eager.status, 429) << eager.text;
    EXPECT_NE(eager.body.value("reason", "").find("player"), std::string::npos);
    // Eight requests a minute from this address: the ninth waits.
    EXPECT_EQ(Call(port(), "POST", "/api/v1/scores", first).status, 429);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Call(port(), "GET", "/api/v1/today").status, 200);
    const Reply flood = Call(port(), "GET", "/api/v1/today");
    EXPECT_EQ(flood.status, 429);
    EXPECT_FALSE(flood.retryAfter.empty());
    EXPECT_EQ(Call(port(), "GET", "/health").status, 200);
    EXPECT_EQ(db_.Query("SELECT count(*) FROM submissions"), "2");
    (void)id;
}

}  // namespace
}  // namespace sinkaway::testing
