// The routes.
#include "api.h"

#include <cctype>
#include <chrono>
#include <nlohmann/json.hpp>

#include "script.h"
#include "token.h"

namespace sinkaway::server {

namespace {

using json = nlohmann::json;

// What each status says in the error field.
const char* ErrorWord(int status) {
    switch (status) {
        case 400:
            return "bad_request";
        case 403:
            return "forbidden";
        case 404:
            return "not_found";
        case 405:
            return "method_not_allowed";
        case 413:
            return "too_large";
        case 429:
            return "too_many_requests";
        case 503:
            return "unavailable";
        default:
            return status >= 500 ? "server_error" : "error";
    }
}

void Send(httplib::Response& res, int status, const json& body) {
    res.status = status;
    res.set_content(body.dump(), "application/json");
    res.set_header("X-Content-Type-Options", "nosniff");
}

void Error(httplib::Response& res, int status, const std::string& reason, int retryAfter = 0) {
    if (retryAfter > 0)
        res.set_header("Retry-After", std::to_string(retryAfter));
    Send(res, status, json{{"error", ErrorWord(status)}, {"reason", reason}});
}

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool IsUuid(const std::string& s) {
    if (s.size() != 36)
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? s[i] != '-' : !std::isxdigit(static_cast<unsigned char>(s[i])))
            return false;
    }
    return true;
}

bool Printable(const std::string& s) {
    for (char c : s) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

// A board's name: trimmed, then 1 to 12 printable ASCII characters, all of which the game's fonts
// draw. Empty with `why` set when it is not one.
std::string BoardName(const std::string& raw, std::string& why) {
    const size_t first = raw.find_first_not_of(' ');
    const size_t last = raw.find_last_not_of(' ');
    const std::string name = first == std::string::npos ? "" : raw.substr(first, last - first + 1);
    if (name.empty())
        why = "the name is empty";
    else if (!Printable(name))
        why = "the name may hold only printable ASCII characters";
    else if (name.size() > 12)
        why = "the name is longer than 12 characters";
    else
        return name;
    return "";
}

bool ParseId(const std::string& text, int64_t& id) {
    uint64_t value = 0;
    if (!ParseDecimal(text, INT64_MAX, value))
        return false;
    id = static_cast<int64_t>(value);
    return true;
}

}  // namespace

bool BoardCache::Find(const std::string& key, int& status, std::string& body) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end() || it->second.until < std::chrono::steady_clock::now())
        return false;
    status = it->second.status;
    body = it->second.body;
    return true;
}

void BoardCache::Keep(const std::string& key, int status, const std::string& body) {
    if (seconds_ <= 0)
        return;
    std::lock_guard lock(mutex_);
    // Many different reads (around every entry): start again rather than grow.
    if (entries_.size() >= 10'000)
        entries_.clear();
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                           std::chrono::duration<double>(seconds_));
    entries_[key] = Entry{until, status, body};
}

Api::Api(ApiSettings settings, Pool& pool)
    : settings_(std::move(settings)),
      pool_(pool),
      addresses_(settings_.addressPerMinute),
      players_(settings_.playerPerMinute),
      boards_(settings_.boardSeconds) {}

void Api::Mount(httplib::Server& server) {
    server.set_payload_max_length(settings_.maxRequestBytes);
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (req.path.rfind("/api/", 0) != 0)
            return httplib::Server::HandlerResponse::Unhandled;
        if (const int wait = addresses_.Take(req.remote_addr)) {
            Error(res, 429, "too many requests from this address", wait);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // httplib's own refusals (a body over the limit, a route that is not there) in our words.
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty())
            return;
        std::string reason = "no such page";
        if (res.status == 413)
            reason = "the request is larger than the server takes";
        else if (res.status == 400)
            reason = "the request is not HTTP this server reads (a POST needs a body, even {})";
        else if (res.status != 404)
            reason = "the request was refused (HTTP " + std::to_string(res.status) + ")";
        Error(res, res.status, reason);
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
            try {
                std::rethrow_exception(ep);
            } catch (const pqxx::broken_connection&) {
                Error(res, 503, "the database cannot be reached", 5);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "sinkaway-server: %s\n", e.what());
                Error(res, 500, "the server failed to answer");
            }
        });
    auto bind = [this](void (Api::*handler)(const httplib::Request&, httplib::Response&)) {
        return [this, handler](const httplib::Request& req, httplib::Response& res) {
            (this->*handler)(req, res);
        };
    };
    server.Post("/api/v1/sessions", bind(&Api::NewSession));
    server.Post("/api/v1/scores", bind(&Api::Submit));
    server.Get(R"(/api/v1/scores/(\d+))", bind(&Api::Score));
    server.Get(R"(/api/v1/scores/(\d+)/replay)", bind(&Api::Replay));
    server.Get(R"(/api/v1/boards/(all|today))", bind(&Api::BoardOf));
    server.Get("/api/v1/today", bind(&Api::Today));
    server.Get("/health", bind(&Api::Health));
}

