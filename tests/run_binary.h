// Test helper: runs the game binary with a script and collects its exit status, trace and errors.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace sinkaway::testing {

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A scratch folder removed with the object.
class TempDir {
  public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "sinkaway-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct RunResult {
    int status = -1;
    std::string trace;
    std::string err;
    std::vector<std::string> traceLines() const { return SplitLines(trace); }
};

// Writes `script` to a file and runs `sinkaway --headless --script FILE --trace T <extra>`.
inline RunResult RunScript(const std::string& script, const std::string& extra = "--seed 7") {
    TempDir dir;
    const auto scriptPath = dir / "script.txt";
    std::ofstream(scriptPath, std::ios::binary) << script;
    const auto tracePath = dir / "trace.jsonl";
    const auto errPath = dir / "err.txt";
    const std::string cmd = std::string(SINKAWAY_BINARY) + " --headless --script '" +
                            scriptPath.string() + "' --trace '" + tracePath.string() + "' " +
                            extra + " 2>'" + errPath.string() + "'";
    RunResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    r.trace = ReadFile(tracePath);
    r.err = ReadFile(errPath);
    return r;
}

inline int RunCommand(const std::string& args, std::string* err = nullptr) {
    TempDir dir;
    const auto errPath = dir / "err.txt";
    const std::string cmd =
        std::string(SINKAWAY_BINARY) + " " + args + " >/dev/null 2>'" + errPath.string() + "'";
    const int raw = std::system(cmd.c_str());
    if (err != nullptr)
        *err = ReadFile(errPath);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

// Runs the game binary with exactly these arguments, without a shell: any bytes and lengths pass
// through unchanged. Standard input comes from `input` (empty: closed), standard output is
// discarded. A run still going after `seconds` is killed and reported with status -1.
inline RunResult RunArgs(const std::vector<std::string>& args, const std::string& input,
                         int seconds = 20) {
    TempDir dir;
    const std::string errPath = (dir / "err.txt").string();
    std::vector<char*> argv;
    std::string program = SINKAWAY_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open("/dev/null", O_WRONLY), 1);
        ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        ::close(0);
        if (!input.empty() && ::open(input.c_str(), O_RDONLY) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    RunResult r;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int raw = 0;
    while (::waitpid(pid, &raw, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &raw, 0);
            r.err = ReadFile(errPath);
            return r;  // status -1: it hung
        }
        ::usleep(5000);
    }
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    r.err = ReadFile(errPath);
    return r;
}

}  // namespace sinkaway::testing
