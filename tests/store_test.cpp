// The best games on disk: the atomic replace, two copies of the game saving at once, tables that
// are broken or planted, data folders that cannot hold anything, the settings, and the replay a
// game leaves behind proving its score.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "headless.h"
#include "listing.h"
#include "rand.h"
#include "run_binary.h"
#include "score_store.h"
#include "script_writer.h"
#include "settings.h"
#include "world_queue.h"

namespace sinkaway {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

ScoreEntry Game(int64_t score, std::string played = "2026-12-08T03:00:00Z") {
    ScoreEntry e;
    e.score = score;
    e.played = std::move(played);
    e.seed = 42;
    e.seconds = 3.9;
    e.version = "1.0.0";
    return e;
}

StoreFolder Folder(const TempDir& dir) {
    return StoreFolder{(dir / "sinkaway").string(), "", ""};
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ScoreStore, AFailureBeforeTheRenameLeavesTheOldTableWhole) {
    struct Row {
        bool failBeforeRename;
        int rank;
        size_t games;
    };
    for (const Row row : {Row{true, 0, 1}, Row{false, 1, 2}}) {
        TempDir dir;
        ScoreStore store(Folder(dir));
        ASSERT_TRUE(store.Add(Game(5), "seed 1\n").ok);
        const std::string before = ReadFile(store.TablePath());
        store.SetBeforeRename([&](std::string& error) {
            error = "injected";
            return !row.failBeforeRename;
        });
        const AddResult r = store.Add(Game(9), "seed 2\n");
        EXPECT_EQ(r.ok, !row.failBeforeRename);
        EXPECT_EQ(r.rank, row.rank);
        const TableLoad load = store.Read();
        ASSERT_EQ(load.status, TableLoad::Status::kOk);
        EXPECT_EQ(load.table.size(), row.games);
        if (row.failBeforeRename) {
            EXPECT_EQ(ReadFile(store.TablePath()), before);
            EXPECT_NE(r.error.find("injected"), std::string::npos);
        }
        // No temporary file, and no replay that the table does not name.
        EXPECT_EQ(Names(store.folder()).size(), 3u);  // replays, scores.json, scores.lock
        EXPECT_EQ(Names(store.folder() + "/replays").size(), row.games);
    }
}

TEST(ScoreStore, TwoCopiesAddingAtOnceKeepTheTenBestOfAll) {
    TempDir dir;
    std::vector<pid_t> children;
    for (int copy = 0; copy < 2; ++copy) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ScoreStore store(Folder(dir));
            bool ok = true;
            for (int i = 0; i < 50; ++i) ok = store.Add(Game(2 * i + copy), "seed 3\n").ok && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TableLoad load = ScoreStore(Folder(dir)).Read();
    ASSERT_EQ(load.status, TableLoad::Status::kOk);
    std::vector<int64_t> scores;
    for (const ScoreEntry& e : load.table) scores.push_back(e.score);
    EXPECT_EQ(scores, (std::vector<int64_t>{99, 98, 97, 96, 95, 94, 93, 92, 91, 90}));
    // The games pushed out took their replays with them.
    EXPECT_EQ(Names(dir / "sinkaway/replays").size(), 10u);
}

const char* const kGood =
    R"({"format": 1, "games": [{"score": 12, "played": "2026-12-08T03:00:00Z", "seed": 42,
        "seconds": 3.9, "replay": "replays/a.txt", "version": "1.0.0"}]})";