void Api::NewSession(const httplib::Request& req, httplib::Response& res) {
    bool daily = false;
    if (!req.body.empty()) {
        const json body = json::parse(req.body, nullptr, false);
        if (body.is_discarded() || !body.is_object())
            return Error(res, 400, "the body is not a JSON object");
        if (body.contains("daily")) {
            if (!body["daily"].is_boolean())
                return Error(res, 400, "daily must be true or false");
            daily = body["daily"].get<bool>();
        }
    }
    const int64_t now = Now();
    const SessionClaims claims{.seed = daily ? DaySeed(settings_.key, DayOf(now)) : RandomSeed(),
                               .issued = now,
                               .daily = daily};
    Send(res, 200,
         json{{"token", MintToken(settings_.key, claims)},
              {"seed", std::to_string(claims.seed)},
              {"issued", TimeText(now)},
              {"daily", daily}});
}

void Api::Submit(const httplib::Request& req, httplib::Response& res) {
    const json body = json::parse(req.body, nullptr, false);
    if (body.is_discarded() || !body.is_object())
        return Error(res, 400, "the body is not a JSON object");
    for (const char* field : {"token", "name", "replay"}) {
        if (!body.contains(field) || !body[field].is_string())
            return Error(res, 400, std::string(field) + " must be a string");
    }
    if (!body.contains("player") || !body["player"].is_object())
        return Error(res, 400, "player must be an object with an id and a secret");
    const json& player = body["player"];
    if (!player.contains("id") || !player["id"].is_string() ||
        !IsUuid(player["id"].get<std::string>()))
        return Error(res, 400, "player.id must be a UUID");
    if (!player.contains("secret") || !player["secret"].is_string())
        return Error(res, 400, "player.secret must be a string");
    const std::string secret = player["secret"].get<std::string>();
    if (secret.size() < 16 || secret.size() > 64 || !Printable(secret))
        return Error(res, 400, "player.secret must be 16 to 64 printable ASCII characters");
    const std::string token = body["token"].get<std::string>();
    if (token.size() > 200)
        return Error(res, 400, "the token is longer than any this server gives");
    std::string why;
    const std::string name = BoardName(body["name"].get<std::string>(), why);
    if (name.empty())
        return Error(res, 400, why);
    Submission s;
    s.replay = body["replay"].get<std::string>();
    if (s.replay.size() > kMaxReplayBytes)
        return Error(res, 413, "the replay is longer than 32 MiB, the most a replay may hold");

    if (!ReadToken(settings_.key, token, s.claims))
        return Error(res, 403, "this server did not give that token");
    const int64_t now = Now();
    if (now - s.claims.issued > settings_.tokenSeconds || s.claims.issued > now + 60)
        return Error(res, 403, "the session's token has expired: start a new session");
    s.playerId = player["id"].get<std::string>();
    for (char& c : s.playerId) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (const int wait = players_.Take(s.playerId))
        return Error(res, 429, "too many submissions from this player", wait);
    s.secretHash = SecretHash(s.playerId, secret);
    s.name = name;

    auto c = pool_.Get();
    // The same replay again is the same game, also when the queue is full.
    std::optional<Stored> stored = FindReplay(*c, s.replay);
    if (!stored) {
        if (settings_.queueLimit > 0 && PendingCount(*c) >= settings_.queueLimit)
            return Error(res, 503, "too many games wait for verification: try again later", 30);
        stored = Store(*c, s);
    }
    if (stored->outcome == Stored::Outcome::kForeignPlayer)
        return Error(res, 403, "that player id belongs to another secret");
    Send(res, 202, json{{"id", stored->id}, {"status", stored->status}});
}

