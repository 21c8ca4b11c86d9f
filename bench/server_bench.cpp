// The server's figures (make bench-server): how fast it proves submitted games beside the bare
// `sinkaway --verify` of the same files, how board reads fare with its workers idle and saturated,
// and what memory the server and one check take. Everything on 127.0.0.1, bounded in count and
// time; the results go to a Markdown file.
//   server_bench SERVER GAME CLUSTER_CONNINFO OUT.md
#include <httplib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <pqxx/pqxx>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../tests/bot.h"
#include "token.h"

namespace {

using namespace sinkaway;
using Clock = std::chrono::steady_clock;
using json = nlohmann::json;
const std::string kKey(40, 'b');

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// A bot's session of about `seconds`: games one after another, the last left to end by itself.
std::string BotSession(uint64_t seed, int64_t seconds) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(seed);
    ScriptWriter script;
    script.Start(seed);
    testing::Bot bot(session, seed, testing::BotStyle{}, nullptr, &script);
    bot.PlayUntil(seconds * 1'000'000);
    for (int i = 0; i < 100'000 && !session.game.form.lblGameOver.visible; ++i) {
        const Form& f = session.game.form;
        if (!InPlay(f)) {
            const ScriptEvent start{
                .verb = Verb::kClick,
                .target = f.imgNewGame.visible ? ClickTarget::imgNewGame : ClickTarget::cmdNewGame};
            PlayEvent(session, start);
            script.Event(session.now(), start);
        }
        PlayEvent(session, {.verb = Verb::kAdvance, .number = 500});
        script.AdvanceTo(session.now());
    }
    return script.text();
}

class Server {
  public:
    Server(const std::string& program, const std::string& conninfo, const std::string& key,
           int workers) {
        int out[2];
        if (::pipe(out) != 0)
            std::exit(1);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::setenv("SINKAWAY_DATABASE", conninfo.c_str(), 1);
            const std::string w = std::to_string(workers);
            ::execl(program.c_str(), program.c_str(), "--key-file", key.c_str(), "--listen",
                    "127.0.0.1:0", "--workers", w.c_str(), "--no-rate-limits", "--queue-limit", "0",
                    "--poll-seconds", "0.5", "--http-threads", "32", nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        std::string line;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
        ::close(out[0]);
        port_ = std::stoi(line.substr(line.rfind(':') + 1));
    }
    ~Server() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    int port() const { return port_; }
    // Peak resident memory so far, in MiB.
    double PeakMib() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0)
                return std::stod(line.substr(6)) / 1024;
        }
        return 0;
    }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
};

std::vector<int64_t> SubmitAll(int port, const std::vector<std::string>& replays, int player,
                               int64_t age = 2 * 3600) {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60);
    const int64_t issued = ::time(nullptr) - age;
    std::vector<int64_t> ids;
    for (size_t i = 0; i < replays.size(); ++i) {
        uint64_t seed = 0;
        std::istringstream(replays[i].substr(5)) >> seed;
        const json body{{"token", server::MintToken(kKey, {seed, issued, false})},
                        {"name", "bench"},
                        {"player",
                         {{"id", "00000000-0000-4000-8000-" + std::string(8, '0') +
                                     std::to_string(1000 + player)},
                          {"secret", "bench secret 0123456789"}}},
                        {"replay", replays[i]}};
        auto r = client.Post("/api/v1/scores", body.dump(), "application/json");
        if (!r || r->status != 202) {
            std::fprintf(stderr, "server_bench: submission refused: %s\n",
                         r ? r->body.c_str() : "no answer");
            std::exit(1);
        }
        ids.push_back(json::parse(r->body)["id"].get<int64_t>());
    }
    return ids;
}

int64_t Pending(const std::string& conninfo) {
    pqxx::connection c(conninfo);
    return pqxx::nontransaction(c)
        .exec("SELECT count(*) FROM submissions WHERE status = 'pending'")[0][0]
        .as<int64_t>();
}

