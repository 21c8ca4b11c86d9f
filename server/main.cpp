// sinkaway-server: the world's boards. Serves the API (and the page, if given one), runs the
// workers that prove each submitted replay, and hides an entry on the operator's word.
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

#include "api.h"
#include "database.h"
#include "replay_check.h"
#include "script.h"
#include "token.h"
#include "worker.h"

namespace {

using namespace sinkaway::server;

std::string Env(const char* name, std::string fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// Waits for TERM or INT (blocked in every thread before any starts).
int WaitForStop(const sigset_t& stops) {
    int sig = 0;
    sigwait(&stops, &sig);
    return sig;
}

}  // namespace

int main(int argc, char** argv) {
    // The child that reads one replay: as little as possible between it and the reader.
    if (argc == 2 && std::string(argv[1]) == "check-replay")
        return CheckReplayChild();

    CLI::App app{
        "sinkaway-server: the world's best games of Sinkaway, each replay played again "
        "before its score is believed.",
        "sinkaway-server"};
    app.set_version_flag("--version", std::string("sinkaway-server ") + SINKAWAY_VERSION);
    std::string database = Env("SINKAWAY_DATABASE", "");
    std::string listen = Env("SINKAWAY_LISTEN", "127.0.0.1:8080");
    std::string site = Env("SINKAWAY_SITE", "");
    std::string keyFile = Env("SINKAWAY_KEY_FILE", "");
    int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    int httpThreads = 16;
    WorkerSettings ws;
    ApiSettings as;
    double slackSeconds = 30, tokenHours = 168, maxRequestMib = 48;
    bool noRateLimits = false;
    app.add_option("--database", database,
                   "PostgreSQL, as a libpq connection string ($SINKAWAY_DATABASE; empty: libpq's "
                   "PG* variables)");
    app.add_option("--listen", listen,
                   "HOST:PORT to serve on, or 'none' for workers only ($SINKAWAY_LISTEN)");
    app.add_option("--workers", workers,
                   "Replays verified at once by this process (default: the machine's cores)")
        ->envname("SINKAWAY_WORKERS")
        ->check(CLI::Range(0, 256));
    app.add_option("--site", site,
                   "A folder served at / beside the API, such as the page ($SINKAWAY_SITE)");
    app.add_option("--key-file", keyFile,
                   "The HMAC key that signs sessions, made if missing ($SINKAWAY_KEY_FILE)");
    app.add_option("--http-threads", httpThreads, "Requests answered at once")
        ->check(CLI::Range(1, 1024));
    app.add_option("--token-hours", tokenHours, "How long a session's token is good for")
        ->check(CLI::Range(0.001, 1e5));
    app.add_option("--time-slack", slackSeconds,
                   "Seconds of game time a replay may claim beyond the real time of its session")
        ->check(CLI::Range(0.0, 1e6));
    app.add_option("--rate-address", as.addressPerMinute,
                   "API requests a minute from one address (0: no limit)")
        ->check(CLI::Range(0.0, 1e9));
    app.add_option("--rate-player", as.playerPerMinute,
                   "Submissions a minute from one player (0: no limit)")
        ->check(CLI::Range(0.0, 1e9));
    app.add_flag("--no-rate-limits", noRateLimits,
                 "No rate limits at all: for benchmarks and local tests only");
    app.add_option("--queue-limit", as.queueLimit,
                   "Games waiting for verification before new ones are turned away (0: no limit)")
        ->check(CLI::Range(int64_t{0}, int64_t{1} << 40));
    app.add_option("--max-request-mib", maxRequestMib,
                   "The largest request body taken, checked before it is read")
        ->check(CLI::Range(1.0, 1024.0));
    app.add_option("--board-seconds", as.boardSeconds,
                   "How long a board read is answered again from memory (0: never)")
        ->check(CLI::Range(0.0, 3600.0));
    app.add_option("--check-cpu-seconds", ws.limits.cpuSeconds,
                   "CPU seconds one replay's check may use")
        ->check(CLI::Range(1, 3600));
    app.add_option("--check-memory-mib", ws.limits.memoryMib, "Memory one replay's check may use")
        ->check(CLI::Range(16, 65536));
    app.add_option("--check-deadline", ws.limits.deadlineSeconds,
                   "Seconds of real time after which a replay's check is stopped")
        ->check(CLI::Range(0.01, 3600.0));
    app.add_option("--lease-seconds", ws.leaseSeconds,
                   "How long a worker's claim on a job holds before another may take it")
        ->check(CLI::Range(0.1, 86400.0));
    app.add_option("--poll-seconds", ws.pollSeconds,
                   "How often an idle worker looks for jobs without a notice")
        ->check(CLI::Range(0.01, 3600.0));
    int64_t hideId = 0;
    // The options also after the subcommand: sinkaway-server hide 42 --database ...
    app.fallthrough();
    CLI::App* hide = app.add_subcommand("hide", "Hide a game from the boards (it stays stored)");
    hide->add_option("ID", hideId, "The game's id")->required();
    CLI11_PARSE(app, argc, argv);

    try {
        pqxx::connection c(database);
        if (hide->parsed()) {
            if (!Hide(c, hideId)) {
                std::fprintf(stderr, "sinkaway-server: no game %lld\n",
                             static_cast<long long>(hideId));
                return 1;
            }
            std::printf("game %lld hidden\n", static_cast<long long>(hideId));
            return 0;
        }
        const int applied = Migrate(c);
        if (applied > 0)
            std::fprintf(stderr, "sinkaway-server: %d migration(s) applied\n", applied);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sinkaway-server: the database: %s\n", e.what());
        return 1;
    }

    if (keyFile.empty()) {
        std::fprintf(stderr, "sinkaway-server: --key-file is required\n");
        return 2;
    }
    std::string error;
    if (!LoadKey(keyFile, as.key, error)) {
        std::fprintf(stderr, "sinkaway-server: %s\n", error.c_str());
        return 1;
    }
    if (noRateLimits)
        as.addressPerMinute = as.playerPerMinute = 0;
    as.tokenSeconds = static_cast<int64_t>(tokenHours * 3600);
    as.maxRequestBytes = static_cast<size_t>(maxRequestMib * (1 << 20));
    ws.database = database;
    ws.slackMs = static_cast<int64_t>(slackSeconds * 1000);
    std::error_code ec;
    ws.program = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    if (ec) {
        std::fprintf(stderr, "sinkaway-server: cannot find its own program\n");
        return 1;
    }

    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Workers verifiers(ws, workers);
    if (listen == "none") {
        std::fprintf(stderr, "sinkaway-server: %d worker(s), no API\n", workers);
        WaitForStop(stops);
        return 0;
    }
    const size_t colon = listen.rfind(':');
    int port = 0;
    try {
        port = colon == std::string::npos ? -1 : std::stoi(listen.substr(colon + 1));
    } catch (const std::exception&) {
        port = -1;
    }
    if (port < 0 || port > 65535) {
        std::fprintf(stderr, "sinkaway-server: --listen wants HOST:PORT, not '%s'\n",
                     listen.c_str());
        return 2;
    }
    const std::string host = listen.substr(0, colon);

    Pool pool(database, static_cast<size_t>(httpThreads));
    Api api(as, pool);
    httplib::Server http;
    http.new_task_queue = [httpThreads] { return new httplib::ThreadPool(httpThreads); };
    // Headers and body go out in two writes: without this, a delayed ACK holds each answer on a
    // kept-alive connection some 40 ms.
    http.set_tcp_nodelay(true);
    // cpp-httplib's own default would share the port with any other program listening on it,
    // which then gets half the requests: here a port in use is an error, as it should be.
    http.set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    http.set_read_timeout(30);
    http.set_write_timeout(30);
    api.Mount(http);
    // The page's own kinds of files, which cpp-httplib 0.11 does not all know.
    http.set_file_extension_and_mimetype_mapping("wasm", "application/wasm");
    http.set_file_extension_and_mimetype_mapping("js", "text/javascript");
    http.set_file_extension_and_mimetype_mapping("mjs", "text/javascript");
    http.set_file_extension_and_mimetype_mapping("webmanifest", "application/manifest+json");
    http.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
    if (!site.empty() && !http.set_mount_point("/", site)) {
        std::fprintf(stderr, "sinkaway-server: no folder %s to serve\n", site.c_str());
        return 1;
    }
    if (port == 0) {
        port = http.bind_to_any_port(host);
    } else if (!http.bind_to_port(host, port)) {
        port = -1;
    }
    if (port < 0) {
        std::fprintf(stderr, "sinkaway-server: cannot listen on %s\n", listen.c_str());
        return 1;
    }
    // The port on a line of its own, for whoever started it with port 0.
    std::printf("listening on http://%s:%d/\n", host.c_str(), port);
    std::fflush(stdout);
    std::fprintf(stderr, "sinkaway-server: %d worker(s), serving http://%s:%d/\n", workers,
                 host.c_str(), port);
    std::thread stopper([&] {
        WaitForStop(stops);
        http.stop();
    });
    http.listen_after_bind();
    // Stopped some other way: let the stopper go too.
    kill(getpid(), SIGTERM);
    stopper.join();
    return 0;
}