void Api::Score(const httplib::Request& req, httplib::Response& res) {
    int64_t id = 0;
    if (!ParseId(req.matches[1], id))
        return Error(res, 404, "no such game");
    auto c = pool_.Get();
    const std::optional<ScoreView> v = FindScore(*c, id);
    if (!v)
        return Error(res, 404, "no such game");
    json out{{"id", v->id}, {"status", v->status}, {"name", v->name}, {"date", v->date}};
    if (v->status == "verified") {
        out["score"] = v->score;
        out["seconds"] = static_cast<double>(v->gameMs) / 1000;
        out["rank"] = json{{"all", *v->rankAll}};
        if (v->rankToday) {
            out["rank"]["today"] = *v->rankToday;
            out["day"] = *v->day;
        }
    } else if (v->status == "refused") {
        out["reason"] = v->reason;
        if (v->line)
            out["line"] = *v->line;
    }
    Send(res, 200, out);
}

void Api::Replay(const httplib::Request& req, httplib::Response& res) {
    int64_t id = 0;
    if (!ParseId(req.matches[1], id))
        return Error(res, 404, "no such game");
    auto c = pool_.Get();
    const std::optional<std::string> text = FindReplayText(*c, id);
    if (!text)
        return Error(res, 404, "no such game");
    res.status = 200;
    // A stranger's bytes on the page's own address: plain text to save, never a page to run.
    res.set_content(*text, "text/plain; charset=us-ascii");
    res.set_header("Content-Disposition",
                   "attachment; filename=\"sinkaway-" + std::to_string(id) + ".txt\"");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Content-Security-Policy", "default-src 'none'; sandbox");
}

void Api::BoardOf(const httplib::Request& req, httplib::Response& res) {
    int64_t limit = 10;
    if (req.has_param("limit") &&
        (!ParseId(req.get_param_value("limit"), limit) || limit < 1 || limit > 100)) {
        return Error(res, 400, "limit must be a whole number from 1 to 100");
    }
    std::optional<int64_t> around;
    if (req.has_param("around")) {
        int64_t id = 0;
        if (!ParseId(req.get_param_value("around"), id))
            return Error(res, 400, "around must be a game's id");
        around = id;
    }
    const bool today = req.matches[1] == "today";
    const std::optional<int64_t> day = today ? std::optional(DayOf(Now())) : std::nullopt;
    const std::string key = std::to_string(day.value_or(-1)) + "/" + std::to_string(limit) + "/" +
                            std::to_string(around.value_or(-1));
    int status = 0;
    std::string text;
    if (boards_.Find(key, status, text)) {
        res.status = status;
        res.set_content(text, "application/json");
        return;
    }
    auto c = pool_.Get();
    const auto rows = Board(*c, day, limit, around);
    if (around && rows.empty()) {
        Error(res, 404, "that game is not on this board");
        boards_.Keep(key, res.status, res.body);
        return;
    }
    json list = json::array();
    for (const BoardRow& r : rows) {
        list.push_back(json{{"rank", r.rank},
                            {"name", r.name},
                            {"score", r.score},
                            {"date", r.date},
                            {"id", r.id}});
    }
    json out{{"board", today ? "today" : "all"}, {"rows", list}};
    if (day)
        out["day"] = DayText(*day);
    Send(res, 200, out);
    boards_.Keep(key, res.status, res.body);
}

void Api::Today(const httplib::Request&, httplib::Response& res) {
    const int64_t day = DayOf(Now());
    Send(res, 200,
         json{{"day", DayText(day)}, {"seed", std::to_string(DaySeed(settings_.key, day))}});
}

void Api::Health(const httplib::Request&, httplib::Response& res) {
    try {
        auto c = pool_.Get();
        pqxx::nontransaction n(*c);
        n.exec("SELECT 1");
        Send(res, 200, json{{"status", "ok"}});
    } catch (const std::exception&) {
        Error(res, 503, "the database cannot be reached", 5);
    }
}

}  // namespace sinkaway::server
