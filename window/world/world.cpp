// The world's boards over HTTP: what is asked, when, and what the answers change.
#include "world.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

namespace sinkaway {

namespace {

using nlohmann::json;

constexpr int64_t kFirstBackoffMs = 1000;
constexpr int64_t kLongestBackoffMs = 60'000;
// How often a game the server holds is asked after, at first.
constexpr int64_t kVerdictPollMs = 250;
constexpr int64_t kLongestVerdictPollMs = 10'000;
// A slow server is still waited for: the frames never are.
constexpr int kQuickTimeoutMs = 15'000;
constexpr int kSendTimeoutMs = 30'000;
constexpr int kBoardRows = 10;
constexpr size_t kMaxBoardRows = 100;

bool Ok(const HttpAnswer& a) {
    return a.status >= 200 && a.status < 300;
}

HttpRequest Get(std::string url, int timeoutMs = kQuickTimeoutMs) {
    HttpRequest request;
    request.url = std::move(url);
    request.timeoutMs = timeoutMs;
    return request;
}

HttpRequest Post(std::string url, std::string body, int timeoutMs) {
    HttpRequest request = Get(std::move(url), timeoutMs);
    request.method = HttpRequest::Method::kPost;
    request.body = std::move(body);
    return request;
}

// Statuses after which sending the same again cannot help.
bool Final(int status) {
    return status == 400 || status == 403 || status == 404 || status == 413;
}

int Stage(WorldGame::Status s) {
    return s == WorldGame::Status::kQueued ? 0 : s == WorldGame::Status::kPending ? 1 : 2;
}

}  // namespace

bool ReadTicket(const std::string& body, bool daily, WorldTicket& ticket) {
    const json doc = json::parse(body, nullptr, false);
    if (!doc.is_object() || !doc.value("token", json()).is_string() ||
        !doc.value("seed", json()).is_string())
        return false;
    const std::string seed = doc["seed"].get<std::string>();
    const auto [end, ec] = std::from_chars(seed.data(), seed.data() + seed.size(), ticket.seed);
    if (ec != std::errc() || end != seed.data() + seed.size())
        return false;
    ticket.token = doc["token"].get<std::string>();
    ticket.daily = daily;
    return !ticket.token.empty() && ticket.token.size() < 512;
}

bool ReadBoard(const std::string& body, std::vector<WorldRow>& rows) {
    rows.clear();
    const json doc = json::parse(body, nullptr, false);
    if (!doc.is_object() || !doc.value("rows", json()).is_array())
        return false;
    // A board is a screenful; a server that sends more is cut short.
    if (doc["rows"].size() > kMaxBoardRows)
        return false;
    for (const json& r : doc["rows"]) {
        if (!r.is_object() || !r.value("id", json()).is_number_integer() ||
            !r.value("rank", json()).is_number_integer() || !r.value("name", json()).is_string() ||
            !r.value("score", json()).is_number() || !r.value("date", json()).is_string())
            return false;
        rows.push_back({r["id"].get<int64_t>(), r["rank"].get<int>(),
                        r["name"].get<std::string>().substr(0, 12),
                        static_cast<int64_t>(r["score"].get<double>()),
                        r["date"].get<std::string>().substr(0, 10)});
    }
    return true;
}

std::string ReasonOf(const HttpAnswer& answer) {
    if (answer.status == 0)
        return "No connection";
    const json doc = json::parse(answer.body, nullptr, false);
    if (doc.is_object() && doc.value("reason", json()).is_string())
        return doc["reason"].get<std::string>().substr(0, 200);
    return "the server answered " + std::to_string(answer.status);
}

World::World(std::unique_ptr<HttpClient> http, std::string server, bool told, Hooks hooks)
    : http_(std::move(http)), server_(std::move(server)), hooks_(std::move(hooks)), told_(told) {
    for (BoardView& b : boards_) b.note = "Loading...";
}

World::~World() {
    // First: no answer may come in while the rest goes.
    http_.reset();
}

int64_t World::MillisSinceStart() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
}

