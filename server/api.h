// The API, JSON over HTTP under /api/v1, and the health check. Every error is {error, reason}.
#pragma once

#include <httplib.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "database.h"
#include "rate_limit.h"

namespace sinkaway::server {

struct ApiSettings {
    std::string key;                     // signs the sessions' tokens
    int64_t tokenSeconds = 7 * 86400;    // how long a session's token is good for
    int64_t queueLimit = 10'000;         // pending submissions before new ones wait (503)
    double addressPerMinute = 300;       // requests to the API from one address (0: no limit)
    double playerPerMinute = 60;         // submissions of one player
    size_t maxRequestBytes = 48u << 20;  // a request's body, refused before it is read
    double boardSeconds = 1;             // how long a board read is answered from memory
};

// Board reads answered again from memory for a moment: a board changes only with a verdict, and
// the many readers of a popular board then cost the database one query a moment.
class BoardCache {
  public:
    explicit BoardCache(double seconds) : seconds_(seconds) {}
    bool Find(const std::string& key, int& status, std::string& body);
    void Keep(const std::string& key, int status, const std::string& body);

  private:
    struct Entry {
        std::chrono::steady_clock::time_point until;
        int status;
        std::string body;
    };
    double seconds_;
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

class Api {
  public:
    Api(ApiSettings settings, Pool& pool);
    // Adds the routes, the limits and the error pages to `server`.
    void Mount(httplib::Server& server);

  private:
    void NewSession(const httplib::Request& req, httplib::Response& res);
    void Submit(const httplib::Request& req, httplib::Response& res);
    void Score(const httplib::Request& req, httplib::Response& res);
    void Replay(const httplib::Request& req, httplib::Response& res);
    void BoardOf(const httplib::Request& req, httplib::Response& res);
    void Today(const httplib::Request& req, httplib::Response& res);
    void Health(const httplib::Request& req, httplib::Response& res);

    ApiSettings settings_;
    Pool& pool_;
    RateLimit addresses_;
    RateLimit players_;
    BoardCache boards_;
};

}  // namespace sinkaway::server