void WaitDone(const std::string& conninfo) {
    while (Pending(conninfo) > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

struct Reads {
    double rate = 0, p50 = 0, p99 = 0;
    int errors = 0;
};

// `rate` board reads a second for `seconds`, sent on schedule by a few clients, each read's time
// from its scheduled moment to its answer.
Reads ReadBoards(int port, double rate, double seconds, int64_t around) {
    const int clients = 4;
    std::vector<std::vector<double>> times(clients);
    std::atomic<int> errors{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < clients; ++t) {
        threads.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            const double gap = clients / rate;
            for (int i = 0;; ++i) {
                const double at = (i + static_cast<double>(t) / clients) * gap;
                if (at >= seconds)
                    break;
                const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(at));
                std::this_thread::sleep_until(due);
                const char* paths[] = {"/api/v1/boards/all?limit=10", "/api/v1/boards/today",
                                       nullptr};
                std::string path = paths[i % 3] != nullptr ? paths[i % 3]
                                                           : "/api/v1/boards/all?limit=10&around=" +
                                                                 std::to_string(around);
                auto r = client.Get(path);
                if (!r || r->status != 200)
                    ++errors;
                times[t].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - due).count());
            }
        });
    }
    for (auto& t : threads) t.join();
    std::vector<double> all;
    for (auto& v : times) all.insert(all.end(), v.begin(), v.end());
    std::sort(all.begin(), all.end());
    Reads out;
    out.rate = all.size() / Since(start);
    out.p50 = all[all.size() / 2];
    out.p99 = all[all.size() * 99 / 100];
    out.errors = errors;
    return out;
}

// `sinkaway --verify` on each file, one after another.
double BareVerify(const std::string& game, const std::vector<std::string>& files) {
    const auto start = Clock::now();
    for (const auto& f : files) {
        const std::string cmd = "'" + game + "' --verify '" + f + "' >/dev/null";
        if (std::system(cmd.c_str()) != 0)
            std::exit(1);
    }
    return files.size() / Since(start);
}

