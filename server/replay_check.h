// The one truth about a submitted game: the driver's own replay reader, run in a child process
// under limits, and the rules a replay must meet to count on a board.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sinkaway::server {

// What the reader found in a replay, as the child reports it on one JSON line.
struct ReplayFacts {
    bool read = false;  // false: the reader refused it (error, line, overBound say why)
    std::string error;
    std::optional<int> line;
    bool overBound = false;
    uint64_t seed = 0;
    double score = 0;
    bool finished = false;
    int64_t gameMs = 0;
    uint64_t work = 0;
    bool internal = false;  // the check could not run here: try again, the replay is not at fault
};

// The child's side: reads the replay on standard input through ReadReplay and writes its facts
// as one JSON line on standard output. Returns the exit status.
int CheckReplayChild();

struct ChildLimits {
    int cpuSeconds = 20;
    int memoryMib = 512;
    double deadlineSeconds = 30;
};

struct Verdict {
    bool accepted = false;
    double score = 0;
    int64_t gameMs = 0;
    std::string reason;  // for a refused one, in words
    std::optional<int> line;
};

// Runs `program check-replay` on the replay's bytes in a child with the limits, lowered in
// priority so that the server's answers come first. A crash, a hang past the deadline or a limit
// reached comes back as a replay not read, with the reason; it never touches the caller.
ReplayFacts CheckInChild(const std::string& program, const std::string& replay,
                         const ChildLimits& limits);

// A replay counts when the reader read it and it meets the rules of a board too: the seed its
// token gave, a finished game, and no more game time than the real time since the token was
// issued, plus the slack.
Verdict Judge(const ReplayFacts& facts, uint64_t tokenSeed, int64_t realMs, int64_t slackMs);

}  // namespace sinkaway::server
