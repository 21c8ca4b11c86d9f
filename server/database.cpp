// The queries, in one place.
#include "database.h"

#include <algorithm>

#include "migrations.h"
#include "script.h"

namespace sinkaway::server {

namespace {

// Any number, so long as every process that migrates takes the same one.
constexpr int64_t kMigrationLock = 0x53696e6b61776179;  // "Sinkaway"

constexpr const char* kOnBoard = "status = 'verified' AND NOT hidden";

std::string DateOf(const pqxx::field& f) {
    return f.is_null() ? std::string() : f.as<std::string>();
}

}  // namespace

int Migrate(pqxx::connection& c) {
    int applied = 0;
    for (const Migration& m : Migrations()) {
        pqxx::work w(c);
        w.exec_params("SELECT pg_advisory_xact_lock($1)", kMigrationLock);
        w.exec(
            "CREATE TABLE IF NOT EXISTS schema_migrations (version integer PRIMARY KEY, "
            "name text NOT NULL, applied timestamptz NOT NULL DEFAULT now())");
        if (!w.exec_params("SELECT 1 FROM schema_migrations WHERE version = $1", m.number)
                 .empty()) {
            continue;
        }
        w.exec(m.sql);
        w.exec_params("INSERT INTO schema_migrations (version, name) VALUES ($1, $2)", m.number,
                      std::string(m.name));
        w.commit();
        ++applied;
    }
    return applied;
}

Pool::Lease Pool::Get() {
    std::unique_lock lock(mutex_);
    returned_.wait(lock, [&] { return !idle_.empty() || open_ < size_; });
    if (!idle_.empty()) {
        auto c = std::move(idle_.back());
        idle_.pop_back();
        return Lease(*this, std::move(c));
    }
    ++open_;
    lock.unlock();
    try {
        return Lease(*this, std::make_unique<pqxx::connection>(conninfo_));
    } catch (...) {
        lock.lock();
        --open_;
        returned_.notify_one();
        throw;
    }
}

void Pool::Return(std::unique_ptr<pqxx::connection> c) {
    std::lock_guard lock(mutex_);
    if (c && c->is_open())
        idle_.push_back(std::move(c));
    else
        --open_;
    returned_.notify_one();
}

std::optional<Stored> FindReplay(pqxx::connection& c, const std::string& replay) {
    pqxx::read_transaction r(c);
    const auto rows =
        r.exec_params("SELECT id, status FROM submissions WHERE replay_sha256 = $1 AND NOT hidden",
                      pqxx::binarystring(Sha256(replay)));
    if (rows.empty())
        return std::nullopt;
    return Stored{Stored::Outcome::kSame, rows[0][0].as<int64_t>(), rows[0][1].as<std::string>()};
}

Stored Store(pqxx::connection& c, const Submission& s) {
    pqxx::work w(c);
    w.exec_params(
        "INSERT INTO players (id, secret_hash) VALUES ($1::uuid, $2) ON CONFLICT (id) DO NOTHING",
        s.playerId, s.secretHash);
    const std::string kept =
        w.exec_params1("SELECT secret_hash FROM players WHERE id = $1::uuid", s.playerId)[0]
            .as<std::string>();
    if (!SameHash(kept, s.secretHash))
        return Stored{Stored::Outcome::kForeignPlayer, 0, ""};
    const std::string day = s.claims.daily ? DayText(DayOf(s.claims.issued)) : std::string();
    const auto sha = pqxx::binarystring(Sha256(s.replay));
    // Two of the same at once: the second waits for the first and inserts nothing.
    auto rows = w.exec_params(
        "INSERT INTO submissions (replay_sha256, replay, player, name, seed, issued, day) "
        "VALUES ($1, $2, $3::uuid, $4, $5::numeric, to_timestamp($6), NULLIF($7, '')::date) "
        "ON CONFLICT (replay_sha256) DO NOTHING RETURNING id",
        sha, pqxx::binarystring(s.replay), s.playerId, s.name, std::to_string(s.claims.seed),
        s.claims.issued, day);
    Stored out{Stored::Outcome::kStored, 0, "pending"};
    if (rows.empty()) {
        const auto row =
            w.exec_params1("SELECT id, status FROM submissions WHERE replay_sha256 = $1", sha);
        out = Stored{Stored::Outcome::kSame, row[0].as<int64_t>(), row[1].as<std::string>()};
    } else {
        out.id = rows[0][0].as<int64_t>();
    }
    w.commit();
    return out;
}

int64_t PendingCount(pqxx::connection& c) {
    pqxx::read_transaction r(c);
    return r.exec("SELECT count(*) FROM submissions WHERE status = 'pending'")[0][0].as<int64_t>();
}

std::vector<BoardRow> Board(pqxx::connection& c, std::optional<int64_t> day, int64_t limit,
                            std::optional<int64_t> around) {
    pqxx::read_transaction r(c);
    const std::string dayText = day ? DayText(*day) : std::string();
    const std::string where = std::string(kOnBoard) + (day ? " AND day = $1::date" : "");
    // The day's parameter is always there; the board of all games ignores it.
    const std::string dayParam = day ? "" : " AND $1::text IS NOT NULL";
    const std::string columns =
        "SELECT id, name, score, to_char(received AT TIME ZONE 'UTC', 'YYYY-MM-DD') FROM "
        "submissions WHERE " +
        where + dayParam;
    std::vector<BoardRow> rows;
    auto add = [&](const pqxx::result& result, int64_t firstRank, bool reversed) {
        std::vector<BoardRow> part;
        for (const auto& row : result) {
            part.push_back(BoardRow{0, row[0].as<int64_t>(), row[1].as<std::string>(),
                                    row[2].as<double>(), DateOf(row[3])});
        }
        if (reversed)
            std::reverse(part.begin(), part.end());
        for (auto& p : part) {
            p.rank = firstRank++;
            rows.push_back(std::move(p));
        }
    };
    if (!around) {
        add(r.exec_params(columns + " ORDER BY score DESC, id LIMIT $2", dayText, limit), 1, false);
        return rows;
    }
    const auto target = r.exec_params(
        "SELECT score FROM submissions WHERE id = $2 AND " + where + dayParam, dayText, *around);
    if (target.empty())
        return rows;
    const double score = target[0][0].as<double>();
    const int64_t rank =
        1 + r.exec_params("SELECT count(*) FROM submissions WHERE " + where + dayParam +
                              " AND (score > $2 OR (score = $2 AND id < $3))",
                          dayText, score, *around)[0][0]
                .as<int64_t>();
    const int64_t before = std::min<int64_t>((limit - 1) / 2, rank - 1);
    add(r.exec_params(columns + " AND (score > $2 OR (score = $2 AND id < $3)) "
                                "ORDER BY score ASC, id DESC LIMIT $4",
                      dayText, score, *around, before),
        rank - before, true);
    add(r.exec_params(columns + " AND (score < $2 OR (score = $2 AND id >= $3)) "
                                "ORDER BY score DESC, id LIMIT $4",
                      dayText, score, *around, limit - before),
        rank, false);
    return rows;
}

std::optional<ScoreView> FindScore(pqxx::connection& c, int64_t id) {
    pqxx::read_transaction r(c);
    const auto rows = r.exec_params(
        "SELECT id, status, name, to_char(received AT TIME ZONE 'UTC', 'YYYY-MM-DD'), score, "
        "game_ms, reason, reason_line, day::text FROM submissions WHERE id = $1 AND NOT hidden",
        id);
    if (rows.empty())
        return std::nullopt;
    const auto& row = rows[0];
    ScoreView v;
    v.id = row[0].as<int64_t>();
    v.status = row[1].as<std::string>();
    v.name = row[2].as<std::string>();
    v.date = DateOf(row[3]);
    if (!row[6].is_null())
        v.reason = row[6].as<std::string>();
    if (!row[7].is_null())
        v.line = row[7].as<int>();
    if (v.status != "verified")
        return v;
    v.score = row[4].as<double>();
    v.gameMs = row[5].as<int64_t>();
    const std::string rankOf = "SELECT 1 + count(*) FROM submissions WHERE " +
                               std::string(kOnBoard) +
                               " AND (score > $1 OR (score = $1 AND id < $2))";
    v.rankAll = r.exec_params(rankOf, v.score, v.id)[0][0].as<int64_t>();
    if (!row[8].is_null()) {
        v.day = row[8].as<std::string>();
        v.rankToday = r.exec_params(rankOf + " AND day = $3::date", v.score, v.id, *v.day)[0][0]
                          .as<int64_t>();
    }
    return v;
}

std::optional<std::string> FindReplayText(pqxx::connection& c, int64_t id) {
    pqxx::read_transaction r(c);
    const auto rows =
        r.exec_params("SELECT replay FROM submissions WHERE id = $1 AND NOT hidden", id);
    if (rows.empty())
        return std::nullopt;
    return pqxx::binarystring(rows[0][0]).str();
}

bool Hide(pqxx::connection& c, int64_t id) {
    pqxx::work w(c);
    const auto result = w.exec_params("UPDATE submissions SET hidden = true WHERE id = $1", id);
    w.commit();
    return result.affected_rows() == 1;
}

std::optional<Job> Claim(pqxx::connection& c, double leaseSeconds) {
    pqxx::work w(c);
    const auto rows = w.exec_params(
        "UPDATE submissions s SET attempts = s.attempts + 1, "
        "lease_until = now() + make_interval(secs => $1) "
        "FROM (SELECT id FROM submissions WHERE status = 'pending' AND "
        "(lease_until IS NULL OR lease_until < now()) ORDER BY id LIMIT 1 "
        "FOR UPDATE SKIP LOCKED) c WHERE s.id = c.id "
        "RETURNING s.id, s.attempts, s.replay, s.seed::text, "
        "(extract(epoch FROM s.received - s.issued) * 1000)::bigint",
        leaseSeconds);
    w.commit();
    if (rows.empty())
        return std::nullopt;
    const auto& row = rows[0];
    Job job;
    job.id = row[0].as<int64_t>();
    job.attempts = row[1].as<int>();
    job.replay = pqxx::binarystring(row[2]).str();
    ParseDecimal(row[3].as<std::string>(), UINT64_MAX, job.seed);
    job.realMs = row[4].as<int64_t>();
    return job;
}

bool Finish(pqxx::connection& c, const Job& job, const Verdict& v) {
    pqxx::work w(c);
    const std::string where =
        " finished = now(), lease_until = NULL WHERE id = $1 AND attempts = $2 AND "
        "status = 'pending'";
    const auto result = v.accepted ? w.exec_params(
                                         "UPDATE submissions SET status = 'verified', score = $3, "
                                         "game_ms = $4," +
                                             where,
                                         job.id, job.attempts, v.score, v.gameMs)
                                   : w.exec_params(
                                         "UPDATE submissions SET status = 'refused', reason = $3, "
                                         "reason_line = NULLIF($4, -1)," +
                                             where,
                                         job.id, job.attempts, v.reason, v.line.value_or(-1));
    w.commit();
    return result.affected_rows() == 1;
}

void Release(pqxx::connection& c, const Job& job) {
    pqxx::work w(c);
    w.exec_params(
        "UPDATE submissions SET lease_until = NULL WHERE id = $1 AND attempts = $2 AND "
        "status = 'pending'",
        job.id, job.attempts);
    w.commit();
}

}  // namespace sinkaway::server
