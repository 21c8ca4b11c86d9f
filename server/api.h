// The API, JSON over HTTP under /api/v1, and the health check. Every error is {error, reason}.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <memory>
#include <string>

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
};

}  // namespace sinkaway::server