void World::Send(HttpRequest request, std::function<void(const HttpAnswer&)> then) {
    request.url = server_ + request.url;
    http_->Send(std::move(request), [this, then = std::move(then)](HttpAnswer answer) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            inbox_.push_back([then, answer = std::move(answer)] { then(answer); });
        }
        if (hooks_.wake)
            hooks_.wake();
    });
}

void World::Later(Retry& retry, int64_t now, int retryAfterSeconds) {
    retry.inFlight = false;
    retry.backoffMs = std::clamp<int64_t>(retry.backoffMs * 2, kFirstBackoffMs, kLongestBackoffMs);
    retry.dueMs = now + std::max<int64_t>(retry.backoffMs, int64_t{retryAfterSeconds} * 1000);
}

void World::Start() {
    AskHealth();
}

void World::AskHealth() {
    health_.inFlight = true;
    Send(Get("/health"), [this](const HttpAnswer& a) {
        // Only the leaderboard's own answer counts: a host that answers every path with its
        // index page is none.
        const json doc = json::parse(a.body, nullptr, false);
        const bool ok = a.status == 200 && doc.is_object() && doc.value("status", json()) == "ok";
        if (!ok && !told_ && !everReached_ && a.status != 0 && a.status != 503) {
            gaveUp_ = true;  // a plain host: the page has no leaderboard
            return;
        }
        if (!ok) {
            reached_ = false;
            Later(health_, MillisSinceStart(), a.retryAfterSeconds);
            for (BoardView& b : boards_) {
                if (!b.loaded)
                    b.note = "No connection";
            }
            changes_.redraw = true;
            return;
        }
        reached_ = true;
        everReached_ = true;
        changes_.redraw = true;
        health_ = {};
        if (!ranked_)
            AskTicket(false);
        if (!daily_)
            AskTicket(true);
    });
}

void World::AskTicket(bool daily) {
    const char* body = daily ? R"({"daily": true})" : R"({"daily": false})";
    Send(Post("/api/v1/sessions", body, kQuickTimeoutMs), [this, daily](const HttpAnswer& a) {
        WorldTicket ticket;
        if (!Ok(a) || !ReadTicket(a.body, daily, ticket)) {
            // Asked again once the server is there again.
            reached_ = false;
            Later(health_, MillisSinceStart(), a.retryAfterSeconds);
            return;
        }
        (daily ? daily_ : ranked_) = std::move(ticket);
        changes_.tickets = true;
        changes_.redraw = true;
    });
}

World::Changes World::Run() {
    std::vector<std::function<void()>> answers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        answers.swap(inbox_);
    }
    for (auto& answer : answers) answer();
    SendDue();
    Changes changes = std::move(changes_);
    changes_ = {};
    return changes;
}

int64_t World::MillisToNext() const {
    const int64_t now = MillisSinceStart();
    int64_t next = -1;
    auto consider = [&](const Retry& r) {
        if (!r.inFlight)
            next = next < 0 ? std::max<int64_t>(0, r.dueMs - now)
                            : std::min(next, std::max<int64_t>(0, r.dueMs - now));
    };
    if (gaveUp_)
        return -1;
    if (!reached_)
        consider(health_);
    // The title screen says "Unranked" once the ranked session is a second late.
    if (!ranked_ && now < 1000)
        consider(Retry{.dueMs = 1000, .backoffMs = 0, .inFlight = false});
    if (playerKnown_) {
        for (const WorldGame& g : queue_) {
            const bool due = g.status == WorldGame::Status::kPending ||
                             (g.status == WorldGame::Status::kQueued && !player_.name.empty());
            if (due) {
                auto r = retries_.find(g.replay);
                consider(r == retries_.end() ? Retry{} : r->second);
            }
        }
    }
    return next;
}

