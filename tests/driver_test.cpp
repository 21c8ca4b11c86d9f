// The headless driver as outside tools see it: exit statuses, error lines, and the trace contract.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "run_binary.h"

namespace sinkaway::testing {
namespace {

using nlohmann::json;

struct BadScript {
    const char* name;
    std::string script;
    int line;           // the line the error names
    const char* words;  // part of the message
    size_t traceLines;  // lines written before the run stopped
};

void PrintTo(const BadScript& c, std::ostream* os) {
    *os << c.name;
}

class BadScriptTest : public ::testing::TestWithParam<BadScript> {};

TEST_P(BadScriptTest, StopsBeforeTheLineWithStatus2AndOneMessageLine) {
    const BadScript& c = GetParam();
    const RunResult r = RunScript(c.script);
    EXPECT_EQ(r.status, 2);
    const auto errLines = SplitLines(r.err);
    ASSERT_EQ(errLines.size(), 1u) << r.err;
    EXPECT_NE(errLines[0].find(":" + std::to_string(c.line) + ": "), std::string::npos) << r.err;
    EXPECT_EQ(errLines[0].find("script.txt:"), errLines[0].find("/script.txt:") + 1) << r.err;
    EXPECT_NE(errLines[0].find(c.words), std::string::npos) << r.err;
    const auto lines = r.traceLines();
    EXPECT_EQ(lines.size(), c.traceLines);
    for (const auto& line : lines) EXPECT_TRUE(json::accept(line)) << line;
    EXPECT_TRUE(r.trace.empty() || r.trace.back() == '\n');
}

const std::string kStart = "click imgNewGame\n";

INSTANTIATE_TEST_SUITE_P(
    Driver, BadScriptTest,
    ::testing::Values(
        BadScript{"UnknownVerb", kStart + "jump 3\n", 2, "unknown verb", 2},
        BadScript{"MissingWord", kStart + "keydown\n", 2, "needs", 2},
        BadScript{"ExtraWord", kStart + "keydown 37 now\n", 2, "extra word", 2},
        BadScript{"KeyTooBig", "keyup 65536\n", 1, "key code", 1},
        BadScript{"TrailingJunk", kStart + "advance 10ms\n", 2, "bad time", 2},
        BadScript{"NegativeNumber", "keydown -1\n", 1, "key code", 1},
        BadScript{"PlusSign", "advance +5\n", 1, "bad time", 1},
        BadScript{"AdvanceTooLong", "advance 10000000001\n", 1, "bad time", 1},
        BadScript{"UnknownControl", kStart + "click lblScore\n", 2, "unknown control", 2},
        BadScript{"UnknownTimer", "tick tmrFast\n", 1, "unknown timer", 1},
        BadScript{"LineTooLong", kStart + "#" + std::string(4096, 'x') + "\n", 2, "longer", 2},
        BadScript{"NulByte", kStart + std::string("tick tmr\0Main\n", 14), 2, "NUL", 2},
        BadScript{"SeedNotFirst", kStart + "seed 5\n", 2, "first event line", 2},
        BadScript{"SeedTooBig", "seed 18446744073709551616\n", 1, "bad seed", 1},
        BadScript{"AfterCommentsAndBlanks", "# a game\n\n   \nclick imgNewGame\nfly\n", 5,
                  "unknown verb", 2}),
    [](const auto& info) { return info.param.name; });

TEST(Driver, LinesOfExactly4096BytesAreAccepted) {
    const RunResult r = RunScript("#" + std::string(4095, 'x') + "\nclick imgNewGame\r\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.traceLines().size(), 2u);
}

TEST(Driver, MissingScriptOrUnwritableTraceExit1WithOneLine) {
    std::string err;
    EXPECT_EQ(RunCommand("--headless --script /nonexistent/script.txt", &err), 1);
    EXPECT_EQ(SplitLines(err).size(), 1u) << err;
    TempDir dir;
    std::ofstream(dir / "s.txt") << "click imgNewGame\n";
    EXPECT_EQ(RunCommand("--headless --script " + (dir / "s.txt").string() + " --trace " +
                             dir.path().string(),
                         &err),
              1);
    EXPECT_EQ(SplitLines(err).size(), 1u) << err;
}

TEST(Driver, CommandLineMistakesExit2AndHelpExits0) {
    EXPECT_EQ(RunCommand("--help"), 0);
    EXPECT_EQ(RunCommand("--version"), 0);
    EXPECT_EQ(RunCommand("--no-such-option"), 2);
    EXPECT_EQ(RunCommand("--headless"), 2);  // no script
    EXPECT_EQ(RunCommand("--headless --script x --seed minus"), 2);
}

const std::string kGame =
    "click imgNewGame\nadvance 700\nkeydown 39\nadvance 900\nkeyup 39\nkeydown 37\n"
    "advance 2500\nkeyup 37\nadvance 30000\nclick cmdNewGame\nadvance 3000\n";

TEST(Driver, SameSeedSameScriptGivesByteIdenticalTraces) {
    const RunResult a = RunScript(kGame, "--seed 99");
    const RunResult b = RunScript(kGame, "--seed 99");
    const RunResult c = RunScript(kGame, "--seed 100");
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(a.trace, b.trace);
    EXPECT_NE(a.trace, c.trace);
}

TEST(Driver, SeedLineSeedsLikeTheOptionAndTheOptionWins) {
    const RunResult option = RunScript(kGame, "--seed 5");
    const RunResult line = RunScript("# recorded\nseed 5\n" + kGame, "");
    const RunResult both = RunScript("seed 6\n" + kGame, "--seed 5");
    EXPECT_EQ(option.trace, line.trace);
    EXPECT_EQ(option.trace, both.trace);
}

TEST(Driver, SeedOptionIsPlainDecimalLikeTheScriptsSeed) {
    // Each of these once ran a game with some other seed than the one written.
    for (const char* bad :
         {"99999999999999999999999", "18446744073709551616", "-1", "0x10", "' 5'", "''"}) {
        std::string err;
        EXPECT_EQ(RunCommand(std::string("--headless --script /dev/null --seed ") + bad, &err), 2)
            << bad;
        EXPECT_EQ(SplitLines(err).size(), 1u) << err;
    }
    EXPECT_EQ(RunScript(kGame, "--seed 18446744073709551615").status, 0);
    EXPECT_EQ(RunScript(kGame, "--seed 010").trace, RunScript("seed 10\n" + kGame, "").trace);
}

TEST(Driver, EveryLineHoldsTheWholeStateAfterItsEvent) {
    const RunResult r = RunScript(kGame);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = r.traceLines();
    ASSERT_GT(lines.size(), 100u);

    const std::set<std::string> state = {
        "intBallDX",    "intFallStep",    "intSideSpeed", "intRiseStep", "blnGameOver",
        "intBallLeft0", "intBallTop0",    "intFloorTop0", "dblScore",    "blnOnFloor",
        "blnOverHole",  "blnThroughHole", "intPowerTicks"};
    const std::set<std::string> shapes = {"shpWallTop",    "shpWallLeft", "shpWallRight",
                                          "shpWallBottom", "shpBall",     "shpHole",
                                          "shpFloor",      "shpPower"};
    const std::set<std::string> labels = {"lblScore", "lblGameOverScore", "lblVantrel",
                                          "lblSinkaway", "lblGameOver"};
    const std::set<std::string> timers = {"tmrMain", "tmrBall", "tmrScore", "tmrPower",
                                          "tmrGameOver"};
    auto keys = [](const json& o) {
        std::set<std::string> k;
        for (auto it = o.begin(); it != o.end(); ++it) k.insert(it.key());
        return k;
    };
    std::set<std::string> events;
    double lastT = 0;
    for (const auto& line : lines) {
        const json j = json::parse(line);
        EXPECT_EQ(keys(j), (std::set<std::string>{"t", "event", "state", "form", "shapes", "labels",
                                                  "checks", "buttons", "timers", "sound"}));
        EXPECT_EQ(keys(j["state"]), state);
        EXPECT_EQ(keys(j["shapes"]), shapes);
        for (const auto& [name, s] : j["shapes"].items()) {
            EXPECT_EQ(keys(s), (std::set<std::string>{"left", "top", "width", "height", "visible",
                                                      "fillColor", "borderColor", "backColor"}));
        }
        EXPECT_EQ(keys(j["labels"]), labels);
        for (const auto& [name, l] : j["labels"].items()) {
            EXPECT_EQ(keys(l), (std::set<std::string>{"caption", "foreColor", "visible"}));
        }
        EXPECT_EQ(keys(j["checks"]["chkBGM"]), (std::set<std::string>{"value", "visible"}));
        EXPECT_EQ(keys(j["buttons"]), (std::set<std::string>{"imgNewGame", "cmdNewGame"}));
        EXPECT_EQ(keys(j["timers"]), timers);
        EXPECT_EQ(keys(j["form"]), std::set<std::string>{"backColor"});
        for (const char* flag : {"blnGameOver", "blnOnFloor", "blnOverHole", "blnThroughHole"}) {
            const int v = j["state"][flag];
            EXPECT_TRUE(v == 0 || v == -1) << flag;
        }
        const double t = j["t"];
        EXPECT_GE(t, lastT);
        lastT = t;
        events.insert(j["event"].get<std::string>());
    }
    EXPECT_EQ(json::parse(lines.front())["event"], "load");
    EXPECT_EQ(json::parse(lines.front())["t"], 0);
    for (const char* e : {"click imgNewGame", "keydown 39", "keyup 37", "tick tmrMain",
                          "tick tmrBall", "tick tmrScore", "tick tmrGameOver", "click cmdNewGame"})
        EXPECT_TRUE(events.count(e)) << e;
    EXPECT_EQ(json::parse(lines[1])["sound"]["plays"], 1);
}

TEST(Driver, TicksCarryTheirVirtualTimeAndComeInTheSchedulersOrder) {
    const RunResult r = RunScript("click imgNewGame\nadvance 31\ntick tmrScore\nadvance 1\n");
    ASSERT_EQ(r.status, 0);
    std::vector<std::pair<double, std::string>> seen;
    for (const auto& line : r.traceLines()) {
        const json j = json::parse(line);
        seen.emplace_back(j["t"].get<double>(), j["event"].get<std::string>());
    }
    const std::vector<std::pair<double, std::string>> expected = {
        {0, "load"},
        {0, "click imgNewGame"},
        {15.625, "tick tmrBall"},
        {15.625, "tick tmrMain"},
        {15.625, "tick tmrGameOver"},
        {31, "tick tmrScore"},  // delivered by hand, at the clock's time
        {31.25, "tick tmrBall"},
        {31.25, "tick tmrMain"},
        {31.25, "tick tmrGameOver"},
    };
    EXPECT_EQ(seen, expected);
}

TEST(Driver, ClicksOnHiddenControlsStillWriteALine) {
    const RunResult r = RunScript("click imgNewGame\nclick imgNewGame\nclick chkBGM\n");
    ASSERT_EQ(r.status, 0);
    const auto lines = r.traceLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(json::parse(lines[2])["sound"]["plays"], 1);  // the second click found it hidden
    EXPECT_EQ(json::parse(lines[3])["checks"]["chkBGM"]["value"], 1);
}

TEST(Driver, CheckBoxClicksToggleOnTheTitleScreen) {
    const RunResult r =
        RunScript("click chkBGM\nclick chkPower\nclick chkPower\nclick imgNewGame\n");
    const auto lines = r.traceLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(json::parse(lines[1])["checks"]["chkBGM"]["value"], 0);
    EXPECT_EQ(json::parse(lines[2])["checks"]["chkPower"]["value"], 0);
    EXPECT_EQ(json::parse(lines[3])["checks"]["chkPower"]["value"], 1);
    EXPECT_EQ(json::parse(lines[4])["sound"]["plays"], 0);  // music was unticked
}

TEST(Driver, WithoutTraceNothingIsWrittenAndStdinWorks) {
    TempDir dir;
    const std::string cmd = std::string("printf 'click imgNewGame\\nadvance 5000\\n' | ") +
                            SINKAWAY_BINARY + " --headless --script - --trace - --seed 1 > " +
                            (dir / "out").string();
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const auto lines = SplitLines(ReadFile(dir / "out"));
    EXPECT_GT(lines.size(), 320u);  // at least every game-over poller tick
    EXPECT_EQ(RunCommand("--headless --seed 1 --script /dev/null"), 0);
}

// --verify holds a replay to every rule of one: its seed first, line numbers in each refusal, and a
// bound on the work of replaying it, not on the time it claims.
struct Proof {
    const char* name;
    std::string script;
    int status;
    const char* says;  // standard output, or the refusal from its line number on
};

void PrintTo(const Proof& c, std::ostream* os) {
    *os << c.name;
}

class ProofTest : public ::testing::TestWithParam<Proof> {};

TEST_P(ProofTest, VerifyProvesAReplayOrRefusesItWithItsLine) {
    const Proof& c = GetParam();
    TempDir dir;
    std::ofstream(dir / "replay.txt", std::ios::binary) << c.script;
    const std::string cmd = std::string(SINKAWAY_BINARY) + " --verify '" +
                            (dir / "replay.txt").string() + "' >'" + (dir / "out").string() +
                            "' 2>'" + (dir / "err").string() + "'";
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), c.status);
    const std::string out = ReadFile(dir / "out"), err = ReadFile(dir / "err");
    if (c.status != 0) {
        EXPECT_EQ(out, "");
        EXPECT_EQ(err.find(c.says), err.find("replay.txt:") + 11) << err;
        EXPECT_EQ(SplitLines(err).size(), 1u) << err;
        return;
    }
    EXPECT_EQ(err, "");
    EXPECT_EQ(out, c.says);
}

INSTANTIATE_TEST_SUITE_P(
    Driver, ProofTest,
    ::testing::Values(Proof{"Empty", "", 2, "1: not a replay"},
                      Proof{"Seedless", "# a game\n\n" + kGame, 2, "3: not a replay"},
                      Proof{"BadLine", "seed 1\n" + kStart + "jump\n", 2, "3: unknown verb"},
                      // Years on the title screen: the reader stops soon after the bound.
                      Proof{"PlantedPastTheBound", "seed 1\nadvance 10000000000\n", 2,
                            "2: not a replay: playing it would run the rules more than"},
                      // A window left open: two days on the title screen, a game, a day on its
                      // game-over screen, then the game that counts.
                      Proof{"DaysLeftOpen",
                            "seed 3\nadvance 172800000\n" + kStart + "advance 30000\n" +
                                "advance 86400000\n" + kGame,
                            0, "score 3\n"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sinkaway::testing
