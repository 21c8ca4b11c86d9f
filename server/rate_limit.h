// How often one address or one player may ask: a bucket of `perMinute` requests for each, filled
// again at that rate. Kept in memory, per server process.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace sinkaway::server {

class RateLimit {
  public:
    // 0: no limit.
    explicit RateLimit(double perMinute) : perMinute_(perMinute) {}

    // 0 when `who` may go on, else the whole seconds to wait.
    int Take(const std::string& who);

  private:
    struct Bucket {
        double tokens;
        std::chrono::steady_clock::time_point at;
    };
    double perMinute_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace sinkaway::server
