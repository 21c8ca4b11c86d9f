// The world's boards as the window sees them, with no SDL: the sessions the server hands out (a
// ranked one at start and the day's), the games on their way to it (the queue the best games'
// worker keeps), sent with back-off until the server answers and then asked after until it
// verified or refused them, and the boards the panel lists. Everything goes through an
// HttpClient, so no frame ever waits; answers are taken between frames by Run.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "http_client.h"
#include "settings.h"
#include "world_queue.h"

namespace sinkaway {

// A session the server handed out: games played from its seed may be sent with its token.
struct WorldTicket {
    std::string token;
    uint64_t seed = 0;
    bool daily = false;
};

struct WorldRow {
    int64_t id = 0;
    int rank = 0;
    std::string name;
    int64_t score = 0;
    std::string date;  // "2026-12-08"
};

class World {
  public:
    enum class Board : uint8_t { kAll, kToday };
    struct BoardView {
        std::vector<WorldRow> rows;
        std::string note;  // why there are no rows: "Loading…", "No connection", …
        bool loaded = false;
    };
    // What Run found for the window.
    struct Changes {
        bool redraw = false;
        bool tickets = false;               // a ticket came: the title may change
        std::optional<std::string> replay;  // a world replay fetched, to prove and play
        std::string replayProblem;          // or why it could not be
    };
    // `keep` hands a game's new state to the worker that keeps the queue; `wake` wakes the loop
    // when an answer came (from the client's thread on the desktop).
    struct Hooks {
        std::function<void()> wake;
        std::function<void(WorldGame)> keep;
    };

    // `server`: "http://host:port", or "" for the origin that served the page. `told`: the
    // player set it, so it shows even while it cannot be reached; else (the page's origin) it
    // shows once it answered, and a host that answers as no leaderboard is not asked again.
    World(std::unique_ptr<HttpClient> http, std::string server, bool told, Hooks hooks);
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    ~World();

    // Asks whether the server is there and, when it is, for the two sessions.
    void Start();
    // Between frames: the answers that came, and what is due to be sent.
    Changes Run();
    // How long the loop may sleep before something is due; -1: until an answer wakes it.
    int64_t MillisToNext() const;

    // The worker's news.
    void HearPlayer(WorldPlayer player);
    void HearQueue(WorldQueue queue);

    const std::optional<WorldTicket>& ranked() const { return ranked_; }
    const std::optional<WorldTicket>& daily() const { return daily_; }
    // Whether the server answered at start (or since): the tickets may still be on their way.
    bool reached() const { return reached_; }
    // Whether the window shows the world at all: a leaderboard the player set, or the page's
    // origin once it answered as one.
    bool shown() const { return told_ || everReached_; }
    // How long since Start, in milliseconds.
    int64_t MillisSinceStart() const;
    // Whether a game is queued and waits for the player's name.
    bool WantsName() const;
    const WorldPlayer& player() const { return player_; }

    // Reads a board again; `board(which)` has it once it came.
    void LoadBoard(Board which);
    const BoardView& board(Board which) const { return boards_[static_cast<int>(which)]; }
    // Asks again where the verified games stand: other games may have passed them.
    void RefreshRanks();
    // Fetches a board row's replay; Run hands it over.
    void FetchReplay(int64_t id);
    // What the world made of a kept game, by its replay's path; null when it was not sent.
    const WorldGame* StatusOf(const std::string& replayPath) const;

  private:
    using Clock = std::chrono::steady_clock;
    struct Retry {
        int64_t dueMs = 0;      // on MillisSinceStart
        int64_t backoffMs = 0;  // the next wait after a failure
        bool inFlight = false;
    };
    void Send(HttpRequest request, std::function<void(const HttpAnswer&)> then);
    void AskHealth();
    void AskTicket(bool daily);
    void SendDue();
    void SendGame(const WorldGame& game);
    void AskVerdict(const WorldGame& game);
    void Keep(WorldGame game);
    // A copy of the queued game of replay `key`; false, its retry idle, when it left the queue
    // meanwhile.
    bool Current(const std::string& key, WorldGame& game);
    // After a failure: the next try after the wait, doubled each time up to a minute.
    static void Later(Retry& retry, int64_t now, int retryAfterSeconds);

    std::unique_ptr<HttpClient> http_;
    const std::string server_;
    Hooks hooks_;
    const Clock::time_point start_ = Clock::now();

    // Answers from the client's thread, carried out by Run.
    std::mutex mutex_;
    std::vector<std::function<void()>> inbox_;
    Changes changes_;  // filled by the answers run in Run

    const bool told_;
    bool reached_ = false;
    bool everReached_ = false;
    bool gaveUp_ = false;  // the page's origin is no leaderboard
    Retry health_;
    std::optional<WorldTicket> ranked_, daily_;
    WorldPlayer player_;
    bool playerKnown_ = false;
    WorldQueue queue_;
    std::map<std::string, Retry> retries_;  // by replay path
    BoardView boards_[2];
};

// The server's answers, read: false when an answer is not what the server sends.
bool ReadTicket(const std::string& body, bool daily, WorldTicket& ticket);
bool ReadBoard(const std::string& body, std::vector<WorldRow>& rows);
// The reason in an error answer, or a plain one for its status.
std::string ReasonOf(const HttpAnswer& answer);

}  // namespace sinkaway
