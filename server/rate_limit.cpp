// Token buckets.
#include "rate_limit.h"

#include <cmath>

namespace sinkaway::server {

namespace {
// Past this many callers, the full buckets (callers quiet for a minute) are forgotten.
constexpr size_t kMaxCallers = 100'000;
}  // namespace

int RateLimit::Take(const std::string& who) {
    if (perMinute_ <= 0)
        return 0;
    const auto now = std::chrono::steady_clock::now();
    const double perSecond = perMinute_ / 60;
    std::lock_guard lock(mutex_);
    if (buckets_.size() > kMaxCallers) {
        std::erase_if(buckets_, [&](const auto& entry) {
            return std::chrono::duration<double>(now - entry.second.at).count() * perSecond +
                       entry.second.tokens >=
                   perMinute_;
        });
    }
    auto [it, fresh] = buckets_.try_emplace(who, Bucket{perMinute_, now});
    Bucket& b = it->second;
    if (!fresh) {
        b.tokens = std::min(
            perMinute_, b.tokens + std::chrono::duration<double>(now - b.at).count() * perSecond);
        b.at = now;
    }
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return 0;
    }
    return static_cast<int>(std::ceil((1 - b.tokens) / perSecond));
}

}  // namespace sinkaway::server
