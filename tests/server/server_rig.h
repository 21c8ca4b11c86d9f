// Test rig for the server: a database of its own in the fixture's cluster, the real
// sinkaway-server started on a free port, and HTTP calls to it.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <pqxx/pqxx>
#include <string>
#include <thread>
#include <vector>

#include "run_binary.h"
#include "token.h"

namespace sinkaway::testing {

using json = nlohmann::json;

// A database made for one test in the fixture's cluster, dropped after it.
class TestDatabase {
  public:
    TestDatabase() {
        cluster_ = ReadFile(std::string(SINKAWAY_PG_DIR) + "/conninfo");
        while (!cluster_.empty() && cluster_.back() == '\n') cluster_.pop_back();
        const size_t at = cluster_.find("dbname=");
        cluster_ = cluster_.substr(0, at);
        static int made = 0;
        name_ = "t" + server::Hex(server::Sha256(std::to_string(::getpid()) + "." +
                                                 std::to_string(::time(nullptr)) + "." +
                                                 std::to_string(++made)))
                          .substr(0, 16);
        pqxx::connection c(cluster_ + "dbname=postgres");
        pqxx::nontransaction(c).exec("CREATE DATABASE " + name_);
    }
    ~TestDatabase() {
        try {
            pqxx::connection c(cluster_ + "dbname=postgres");
            pqxx::nontransaction(c).exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
        } catch (const std::exception&) {
        }
    }
    std::string conninfo() const { return cluster_ + "dbname=" + name_; }
    // One value of a query.
    std::string Query(const std::string& sql) const {
        pqxx::connection c(conninfo());
        const auto r = pqxx::nontransaction(c).exec(sql);
        return r.empty() || r[0][0].is_null() ? "" : r[0][0].as<std::string>();
    }

  private:
    std::string cluster_, name_;
};

// The real sinkaway-server, killed with the object.
class ServerProcess {
  public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ~ServerProcess() { Kill(SIGKILL); }

    // Starts it with these flags and waits for its port; with `--listen none` it returns at once.
    void Start(const std::vector<std::string>& flags) {
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        std::vector<std::string> args = {SINKAWAY_SERVER};
        args.insert(args.end(), flags.begin(), flags.end());
        bool api = true, listens = false;
        for (size_t i = 0; i + 1 < flags.size(); ++i) {
            if (flags[i] == "--listen") {
                api = flags[i + 1] != "none";
                listens = true;
            }
        }
        if (api && !listens) {
            args.push_back("--listen");
            args.push_back("127.0.0.1:0");
        }
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        if (!api) {
            ::close(out[0]);
            return;
        }
        std::string text;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') text.push_back(c);
        ::close(out[0]);
        const size_t colon = text.rfind(':');
        ASSERT_NE(colon, std::string::npos) << "the server did not start: '" << text << "'";
        port_ = std::stoi(text.substr(colon + 1));
    }
    void Kill(int sig) {
        if (pid_ <= 0)
            return;
        ::kill(pid_, sig);
        int raw = 0;
        ::waitpid(pid_, &raw, 0);
        pid_ = -1;
    }
    int port() const { return port_; }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int port_ = 0;
};

struct Reply {
    int status = 0;
    json body;
    std::string text;
    std::string retryAfter;
};

inline Reply Call(int port, const std::string& method, const std::string& path,
                  const std::string& body = "") {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(60);
    client.set_write_timeout(60);
    httplib::Result r =
        method == "POST" ? client.Post(path, body, "application/json") : client.Get(path);
    Reply reply;
    if (!r)
        return reply;
    reply.status = r->status;
    reply.text = r->body;
    reply.body = json::parse(r->body, nullptr, false);
    reply.retryAfter = r->get_header_value("Retry-After");
    return reply;
}

// Polls a submission until it is no longer pending.
inline json Settled(int port, int64_t id, int seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        const Reply r = Call(port, "GET", "/api/v1/scores/" + std::to_string(id));
        if (r.status == 200 && r.body["status"] != "pending")
            return r.body;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return json{{"status", "still pending"}};
}

inline json Player(int n = 0) {
    char id[40];
    std::snprintf(id, sizeof id, "123e4567-e89b-42d3-a456-%012d", n);
    return json{{"id", id}, {"secret", "a secret of " + std::to_string(n) + " here"}};
}

inline std::string Submission(const std::string& token, const std::string& replay,
                              const std::string& name = "Ada", int player = 0) {
    return json{{"token", token}, {"name", name}, {"player", Player(player)}, {"replay", replay}}
        .dump();
}

}  // namespace sinkaway::testing