void World::SendDue() {
    const int64_t now = MillisSinceStart();
    if (gaveUp_)
        return;
    if (!reached_ && !health_.inFlight && health_.dueMs <= now)
        AskHealth();
    if (!playerKnown_ || player_.id.empty())
        return;
    for (const WorldGame& g : queue_) {
        Retry& r = retries_[g.replay];
        if (r.inFlight || r.dueMs > now)
            continue;
        if (g.status == WorldGame::Status::kQueued && !g.text.empty() && !player_.name.empty())
            SendGame(g);
        else if (g.status == WorldGame::Status::kPending && g.id > 0)
            AskVerdict(g);
    }
}

void World::SendGame(const WorldGame& game) {
    retries_[game.replay].inFlight = true;
    const json body = {{"token", game.token},
                       {"name", player_.name},
                       {"player", {{"id", player_.id}, {"secret", player_.secret}}},
                       {"replay", game.text}};
    Send(Post("/api/v1/scores", body.dump(), kSendTimeoutMs),
         [this, key = game.replay](const HttpAnswer& a) {
             Retry& r = retries_[key];
             WorldGame game;
             if (!Current(key, game))
                 return;
             const json doc = json::parse(a.body, nullptr, false);
             if (Ok(a) && doc.is_object() && doc.value("id", json()).is_number_integer()) {
                 // Taken: the text is the server's now, and only its verdict is awaited.
                 game.id = doc["id"].get<int64_t>();
                 game.status = WorldGame::Status::kPending;
                 game.text.clear();
                 r = {.dueMs = MillisSinceStart() + kVerdictPollMs,
                      .backoffMs = kVerdictPollMs,
                      .inFlight = false};
                 Keep(std::move(game));
             } else if (Final(a.status)) {
                 r.inFlight = false;
                 game.status = WorldGame::Status::kRefused;
                 game.reason = ReasonOf(a);
                 game.text.clear();
                 Keep(std::move(game));
             } else {
                 Later(r, MillisSinceStart(), a.retryAfterSeconds);
             }
         });
}

void World::AskVerdict(const WorldGame& game) {
    retries_[game.replay].inFlight = true;
    Send(Get("/api/v1/scores/" + std::to_string(game.id)),
         [this, key = game.replay](const HttpAnswer& a) {
             Retry& r = retries_[key];
             WorldGame game;
             if (!Current(key, game))
                 return;
             const json doc = json::parse(a.body, nullptr, false);
             const std::string status =
                 doc.is_object() && doc.value("status", json()).is_string() ? doc["status"] : "";
             if (a.status == 200 && status == "verified") {
                 r.inFlight = false;
                 const json rank = doc.value("rank", json());
                 const int all = rank.is_object() && rank.value("all", json()).is_number_integer()
                                     ? rank["all"].get<int>()
                                     : 0;
                 // Kept again only when it changed: asked again for a rank that moved.
                 if (game.status != WorldGame::Status::kVerified || game.rank != all) {
                     game.status = WorldGame::Status::kVerified;
                     game.rank = all;
                     Keep(std::move(game));
                 }
             } else if (a.status == 200 && status == "refused") {
                 r.inFlight = false;
                 game.status = WorldGame::Status::kRefused;
                 game.reason = ReasonOf(a);
                 Keep(std::move(game));
             } else if (a.status == 200) {
                 // Still being checked: asked again, less often as time goes by.
                 r.inFlight = false;
                 r.backoffMs = std::min(r.backoffMs * 2, kLongestVerdictPollMs);
                 r.dueMs = MillisSinceStart() + r.backoffMs;
             } else {
                 Later(r, MillisSinceStart(), a.retryAfterSeconds);
             }
         });
}

bool World::Current(const std::string& key, WorldGame& game) {
    auto it = std::find_if(queue_.begin(), queue_.end(),
                           [&](const WorldGame& g) { return g.replay == key; });
    if (it == queue_.end()) {
        retries_[key].inFlight = false;
        return false;
    }
    game = *it;
    return true;
}