std::string With(const std::string& from, const std::string& to) {
    std::string text = kGood;
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(ScoreStore, BrokenAndHostileTablesAreMovedAsideWhole) {
    struct Row {
        const char* what;
        std::string text;
        bool broken;
    };
    const std::vector<Row> rows = {
        {"good", kGood, false},
        {"whole score as a float", With("\"score\": 12", "\"score\": 12.0"), false},
        {"truncated", std::string(kGood).substr(0, 60), true},
        {"empty", "", true},
        {"score as text", With("\"score\": 12", "\"score\": \"12\""), true},
        {"negative score", With("\"score\": 12", "\"score\": -1"), true},
        {"fractional score", With("\"score\": 12", "\"score\": 12.5"), true},
        {"score past 2^53", With("\"score\": 12", "\"score\": 18446744073709551615"), true},
        {"NaN", With("\"seconds\": 3.9", "\"seconds\": NaN"), true},
        {"negative seed", With("\"seed\": 42", "\"seed\": -42"), true},
        {"bad date", With("03:00:00Z", "03:00:00"), true},
        {"format 2", With("\"format\": 1", "\"format\": 2"), true},
        {"not an object", "[1, 2]", true},
        {"absolute replay", With("replays/a.txt", "/etc/passwd"), true},
        {"replay leaving the folder", With("replays/a.txt", "replays/../../x"), true},
        {"replay in a subfolder", With("replays/a.txt", "replays/x/a.txt"), true},
        {"replay beside the table", With("replays/a.txt", "scores.json"), true},
        {"eleven games",
         R"({"format": 1, "games": [)" +
             [] {
                 std::string g;
                 for (int i = 0; i < 11; ++i)
                     g += std::string(i ? "," : "") +
                          R"({"score": 1, "played": "2026-12-08T03:00:00Z", "seed": 1,
                          "seconds": 1, "replay": "replays/a.txt", "version": "1"})";
                 return g;
             }() +
             "]}",
         true},
        {"huge", std::string(1 << 20, ' ') + kGood, true},
        {"deeply nested", std::string(100000, '[') + std::string(100000, ']'), true},
    };
    for (const Row& row : rows) {
        TempDir dir;
        ScoreStore store(Folder(dir));
        fs::create_directories(store.folder());
        std::ofstream(store.TablePath(), std::ios::binary) << row.text;
        const TableLoad read = store.Read();
        EXPECT_EQ(read.status == TableLoad::Status::kBroken, row.broken) << row.what;
        const TableLoad repaired = store.ReadAndRepair();
        if (!row.broken) {
            EXPECT_EQ(repaired.table.size(), 1u) << row.what;
            continue;
        }
        EXPECT_FALSE(repaired.problem.empty()) << row.what;
        // Never deleted: the very bytes lie beside the table, and the next game starts afresh.
        ASSERT_FALSE(repaired.movedTo.empty()) << row.what;
        EXPECT_NE(repaired.movedTo.find("/scores.json.broken-"), std::string::npos);
        EXPECT_EQ(ReadFile(repaired.movedTo), row.text) << row.what;
        EXPECT_EQ(store.Add(Game(3), "seed 1\n").rank, 1) << row.what;
    }
}

TEST(ScoreStore, ATableThatIsAFolderOrAPipeNeitherBlocksNorCrashes) {
    for (const char* kind : {"folder", "pipe", "link to a pipe"}) {
        TempDir dir;
        ScoreStore store(Folder(dir));
        fs::create_directories(store.folder());
        const std::string kindName = kind;
        if (kindName == "folder") {
            fs::create_directory(store.TablePath());
        } else {
            ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
            if (kindName == "pipe")
                fs::rename(dir / "fifo", store.TablePath());
            else
                fs::create_symlink(dir / "fifo", store.TablePath());
        }
        const AddResult r = store.Add(Game(7), "seed 1\n");
        EXPECT_TRUE(r.ok) << kind << ": " << r.error;
        EXPECT_EQ(r.rank, 1) << kind;
        EXPECT_NE(r.movedAside.find("scores.json.broken-"), std::string::npos) << kind;
    }
}

