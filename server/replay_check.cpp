// Proving a replay in a child process, and judging what it proved.
#include "replay_check.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <vector>

#include "script.h"

namespace sinkaway::server {

namespace {

using json = nlohmann::json;

// The name the reader gives the replay in its messages: "replay:LINE: message".
constexpr const char* kStdin = "/dev/stdin";

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

ReplayFacts Failed(std::string reason) {
    ReplayFacts f;
    f.error = std::move(reason);
    return f;
}

ReplayFacts Internal(std::string reason) {
    ReplayFacts f = Failed(std::move(reason));
    f.internal = true;
    return f;
}

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", s);
    return text;
}

}  // namespace

int CheckReplayChild() {
    ReplayScript replay;
    std::string error;
    const int status = ReadReplay(kStdin, replay, error, false);
    json out;
    out["read"] = status == 0;
    out["work"] = replay.work;
    if (status == 0) {
        out["seed"] = std::to_string(replay.seed);
        out["score"] = replay.score;
        out["finished"] = replay.finished;
        out["game_ms"] = replay.gameTime / 1000;
    } else {
        // "/dev/stdin:LINE: message" from the reader; a file it could not read has no line.
        std::string message = error;
        const std::string prefix = std::string(kStdin) + ":";
        if (message.rfind(prefix, 0) == 0) {
            message.erase(0, prefix.size());
            const size_t colon = message.find(':');
            uint64_t line = 0;
            if (colon != std::string::npos &&
                ParseDecimal(std::string_view(message).substr(0, colon), INT32_MAX, line)) {
                out["line"] = line;
                message.erase(0, colon + 1);
                if (!message.empty() && message[0] == ' ')
                    message.erase(0, 1);
            }
        }
        out["error"] = message;
        out["over_bound"] = replay.work > kMaxReplayWork;
    }
    std::printf("%s\n", out.dump().c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

ReplayFacts CheckInChild(const std::string& program, const std::string& replay,
                         const ChildLimits& limits) {
    // The replay travels in memory: the child reads it as its standard input.
    const int input = ::memfd_create("sinkaway-replay", MFD_CLOEXEC);
    if (input < 0 || !WriteAll(input, replay.data(), replay.size()) ||
        ::lseek(input, 0, SEEK_SET) != 0) {
        if (input >= 0)
            ::close(input);
        return Internal("cannot hand the replay to the check");
    }
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(input);
        return Internal("cannot start the check");
    }
    std::string self = program, verb = "check-replay";
    char* argv[] = {self.data(), verb.data(), nullptr};
    const rlimit cpu{static_cast<rlim_t>(limits.cpuSeconds),
                     static_cast<rlim_t>(limits.cpuSeconds) + 1};
    const rlim_t bytes = static_cast<rlim_t>(limits.memoryMib) << 20;
    const rlimit memory{bytes, bytes};
    const rlimit noCore{0, 0};

    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only calls that are safe between fork and exec in a threaded program.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(input, 0);
        ::dup2(out[1], 1);
        ::close_range(3, ~0u, 0);
        ::setrlimit(RLIMIT_CPU, &cpu);
        ::setrlimit(RLIMIT_AS, &memory);
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setpriority(PRIO_PROCESS, 0, 10);
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    ::close(input);
    ::close(out[1]);
    if (pid < 0) {
        ::close(out[0]);
        return Internal("cannot start the check");
    }

    std::string text;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(limits.deadlineSeconds);
    bool late = false;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            late = true;
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<int64_t>(left, 1000)));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (text.size() < 65536)
            text.append(buffer, static_cast<size_t>(n));
    }
    ::close(out[0]);
    if (late)
        ::kill(pid, SIGKILL);
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    if (late) {
        return Failed("the check took longer than its deadline of " +
                      Seconds(limits.deadlineSeconds) + " s and was stopped");
    }
    if (WIFSIGNALED(raw)) {
        const int sig = WTERMSIG(raw);
        if (sig == SIGXCPU || sig == SIGKILL)
            return Failed("the check used more than its " + std::to_string(limits.cpuSeconds) +
                          " CPU seconds and was stopped");
        return Failed(std::string("the check crashed (") + strsignal(sig) + ")");
    }
    const json facts = json::parse(text, nullptr, false);
    if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0 || !facts.is_object() || !facts.contains("read")) {
        return Failed("the check failed (exit status " +
                      std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1) + ")");
    }
    ReplayFacts f;
    try {
        f.read = facts.at("read").get<bool>();
        f.work = facts.at("work").get<uint64_t>();
        if (f.read) {
            ParseDecimal(facts.at("seed").get<std::string>(), UINT64_MAX, f.seed);
            f.score = facts.at("score").get<double>();
            f.finished = facts.at("finished").get<bool>();
            f.gameMs = facts.at("game_ms").get<int64_t>();
        } else {
            f.error = facts.at("error").get<std::string>();
            f.overBound = facts.at("over_bound").get<bool>();
            if (facts.contains("line"))
                f.line = facts.at("line").get<int>();
        }
    } catch (const json::exception&) {
        return Failed("the check failed (an answer it should not give)");
    }
    return f;
}

Verdict Judge(const ReplayFacts& facts, uint64_t tokenSeed, int64_t realMs, int64_t slackMs) {
    Verdict v;
    if (!facts.read) {
        // The reader says it is no replay; past the bound, that is a reason of its own.
        std::string error = facts.error;
        const std::string notAReplay = "not a replay: ";
        if (facts.overBound && error.rfind(notAReplay, 0) == 0)
            error.erase(0, notAReplay.size());
        v.reason = facts.overBound ? "over the work bound: " + error : error;
        v.line = facts.line;
        return v;
    }
    if (facts.seed != tokenSeed) {
        v.reason = "the replay's seed " + std::to_string(facts.seed) +
                   " is not the seed its session was given";
        v.line = 1;
    } else if (!facts.finished) {
        v.reason = "the replay does not end on a finished game (the game-over screen)";
    } else if (facts.gameMs > realMs + slackMs) {
        v.reason = "the replay claims " + std::to_string(facts.gameMs / 1000) +
                   " s of game time, more than the " + std::to_string(realMs / 1000) +
                   " s of real time since its session began";
    } else {
        v.accepted = true;
        v.score = facts.score;
        v.gameMs = facts.gameMs;
    }
    return v;
}

}  // namespace sinkaway::server
