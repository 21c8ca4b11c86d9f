// The workers: each claims pending submissions from the database, one at a time, proves each in a
// child process and records the verdict. They wake on the database's notice of a new
// submission, and look anyway every poll interval, which also finds the jobs of a worker that
// died once their lease has run out. Any number of them, in any number of processes, share one
// database.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "replay_check.h"

namespace sinkaway::server {

struct WorkerSettings {
    std::string database;  // a libpq connection string
    std::string program;   // this program, run as the child that reads a replay
    ChildLimits limits;
    double leaseSeconds = 60;
    double pollSeconds = 2;
    int64_t slackMs = 30'000;
    int maxAttempts = 3;  // a job whose workers died this often is refused
};

class Workers {
  public:
    Workers(WorkerSettings settings, int count);
    ~Workers();  // stops them: a check in progress is killed and its job claimed again later

  private:
    void Run(int index);
    bool Sleep(double seconds);

    WorkerSettings settings_;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

}  // namespace sinkaway::server