TEST(ScoreStore, AnUnusableDataFolderKeepsNothingAndSaysWhy) {
    struct Row {
        const char* what;
        const char* file;       // made a plain file, relative to the temporary folder
        const char* mustExist;  // relative, "" for none
        const char* message;
    };
    for (const Row& row : {
             Row{"data folder is a file", "sinkaway", "", "is not a folder"},
             Row{"a folder above is a file", "x", "", "is not a folder"},
             Row{"replays is a file", "sinkaway/replays", "", "is not a folder"},
             Row{"home missing", nullptr, "home", "is not there"},
         }) {
        TempDir dir;
        StoreFolder folder = Folder(dir);
        if (std::string(row.what) == "a folder above is a file")
            folder.path = (dir / "x/sinkaway").string();
        if (*row.mustExist != '\0') {
            folder.mustExist = (dir / row.mustExist).string();
            folder.path = folder.mustExist + "/.local/share/sinkaway";
        }
        if (row.file != nullptr) {
            fs::create_directories((dir / row.file).parent_path());
            std::ofstream(dir / row.file) << "x";
        }
        ScoreStore store(folder);
        const AddResult r = store.Add(Game(7), "seed 1\n");
        EXPECT_FALSE(r.ok) << row.what;
        EXPECT_NE(r.error.find(row.message), std::string::npos) << row.what << ": " << r.error;
        EXPECT_FALSE(fs::exists(store.TablePath())) << row.what;
        if (row.file != nullptr && std::string(row.file) != "sinkaway/replays") {
            EXPECT_EQ(store.Read().status, TableLoad::Status::kUnusable) << row.what;
        }
    }
    // No usable base folder at all.
    ::setenv("XDG_DATA_HOME", "relative/path", 1);
    ::unsetenv("HOME");
    const StoreFolder none = DataFolder();
    EXPECT_TRUE(none.path.empty());
    EXPECT_FALSE(ScoreStore(none).Add(Game(1), "").ok);
    EXPECT_EQ(ScoreStore(none).Read().status, TableLoad::Status::kUnusable);
}

TEST(Settings, RestoredWhenGoodDefaultsOtherwise) {
    struct Row {
        const char* text;  // nullptr: no file
        Settings expected;
        bool problem;
    };
    auto boxes = [](bool power, bool bgm, WorldPlayer world = {}) {
        return Settings{.powerUps = power, .bgm = bgm, .world = std::move(world)};
    };
    for (const Row& row : {
             Row{nullptr, boxes(true, true), false},
             Row{R"({"format": 1, "PowerUps": false, "BGM": true})", boxes(false, true), false},
             Row{R"({"format": 1, "PowerUps": 0, "BGM": true})", boxes(true, true), true},
             Row{"{\"format\": 1, \"Power", boxes(true, true), true},
             Row{"[]", boxes(true, true), true},
             Row{R"({"format": 1, "PowerUps": true, "BGM": false, "Server": "http://h:8", "Name":
                 "ADA", "Player": "p", "Secret": "s"})",
                 boxes(true, false, {"http://h:8", "ADA", "p", "s"}), false},
             // A name too long, or a server that is no web address, spoils the whole file.
             Row{R"({"format": 1, "PowerUps": true, "BGM": true, "Name": "THIRTEEN CHARS"})",
                 boxes(true, true), true},
             Row{R"({"format": 1, "PowerUps": true, "BGM": true, "Server": "file:///etc"})",
                 boxes(true, true), true},
         }) {
        TempDir dir;
        const StoreFolder folder = Folder(dir);
        if (row.text != nullptr) {
            fs::create_directories(folder.path);
            std::ofstream(folder.path + "/settings.json") << row.text;
        }
        const SettingsLoad load = LoadSettings(folder);
        EXPECT_EQ(load.settings, row.expected) << (row.text ? row.text : "none");
        EXPECT_EQ(!load.problem.empty(), row.problem);
        Settings changed = row.expected;
        changed.powerUps = !changed.powerUps;
        std::string error;
        ASSERT_TRUE(SaveSettings(folder, changed, error)) << error;
        EXPECT_EQ(LoadSettings(folder).settings, changed);
    }
}

