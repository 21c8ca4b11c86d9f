// Hostile command lines and script files: whatever arrives, the program ends on its own with the
// contract's exit status (2 for a command-line or script mistake, 1 for any other failure) and
// exactly one line on standard error.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "run_binary.h"

namespace sinkaway::testing {
namespace {

const std::string kLong(100'000, 'a');  // about 100 kB, under the kernel's limit for one argument

struct Call {
    Call(std::vector<std::string> a, std::string in = "/dev/null", std::string fifo = "")
        : args(std::move(a)), input(std::move(in)), fifoText(std::move(fifo)) {}
    std::vector<std::string> args;
    std::string input;     // standard input; empty: closed
    std::string fifoText;  // written into the FIFO "fifo" of the scratch folder, if it made one
    std::vector<std::pair<std::string, std::string>> env;  // set for the game only
};

// Sets variables for the life of the object (the game inherits them), then puts them back.
class ScopedEnv {
  public:
    explicit ScopedEnv(const std::vector<std::pair<std::string, std::string>>& vars) {
        for (const auto& [name, value] : vars) {
            const char* old = ::getenv(name.c_str());
            saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
            ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnv() {
        for (const auto& s : saved_) {
            if (s.had)
                ::setenv(s.name.c_str(), s.value.c_str(), 1);
            else
                ::unsetenv(s.name.c_str());
        }
    }

  private:
    struct Saved {
        std::string name;
        bool had;
        std::string value;
    };
    std::vector<Saved> saved_;
};

struct Hostile {
    const char* name;
    std::function<Call(const TempDir&)> setup;
    int status;
    const char* words;  // part of the one line on standard error
};

void PrintTo(const Hostile& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> Headless(const std::string& script, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--headless", "--script", script};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::string Script(const TempDir& dir) {
    std::ofstream(dir / "s.txt") << "click imgNewGame\nadvance 500\n";
    return (dir / "s.txt").string();
}

// Writes the text into the FIFO once the game has opened it, then closes it: the game sees its
// script end wherever the text ends. Gives up if the game never opens the FIFO.
void FeedFifo(const std::string& path, const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int fd = -1;
    while ((fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK)) < 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return;
        ::usleep(2000);
    }
    ::fcntl(fd, F_SETFL, 0);
    [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
    ::close(fd);
}

class HostileTest : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileTest, EndsOnItsOwnWithTheRightStatusAndOneLine) {
    const Hostile& c = GetParam();
    TempDir dir;
    const Call call = c.setup(dir);
    std::thread feeder;
    if (std::filesystem::exists(dir / "fifo")) {
        feeder = std::thread(FeedFifo, (dir / "fifo").string(), call.fifoText);
    }
    const RunResult r = [&] {
        const ScopedEnv env(call.env);
        return RunArgs(call.args, call.input);
    }();
    if (feeder.joinable())
        feeder.join();

    ASSERT_NE(r.status, -1) << "still running after 20 s";
    EXPECT_EQ(r.status, c.status) << r.err.substr(0, 300);
    const auto lines = SplitLines(r.err);
    if (c.status == 0) {
        EXPECT_TRUE(lines.empty()) << r.err.substr(0, 300);
    } else {
        ASSERT_EQ(lines.size(), 1u) << r.err.substr(0, 300);
        EXPECT_NE(lines[0].find(c.words), std::string::npos) << lines[0].substr(0, 300);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, HostileTest,
    ::testing::Values(
        Hostile{"UnknownOption", [](auto&) { return Call{{"--bogus"}}; }, 2, "--bogus"},
        Hostile{"ControlAndHighBytes",
                [](auto&) {
                    return Call{{"\x01\xff\xfe", "--\x1b[2J"}};
                },
                2, "not expected"},
        Hostile{"OptionWithoutValue",
                [](auto&) {
                    return Call{{"--headless", "--script"}};
                },
                2, "--script"},
        Hostile{"SeedTooBig",
                [](auto& d) {
                    return Call{Headless(Script(d), {"--seed", "99999999999999999999999"})};
                },
                2, "--seed"},
        Hostile{"SeedNegative", [](auto& d) { return Call{Headless(Script(d), {"--seed=-1"})}; }, 2,
                "--seed"},
        Hostile{"ScaleHuge",
                [](auto&) {
                    return Call{{"--scale", "1e9"}};
                },
                2, "--scale"},
        Hostile{"ScaleBeyond64Bits",
                [](auto&) {
                    return Call{{"--scale", "99999999999999999999"}};
                },
                2, "--scale"},
        Hostile{"LongOptionName", [](auto&) { return Call{{"--" + kLong}}; }, 2, "not expected"},
        Hostile{"LongSeed",
                [](auto& d) {
                    return Call{Headless(Script(d), {"--seed", std::string(100'000, '9')})};
                },
                2, "--seed"},
        Hostile{"LongScriptPath", [](auto&) { return Call{Headless(kLong)}; }, 1,
                "cannot open script"},
        Hostile{"LongTracePath",
                [](auto& d) {
                    return Call{Headless(Script(d), {"--trace", "/tmp/" + kLong})};
                },
                1, "cannot write trace"}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    ScriptFile, HostileTest,
    ::testing::Values(Hostile{"Unreadable",
                              [](auto& d) {
                                  // Root reads it all the same; the read error below covers that
                                  // case.
                                  if (::geteuid() == 0)
                                      return Call{Headless("/nonexistent/s.txt")};
                                  const std::string s = Script(d);
                                  ::chmod(s.c_str(), 0);
                                  return Call{Headless(s)};
                              },
                              1, "cannot open script"},
                      Hostile{"ReadFailsHalfway",
                              [](auto&) { return Call{Headless("/proc/self/mem")}; }, 1,
                              "cannot read the script"},
                      Hostile{"Folder", [](auto& d) { return Call{Headless(d.path().string())}; },
                              1, "cannot read the script"},
                      Hostile{"DevZero", [](auto&) { return Call{Headless("/dev/zero")}; }, 2,
                              "/dev/zero:1: line longer than 4096 bytes"},
                      Hostile{"DevZeroOnStdin",
                              [](auto&) {
                                  return Call{Headless("-"), "/dev/zero"};
                              },
                              2, "-:1: line longer than 4096 bytes"},
                      Hostile{"StdinClosed",
                              [](auto&) {
                                  return Call{Headless("-"), ""};
                              },
                              1, "cannot read the script"},
                      Hostile{"RandomBytes",
                              [](auto& d) {
                                  std::string bytes;
                                  uint32_t x = 12345;
                                  for (int i = 0; i < 20'000; ++i) {
                                      x = x * 1103515245u + 12345u;
                                      bytes += static_cast<char>(x >> 24);
                                  }
                                  std::ofstream(d / "r.bin", std::ios::binary) << bytes;
                                  return Call{Headless((d / "r.bin").string())};
                              },
                              2, "r.bin:1: "},
                      Hostile{"FifoClosedMidLine",
                              [](auto& d) {
                                  ::mkfifo((d / "fifo").c_str(), 0600);
                                  return Call{Headless((d / "fifo").string()), "/dev/null",
                                              "click imgNewGame\nadvance 200\nkeyd"};
                              },
                              2, "fifo:3: unknown verb 'keyd'"},
                      Hostile{"FifoClosedAfterAWholeLine",
                              [](auto& d) {
                                  ::mkfifo((d / "fifo").c_str(), 0600);
                                  return Call{Headless((d / "fifo").string()), "/dev/null",
                                              "click imgNewGame\nadvance 200"};
                              },
                              0, ""},
                      Hostile{"FifoClosedEmpty",
                              [](auto& d) {
                                  ::mkfifo((d / "fifo").c_str(), 0600);
                                  return Call{Headless((d / "fifo").string())};
                              },
                              0, ""},
                      Hostile{"TraceOnFullDisk",
                              [](auto& d) {
                                  return Call{Headless(Script(d), {"--trace", "/dev/full"})};
                              },
                              1, "cannot write trace"}),
    [](const auto& info) { return info.param.name; });

// The window's command line. The dummy video driver stands in for a display, so a mistake that
// got through would open a window nobody closes and show as a hang.
Call Window(std::vector<std::string> args,
            std::vector<std::pair<std::string, std::string>> env = {}) {
    Call call{std::move(args)};
    call.env = {{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"}};
    call.env.insert(call.env.end(), env.begin(), env.end());
    return call;
}

INSTANTIATE_TEST_SUITE_P(
    Window, HostileTest,
    ::testing::Values(
        Hostile{"ScaleZero",
                [](auto&) {
                    return Window({"--scale", "0"});
                },
                2, "--scale"},
        Hostile{"ScaleNegative", [](auto&) { return Window({"--scale=-3"}); }, 2, "--scale"},
        Hostile{"ScaleBeyond32Bits",
                [](auto&) {
                    return Window({"--scale", "99999999999"});
                },
                2, "--scale"},
        Hostile{"ScaleNotANumber",
                [](auto&) {
                    return Window({"--scale", "2x"});
                },
                2, "--scale"},
        Hostile{"MusicWithoutValue", [](auto&) { return Window({"--music"}); }, 2, "--music"},
        Hostile{"ScriptWithoutHeadless",
                [](auto& d) {
                    return Window({"--script", Script(d)});
                },
                2, "only with --headless"},
        // fontconfig pointed at a configuration that names no font folder: not one font.
        Hostile{"NoFonts",
                [](auto& d) {
                    std::ofstream(d / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig/>\n";
                    return Window({}, {{"FONTCONFIG_FILE", (d / "fonts.conf").string()},
                                       {"XDG_CACHE_HOME", d.path().string()}});
                },
                1, "install the Debian packages fonts-dejavu-core and fonts-lato"}),
    [](const auto& info) { return info.param.name; });

// Files offered as replays: --verify and --replay refuse what is no replay with its line and why.
INSTANTIATE_TEST_SUITE_P(ReplayFile, HostileTest,
                         ::testing::Values(Hostile{"Empty",
                                                   [](auto&) {
                                                       return Call{{"--verify", "/dev/null"}};
                                                   },
                                                   2, "/dev/null:1: not a replay"},
                                           Hostile{"DevZero",
                                                   [](auto&) {
                                                       return Call{{"--verify", "/dev/zero"}};
                                                   },
                                                   2, "/dev/zero:1: line longer than 4096 bytes"},
                                           Hostile{
                                               "Missing",
                                               [](auto&) {
                                                   return Call{{"--verify", "/nonexistent/r.txt"}};
                                               },
                                               1, "cannot open replay"},
                                           Hostile{"WatchedWithoutItsSeed",
                                                   [](auto& d) {
                                                       return Window({"--replay", Script(d)});
                                                   },
                                                   2, "s.txt:1: not a replay"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace sinkaway::testing
