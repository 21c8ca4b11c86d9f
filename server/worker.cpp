// One worker's loop.
#include "worker.h"

#include <chrono>
#include <cstdio>
#include <pqxx/pqxx>

#include "database.h"

namespace sinkaway::server {

namespace {

class Wakeup final : public pqxx::notification_receiver {
  public:
    explicit Wakeup(pqxx::connection& c) : pqxx::notification_receiver(c, kPendingChannel) {}
    void operator()(const std::string&, int) override {}
};

}  // namespace

Workers::Workers(WorkerSettings settings, int count) : settings_(std::move(settings)) {
    for (int i = 0; i < count; ++i) threads_.emplace_back([this, i] { Run(i); });
}

Workers::~Workers() {
    stop_ = true;
    for (auto& t : threads_) t.join();
}

bool Workers::Sleep(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!stop_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return !stop_;
}

void Workers::Run(int index) {
    // The wait for a notice is cut into short ones so that a stop is seen soon.
    const double wait = std::min(settings_.pollSeconds, 0.25);
    while (!stop_) {
        try {
            pqxx::connection c(settings_.database);
            Wakeup wakeup(c);
            double idle = settings_.pollSeconds;
            while (!stop_) {
                if (idle >= settings_.pollSeconds) {
                    // Claim until none is left.
                    while (!stop_) {
                        std::optional<Job> job = Claim(c, settings_.leaseSeconds);
                        if (!job)
                            break;
                        Verdict verdict;
                        if (job->attempts > settings_.maxAttempts) {
                            verdict.reason = "its verification stopped " +
                                             std::to_string(settings_.maxAttempts) +
                                             " times without an answer";
                        } else {
                            const ReplayFacts facts =
                                CheckInChild(settings_.program, job->replay, settings_.limits);
                            if (facts.internal) {
                                std::fprintf(stderr, "sinkaway-server: worker %d: %s\n", index,
                                             facts.error.c_str());
                                Release(c, *job);
                                Sleep(1);
                                continue;
                            }
                            verdict = Judge(facts, job->seed, job->realMs, settings_.slackMs);
                        }
                        if (Finish(c, *job, verdict)) {
                            std::fprintf(
                                stderr, "sinkaway-server: game %lld %s%s\n",
                                static_cast<long long>(job->id),
                                verdict.accepted ? "verified, score " : "refused: ",
                                verdict.accepted
                                    ? std::to_string(static_cast<int64_t>(verdict.score)).c_str()
                                    : verdict.reason.c_str());
                        }
                    }
                    idle = 0;
                }
                const auto before = std::chrono::steady_clock::now();
                const int notices =
                    c.await_notification(static_cast<long>(wait),
                                         static_cast<long>((wait - static_cast<long>(wait)) * 1e6));
                idle += std::chrono::duration<double>(std::chrono::steady_clock::now() - before)
                            .count();
                if (notices > 0)
                    idle = settings_.pollSeconds;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "sinkaway-server: worker %d: %s\n", index, e.what());
            Sleep(1);
        }
    }
}

}  // namespace sinkaway::server