// The games on their way to the world come back as they were kept, a file that is not the
// queue's is refused whole, and a full queue makes room only with games the server has finished.
TEST(WorldQueue, KeptWholeAndRoomMadeOnlyByFinishedGames) {
    TempDir dir;
    const StoreFolder folder = Folder(dir);
    WorldQueue queue;
    for (size_t i = 0; i < kMaxWorldGames; ++i) {
        WorldGame game;
        game.replay = "replays/" + std::to_string(i) + ".txt";
        game.token = "t";
        game.text = "seed 1\n\"quoted\"\n";
        game.status = i == 3 ? WorldGame::Status::kRefused : WorldGame::Status::kQueued;
        game.reason = i == 3 ? "no" : "";
        MergeWorldGame(queue, game);
    }
    std::string error;
    ASSERT_TRUE(SaveWorldQueue(folder, queue, error)) << error;
    EXPECT_EQ(LoadWorldQueue(folder).queue, queue);

    WorldGame late;
    late.replay = "replays/late.txt";
    MergeWorldGame(queue, late);  // the refused one makes room
    ASSERT_EQ(queue.size(), kMaxWorldGames);
    EXPECT_EQ(queue[3].replay, "replays/4.txt");
    late.replay = "replays/later.txt";
    MergeWorldGame(queue, late);  // nothing finished: none is dropped
    EXPECT_EQ(queue.size(), kMaxWorldGames + 1);
    ASSERT_TRUE(SaveWorldQueue(folder, queue, error)) << error;
    EXPECT_EQ(LoadWorldQueue(folder).queue, queue);

    for (const char* text : {"[]", R"({"format": 1, "games": [{"replay": "../x"}]})",
                             R"({"format": 1, "games": [{"replay": "replays/a", "token": "",
                                 "daily": false, "text": "", "id": 0, "status": "lost",
                                 "rank": 0, "reason": ""}]})"}) {
        std::ofstream(folder.path + "/world.json") << text;
        const WorldQueueLoad load = LoadWorldQueue(folder);
        EXPECT_TRUE(load.queue.empty()) << text;
        EXPECT_FALSE(load.problem.empty()) << text;
    }
}

TEST(BestGameReplay, AGamesReplayProvesItsScoreAndAPlantedOneDoesNot) {
    TempDir dir;
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    ScriptWriter log;
    session.Load(7);
    log.Start(7);
    // Two games: the second one's replay must hold the first, which used the generator too.
    for (int game = 0; game < 2; ++game) {
        log.Click(session.now(), ClickTarget::imgNewGame);
        session.Click(ClickTarget::imgNewGame);
        for (int step = 0; !session.game.state.blnGameOver && step < 2000; ++step) {
            session.Advance(47'000);
            const uint16_t key = step % 3 == 0 ? 37 : 39;
            log.Key(session.now(), step % 2 == 0, key);
            if (step % 2 == 0)
                session.KeyDown(key);
            else
                session.KeyUp(key);
        }
        session.Advance(500'000);
    }
    ASSERT_GT(session.game.state.dblScore, 0);
    ScoreStore store(Folder(dir));
    ScoreEntry entry = Game(static_cast<int64_t>(session.game.state.dblScore));
    const AddResult r = store.Add(entry, log.TextUpTo(session.now()));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(ReplayProvesScore(store.folder(), r.entry));
    ScoreEntry inflated = r.entry;
    inflated.score += 1;
    EXPECT_FALSE(ReplayProvesScore(store.folder(), inflated));
    // A replay that is a link to a good replay elsewhere is not opened.
    fs::rename(store.folder() + "/" + r.entry.replay, dir / "elsewhere.txt");
    fs::create_symlink(dir / "elsewhere.txt", store.folder() + "/" + r.entry.replay);
    EXPECT_FALSE(ReplayProvesScore(store.folder(), r.entry));
    // Nor one without its seed, which would play a different game each time.
    std::ofstream(store.folder() + "/replays/seedless.txt") << "advance 1000\n";
    ScoreEntry seedless = Game(0);
    seedless.replay = "replays/seedless.txt";
    EXPECT_FALSE(ReplayProvesScore(store.folder(), seedless));
}

}  // namespace
}  // namespace sinkaway
