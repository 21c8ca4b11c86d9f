// Everything the server keeps, in PostgreSQL: the migrations, a pool of connections for the
// API's threads, and the queries of the API, the workers and the operator.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <pqxx/pqxx>
#include <string>
#include <vector>

#include "replay_check.h"
#include "token.h"

namespace sinkaway::server {

// Applies the migrations the database has not recorded yet, in order, one process at a time.
// Returns how many it applied.
int Migrate(pqxx::connection& connection);

// Connections for the API's threads, opened when first needed and dropped when broken.
class Pool {
  public:
    Pool(std::string conninfo, size_t size) : conninfo_(std::move(conninfo)), size_(size) {}

    class Lease {
      public:
        Lease(Pool& pool, std::unique_ptr<pqxx::connection> c) : pool_(pool), c_(std::move(c)) {}
        Lease(Lease&&) = default;
        ~Lease() { pool_.Return(std::move(c_)); }
        pqxx::connection& operator*() { return *c_; }

      private:
        Pool& pool_;
        std::unique_ptr<pqxx::connection> c_;
    };
    // Throws pqxx::broken_connection when the database cannot be reached.
    Lease Get();

  private:
    void Return(std::unique_ptr<pqxx::connection> c);

    std::string conninfo_;
    size_t size_;
    std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
    size_t open_ = 0;
};

struct Submission {
    std::string replay;
    std::string playerId;  // a UUID in lower case
    std::string secretHash;
    std::string name;
    SessionClaims claims;
};

struct Stored {
    enum class Outcome { kStored, kSame, kForeignPlayer } outcome;
    int64_t id = 0;
    std::string status;
};
// Stores a submission unless its replay is already there (then that row's id), binding the
// player's id to its secret on first sight.
Stored Store(pqxx::connection& c, const Submission& s);
std::optional<Stored> FindReplay(pqxx::connection& c, const std::string& replay);
int64_t PendingCount(pqxx::connection& c);

struct BoardRow {
    int64_t rank = 0;
    int64_t id = 0;
    std::string name;
    double score = 0;
    std::string date;
};
// The board of all games, or of one UTC day's daily games: `limit` rows from the top, or around
// one entry. Empty when `around` is not on the board.
std::vector<BoardRow> Board(pqxx::connection& c, std::optional<int64_t> day, int64_t limit,
                            std::optional<int64_t> around);

struct ScoreView {
    int64_t id = 0;
    std::string status;
    std::string name;
    std::string date;
    double score = 0;
    int64_t gameMs = 0;
    std::optional<int64_t> rankAll, rankToday;
    std::optional<std::string> day;
    std::string reason;
    std::optional<int> line;
};
std::optional<ScoreView> FindScore(pqxx::connection& c, int64_t id);
std::optional<std::string> FindReplayText(pqxx::connection& c, int64_t id);
bool Hide(pqxx::connection& c, int64_t id);

// A worker's job: a pending submission claimed until its lease runs out.
struct Job {
    int64_t id = 0;
    int attempts = 0;
    std::string replay;
    uint64_t seed = 0;
    int64_t realMs = 0;  // from the token's issue to the submission's arrival
};
std::optional<Job> Claim(pqxx::connection& c, double leaseSeconds);
// Records the verdict unless another worker's claim has replaced this one: a job is finished once.
bool Finish(pqxx::connection& c, const Job& job, const Verdict& verdict);
// Gives a job back to be claimed again at once (the check could not run here).
void Release(pqxx::connection& c, const Job& job);

inline constexpr const char* kPendingChannel = "sinkaway_pending";

}  // namespace sinkaway::server