void World::RefreshRanks() {
    for (const WorldGame& g : queue_) {
        if (g.status == WorldGame::Status::kVerified && g.id > 0 && !retries_[g.replay].inFlight)
            AskVerdict(g);
    }
}

void World::Keep(WorldGame game) {
    MergeWorldGame(queue_, game);
    if (hooks_.keep)
        hooks_.keep(std::move(game));
    changes_.redraw = true;
}

void World::HearPlayer(WorldPlayer player) {
    player_ = std::move(player);
    playerKnown_ = true;
}

void World::HearQueue(WorldQueue queue) {
    // What this copy heard from the server since stays: the file may not have caught up yet.
    for (WorldGame& g : queue) {
        auto mine = std::find_if(queue_.begin(), queue_.end(),
                                 [&](const WorldGame& m) { return m.replay == g.replay; });
        if (mine != queue_.end() && Stage(mine->status) > Stage(g.status))
            g = *mine;
    }
    queue_ = std::move(queue);
    changes_.redraw = true;
}

bool World::WantsName() const {
    return playerKnown_ && player_.name.empty() &&
           std::any_of(queue_.begin(), queue_.end(),
                       [](const WorldGame& g) { return g.status == WorldGame::Status::kQueued; });
}

const WorldGame* World::StatusOf(const std::string& replayPath) const {
    for (const WorldGame& g : queue_) {
        if (replayPath.size() > g.replay.size() &&
            replayPath.compare(replayPath.size() - g.replay.size(), g.replay.size(), g.replay) ==
                0 &&
            replayPath[replayPath.size() - g.replay.size() - 1] == '/')
            return &g;
    }
    return nullptr;
}

void World::LoadBoard(Board which) {
    BoardView& view = boards_[static_cast<int>(which)];
    if (!view.loaded)
        view.note = "Loading...";
    const bool all = which == Board::kAll;
    std::string url = std::string("/api/v1/boards/") + (all ? "all" : "today") +
                      "?limit=" + std::to_string(kBoardRows);
    Send(Get(url), [this, which, all](const HttpAnswer& a) {
        BoardView& view = boards_[static_cast<int>(which)];
        std::vector<WorldRow> rows;
        changes_.redraw = true;
        if (!Ok(a) || !ReadBoard(a.body, rows)) {
            if (!view.loaded)
                view.note = a.status == 0 ? "No connection" : ReasonOf(a);
            return;
        }
        view.rows = std::move(rows);
        view.loaded = true;
        view.note = view.rows.empty() ? "No games yet" : "";
        // The rows around the player's best, where it is not among the top ones.
        const WorldGame* best = nullptr;
        for (const WorldGame& g : queue_) {
            if (g.status == WorldGame::Status::kVerified && g.rank > 0 && all &&
                (best == nullptr || g.rank < best->rank))
                best = &g;
        }
        if (best == nullptr || best->rank <= kBoardRows)
            return;
        Send(Get("/api/v1/boards/all?limit=5&around=" + std::to_string(best->id)),
             [this](const HttpAnswer& a) {
                 BoardView& view = boards_[static_cast<int>(Board::kAll)];
                 std::vector<WorldRow> around;
                 if (!Ok(a) || !ReadBoard(a.body, around))
                     return;
                 view.rows.resize(std::min<size_t>(view.rows.size(), kBoardRows));
                 for (WorldRow& r : around) {
                     if (r.rank > kBoardRows)
                         view.rows.push_back(std::move(r));
                 }
                 changes_.redraw = true;
             });
    });
}

void World::FetchReplay(int64_t id) {
    Send(Get("/api/v1/scores/" + std::to_string(id) + "/replay", kSendTimeoutMs),
         [this](const HttpAnswer& a) {
             if (a.status == 200)
                 changes_.replay = a.body;
             else
                 changes_.replayProblem =
                     a.status == 0 ? "No connection" : "Cannot play that replay";
         });
}

}  // namespace sinkaway
