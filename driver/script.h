// The script reader: one input event a line, read and checked one line at a time so a bad line
// stops the run exactly before it. Every rule a script or a replay must meet is here: the headless
// run, --verify, the --scores listing and the window's replays all read through it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rand.h"
#include "sound.h"
#include "vocabulary.h"

namespace sinkaway {

inline constexpr size_t kMaxScriptLine = 4096;

// Plain decimal digits only, at most `max`: no sign, blank, base prefix or trailing junk. The
// command line's --seed follows the same rule as the script's numbers.
bool ParseDecimal(std::string_view word, uint64_t max, uint64_t& value);

// Parses one line. Returns true with `isEvent` false for blank and comment lines; false with a
// message for a bad line.
bool ParseScriptLine(std::string_view line, ScriptEvent& event, bool& isEvent, std::string& error);

// Reads lines of at most kMaxScriptLine bytes from a stream without ever holding a longer one.
class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file) {}
    enum class Result { kLine, kTooLong, kEnd, kError };
    // On kTooLong the rest of that line is still unread: the caller stops anyway.
    Result Next(std::string& line);
    int lineNumber() const { return lineNumber_; }

  private:
    std::FILE* file_;
    int lineNumber_ = 0;
};

// A replay longer than this is not one the game wrote.
inline constexpr uint64_t kMaxReplayBytes = 32u << 20;
// The most work a replay may make the rules do: every timer tick it makes them run and every event
// it holds counts one. An hour of play counts about 705 000 (some 20 ms to replay), an hour on the
// game-over screen or the title about 230 000 (20 ms and 3 ms; see the README), so this holds
// about five days of a session left open, while a replay made of the dearest ticks stops after
// about 2.5 s.
inline constexpr uint64_t kMaxReplayWork = 30'000'000;

// What a script is read for.
enum class ScriptUse : uint8_t {
    // A headless run: any events, and a script without a seed line plays with the clock's seed.
    kRun,
    // A replay, to prove its score or to watch: its seed line first, at most kMaxReplayBytes and
    // at most kMaxReplayWork, so that it plays the same game every time and a planted one cannot
    // keep anything busy for long.
    kReplay,
};

class ScriptReader {
  public:
    // `name` is what messages call the file.
    ScriptReader(std::FILE* file, std::string name, ScriptUse use)
        : lines_(file), name_(std::move(name)), use_(use) {}

    enum class Result : uint8_t { kEvent, kEnd, kRefused };
    // The next event line. kRefused: error() says why, as "NAME:LINE: message" for a bad script
    // (status() 2), and status() is 1 when the file cannot be read.
    Result Next(ScriptEvent& event);
    // Plays an event this reader gave (a seed plays as nothing). A replay's work is counted: once
    // it passes kMaxReplayWork the event stops where it is, and this answers false, refused.
    bool Play(Session& session, const ScriptEvent& event, TickObserver* observer = nullptr);
    enum class Played : uint8_t { kDone, kMore, kRefused };
    // The same, stopping once about `work` more units are done: kMore asks for another call with
    // the same event, which goes on from there. A long `advance` is played in stretches, so that
    // a window can spread a replay's proof over its frames.
    Played PlaySome(Session& session, const ScriptEvent& event, uint64_t work,
                    TickObserver* observer = nullptr);

    const std::string& error() const { return error_; }
    int status() const { return status_; }
    // The work a replay has made the rules do so far.
    uint64_t work() const { return work_; }

  private:
    Result Refuse(std::string message);

    LineReader lines_;
    std::string name_;
    ScriptUse use_;
    bool sawEvent_ = false;
    uint64_t bytes_ = 0;
    uint64_t work_ = 0;
    EventPlay play_;  // the event under way
    int status_ = 0;
    std::string line_;
    std::string error_;
};

// A whole replay, read and played through once.
struct ReplayScript {
    uint64_t seed = 0;
    std::vector<ScriptEvent> events;  // without the seed line
    double score = 0;                 // where the replay ends
    bool finished = false;            // it ends on the game-over screen of a game
    Micros gameTime = 0;              // the time it lets pass, the sum of its advance lines
    uint64_t work = 0;                // as the reader counts it, also when it refused the replay
};

// Reads a replay by every rule of a replay and plays it headless, a slice of work at a time, so
// that a caller with frames to draw can stop between slices; ReadReplay is the same in one go.
// A replay held in memory, such as one fetched from the world's boards; `name` stands for a path
// in messages.
struct ReplayText {
    std::string text;
    std::string name;
};

class ReplayReading {
  public:
    // `keepEvents` false keeps only the replay's seed and score.
    explicit ReplayReading(const std::string& path, bool keepEvents = true);
    explicit ReplayReading(ReplayText replay, bool keepEvents = true);
    ReplayReading(const ReplayReading&) = delete;
    ReplayReading& operator=(const ReplayReading&) = delete;
    ~ReplayReading();

    // Reads and plays on for about `work` more units; true once the replay is read to its end or
    // refused.
    bool Continue(uint64_t work);
    // 0 once read to the end, 1 when the file cannot be read, 2 when it is no replay (error()).
    int status() const { return status_; }
    const std::string& error() const { return error_; }
    ReplayScript& replay() { return replay_; }

  private:
    void Finish(int status, std::string error);

    std::string text_;  // what file_ reads, for a replay held in memory
    std::FILE* file_ = nullptr;
    std::unique_ptr<ScriptReader> reader_;  // null when the file cannot be opened
    SeededGenerator random_;
    NullMusicPlayer music_;
    Session session_{random_, music_};
    ScriptEvent event_;
    bool seeded_ = false;   // the seed line is read and the session loaded
    bool inEvent_ = false;  // event_ is played in part
    bool keepEvents_;
    bool done_ = false;
    int status_ = 0;
    std::string error_;
    ReplayScript replay_;
};

// Reads a replay by every rule of a replay and plays it headless to its end; `keepEvents` false
// keeps only its seed and score. Returns 0, 1 when the file cannot be read, or 2 when it is no
// replay, with the message in `error`.
int ReadReplay(const std::string& path, ReplayScript& replay, std::string& error,
               bool keepEvents = true);

}  // namespace sinkaway