// One check of the hour-long replay in a child, as a worker runs it: its peak resident memory.
double CheckPeakMib(const std::string& server, const std::string& file) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::freopen(file.c_str(), "rb", stdin);
        ::freopen("/dev/null", "wb", stdout);
        ::execl(server.c_str(), server.c_str(), "check-replay", nullptr);
        ::_exit(127);
    }
    int raw = 0;
    rusage usage{};
    ::wait4(pid, &raw, 0, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: server_bench SERVER GAME CLUSTER_CONNINFO OUT.md\n");
        return 2;
    }
    const std::string program = argv[1], game = argv[2], cluster = argv[3], outPath = argv[4];
    const auto dir =
        std::filesystem::temp_directory_path() / ("sinkaway-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream((dir / "key").string()) << kKey;
    {
        pqxx::connection c(cluster + " dbname=postgres");
        pqxx::nontransaction n(c);
        n.exec("DROP DATABASE IF EXISTS sinkaway_bench WITH (FORCE)");
        n.exec("CREATE DATABASE sinkaway_bench");
    }
    const std::string conninfo = cluster + " dbname=sinkaway_bench";
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // What else the machine was doing: its figures move with it.
    auto load = [] {
        std::ifstream in("/proc/loadavg");
        double one = 0;
        in >> one;
        return one;
    };
    const double loadBefore = load();

    std::fprintf(stderr, "server_bench: recording bot sessions\n");
    struct Set {
        const char* name;
        int64_t seconds;
        int count;
        std::vector<std::string> replays, files;
        double server = 0, bare = 0;
    };
    std::vector<Set> sets = {{"one-minute sessions", 60, 200, {}, {}},
                             {"hour-long sessions", 3600, 24, {}, {}}};
    uint64_t seed = 1000;
    for (Set& s : sets) {
        for (int i = 0; i < s.count; ++i) {
            s.replays.push_back(BotSession(++seed, s.seconds));
            s.files.push_back((dir / (std::to_string(seed) + ".txt")).string());
            std::ofstream(s.files.back(), std::ios::binary) << s.replays.back();
        }
    }

    Server server(program, conninfo, (dir / "key").string(), cores);
    int player = 0;
    for (Set& s : sets) {
        std::fprintf(stderr, "server_bench: %s\n", s.name);
        s.bare = BareVerify(game, s.files);
        const auto start = Clock::now();
        SubmitAll(server.port(), s.replays, ++player);
        WaitDone(conninfo);
        s.server = s.count / Since(start);
    }
    {
        pqxx::connection c(conninfo);
        pqxx::nontransaction n(c);
        const auto refused = n.exec("SELECT count(*) FROM submissions WHERE status <> 'verified'");
        if (refused[0][0].as<int64_t>() != 0) {
            std::fprintf(stderr, "server_bench: some bench games were refused\n");
            return 1;
        }
        // A board of some size: 20 000 more verified rows (the bench's own, never a real table).
        n.exec(
            "INSERT INTO submissions (replay_sha256, replay, player, name, seed, issued, day, "
            "status, score, game_ms, finished) SELECT sha256(i::text::bytea), i::text::bytea, "
            "player, 'filler', 1, now(), current_date, 'verified', (i * 7919) % 5000, 60000, "
            "now() FROM generate_series(1, 20000) i, (SELECT player FROM submissions LIMIT 1) p");
        n.exec("ANALYZE submissions");
    }
    const int64_t around = 5000;

    std::fprintf(stderr, "server_bench: board reads, workers idle\n");
    const Reads idle = ReadBoards(server.port(), 500, 10, around);
    // A backlog that keeps every worker busy for longer than the reads last: the dearest replays
    // there are, a session and then days on its game-over screen, which run the rules up to the
    // work bound (some 2.5 s each) before they are refused.
    std::vector<std::string> backlog;
    for (int i = 0; i < 8 * cores; ++i)
        backlog.push_back(sets[0].replays[i] + "advance 460000000\n");
    std::fprintf(stderr, "server_bench: board reads, workers saturated\n");
    SubmitAll(server.port(), backlog, ++player, 6 * 86400);
    const Reads busy = ReadBoards(server.port(), 500, 10, around);
    const bool stillBusy = Pending(conninfo) > 0;
    WaitDone(conninfo);
    const double serverMib = server.PeakMib();
    const double checkMib = CheckPeakMib(program, sets[1].files[0]);

    const double loadAfter = load();
    std::ofstream out(outPath);
    char line[512];
    out << "# The server's figures\n\n"
           "Written by `make bench-server` (`bench/server_bench.cpp`) on this machine: "
        << cores << " cores, the server with " << cores
        << " workers and no rate limits, a private PostgreSQL 15 cluster on 127.0.0.1. The bot "
           "of the tests plays the sessions; each ends on a finished game. The machine's load "
           "average (one minute) was "
        << loadBefore << " at the start and " << loadAfter
        << " at the end, this run included: other work on the machine shows in the tails.\n\n"
           "## Verification throughput\n\n"
           "Games proven a second, from the first submission to the last verdict, beside the "
           "bare `sinkaway --verify` of the same files one after another.\n\n"
           "| Games | Count | Server (games/s) | Bare --verify (games/s) | Ratio |\n"
           "|---|---:|---:|---:|---:|\n";
    for (const Set& s : sets) {
        std::snprintf(line, sizeof line, "| %s | %d | %.1f | %.1f | %.2f× |\n", s.name, s.count,
                      s.server, s.bare, s.server / s.bare);
        out << line;
    }
    out << "\n## Board reads\n\n"
           "500 reads a second asked for 10 s by 4 keep-alive clients (the top ten of all "
           "games, today's board, and ten rows around an entry, in turn), over a board of "
           "20 000 rows; a read's time runs from its scheduled moment to its answer. "
           "Saturated: a backlog of "
        << backlog.size()
        << " of the dearest replays there are (a session, then days on its game-over screen, "
           "played up to the work bound: some 2.5 s each)"
        << (stillBusy ? ", not yet worked off when the reads ended"
                      : ", worked off before the reads ended")
        << ".\n\n"
        << "| Workers | Reads/s | p50 (ms) | p99 (ms) | Errors |\n|---|---:|---:|---:|---:|\n";
    for (const auto& [name, r] : {std::pair{"idle", idle}, std::pair{"saturated", busy}}) {
        std::snprintf(line, sizeof line, "| %s | %.0f | %.2f | %.2f | %d |\n", name, r.rate, r.p50,
                      r.p99, r.errors);
        out << line;
    }
    std::snprintf(line, sizeof line,
                  "\n## Memory\n\n| Process | Peak RSS (MiB) |\n|---|---:|\n"
                  "| the server, at the end of the run | %.1f |\n"
                  "| one check of an hour-long session | %.1f |\n",
                  serverMib, checkMib);
    out << line;
    std::filesystem::remove_all(dir);
    std::fprintf(stderr, "server_bench: written to %s\n", outPath.c_str());
    return 0;
}
