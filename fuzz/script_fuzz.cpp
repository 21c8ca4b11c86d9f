// Arbitrary bytes as a headless script: every line through the line reader and the parser, every
// event through a session and the trace writer, and the game's invariants after each event and
// each tick. Anything broken stops the run with a trap, which the fuzzer keeps as a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "invariants.h"
#include "script.h"
#include "session.h"
#include "trace.h"

namespace sinkaway::fuzz {
namespace {

using testing::EventKind;

// A tenth of a second per advance and a few thousand ticks per input keep every run short;
// longer stretches only repeat what these reach.
constexpr uint64_t kAdvanceCapMs = 100;
constexpr int64_t kTickBudget = 2000;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

void Require(bool ok, const char* what) {
    if (!ok)
        Fail(what);
}

// Lines as the driver sees them: split at '\n', one trailing '\r' dropped, no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The driver's reader must hand out the same lines, up to the first one over the limit, which it
// must report as too long.
void CheckReader(std::string_view text, const std::vector<std::string_view>& lines) {
    if (text.empty())
        return;  // fmemopen wants at least one byte
    std::string copy(text);
    std::FILE* file = fmemopen(copy.data(), copy.size(), "rb");
    Require(file != nullptr, "fmemopen");
    LineReader reader(file);
    std::string line;
    for (std::string_view expected : lines) {
        const LineReader::Result r = reader.Next(line);
        if (expected.size() > kMaxScriptLine) {
            Require(r == LineReader::Result::kTooLong, "reader let an over-long line through");
            break;
        }
        Require(r == LineReader::Result::kLine && line == expected, "reader and split disagree");
    }
    std::fclose(file);
}

const char* ClickName(ClickTarget t) {
    switch (t) {
        case ClickTarget::imgNewGame:
            return "imgNewGame";
        case ClickTarget::cmdNewGame:
            return "cmdNewGame";
        case ClickTarget::chkBGM:
            return "chkBGM";
        case ClickTarget::chkPower:
            return "chkPower";
    }
    Fail("click target out of range");
}

// The event as the trace names it; also its canonical script line after the verb.
std::string EventText(const ScriptEvent& e) {
    switch (e.verb) {
        case Verb::kClick:
            return std::string("click ") + ClickName(e.target);
        case Verb::kKeyDown:
            return "keydown " + std::to_string(e.keyCode);
        case Verb::kKeyUp:
            return "keyup " + std::to_string(e.keyCode);
        case Verb::kTick:
            return std::string("tick ") + TimerName(e.timer);
        case Verb::kSeed:
            return "seed " + std::to_string(e.number);
        case Verb::kAdvance:
            return "advance " + std::to_string(e.number);
    }
    Fail("verb out of range");
}

bool SameEvent(const ScriptEvent& a, const ScriptEvent& b) {
    if (a.verb != b.verb)
        return false;
    switch (a.verb) {
        case Verb::kClick:
            return a.target == b.target;
        case Verb::kKeyDown:
        case Verb::kKeyUp:
            return a.keyCode == b.keyCode;
        case Verb::kTick:
            return a.timer == b.timer;
        case Verb::kSeed:
        case Verb::kAdvance:
            return a.number == b.number;
    }
    return false;
}

// Parses every line; a parsed event must read back the same from its canonical text.
std::vector<ScriptEvent> ParseAll(const std::vector<std::string_view>& lines) {
    std::vector<ScriptEvent> events;
    std::string error;
    for (std::string_view line : lines) {
        ScriptEvent event;
        bool isEvent = false;
        error.clear();
        const bool ok = ParseScriptLine(line, event, isEvent, error);
        if (line.size() > kMaxScriptLine)
            Require(!ok, "over-long line accepted");
        if (line.find('\0') != std::string_view::npos)
            Require(!ok, "NUL byte accepted");
        if (!ok) {
            Require(!error.empty() && error.find('\n') == std::string::npos,
                    "a bad line needs a one-line message");
            continue;
        }
        if (!isEvent)
            continue;
        Require(event.verb != Verb::kAdvance || event.number <= kMaxAdvanceMs, "advance too long");
        ScriptEvent back;
        bool backIsEvent = false;
        Require(ParseScriptLine(EventText(event), back, backIsEvent, error) && backIsEvent &&
                    SameEvent(event, back),
                "an event does not read back from its own text");
        events.push_back(event);
    }
    return events;
}

// Checks the invariants after every event and tick, and writes every trace line.
class Checker final : public TickObserver {
  public:
    Checker(Session& session, TraceWriter& trace) : session_(session), trace_(trace) {}

    void OnTimerTick(TimerId id, Micros at) override {
        ++ticks;
        ++linesSinceCheck_;
        trace_.Write(at, kTickNames[static_cast<int>(id)], session_.game);
        After(testing::KindOfTick(id));
    }

    void Event(std::string_view text, EventKind kind) {
        ++linesSinceCheck_;
        trace_.Write(session_.now(), text, session_.game);
        After(kind);
    }

    // The trace written since the last call: whole lines, one per event. Reading JSON is slow
    // under the fuzzer's instrumentation, so only the input's last line is read, with `last`.
    void CheckTrace(std::FILE* mem, char*& buffer, size_t& size, bool last) {
        Require(trace_.Flush(), "trace write failed");
        // memchr, not a loop of our own: the fuzzer's instrumentation of every
        // comparison in a loop over a hundred kilobytes would take most of the time.
        size_t count = 0;
        const char* lastStart = buffer;
        for (const char* p = buffer; size > 0 && p < buffer + size; ++count) {
            const auto* nl = static_cast<const char*>(std::memchr(p, '\n', buffer + size - p));
            if (nl == nullptr)
                Fail("trace ends inside a line");
            lastStart = p;
            p = nl + 1;
        }
        Require(count == linesSinceCheck_, "trace lines lost or doubled");
        if (last && size > 0) {
            Require(nlohmann::json::accept(std::string_view(lastStart, buffer + size - lastStart)),
                    "trace line is not JSON");
        }
        std::rewind(mem);
        linesSinceCheck_ = 0;
    }

    int64_t ticks = 0;

  private:
    static constexpr const char* kTickNames[kTimerCount] = {
        "tick tmrScore", "tick tmrBall", "tick tmrMain", "tick tmrPower", "tick tmrGameOver"};

    void After(EventKind kind) {
        if (const char* broken = invariants_.Check(session_.game, kind))
            Fail(broken);
        Require(session_.now() >= lastNow_, "the clock went back");
        lastNow_ = session_.now();
    }

    Session& session_;
    TraceWriter& trace_;
    testing::InvariantChecker invariants_;
    Micros lastNow_ = 0;
    size_t linesSinceCheck_ = 0;
};

void Run(const std::vector<ScriptEvent>& events) {
    // A recorded game starts with its seed; anything else plays a fixed one, never the clock.
    size_t next = 0;
    uint64_t seed = 0;
    if (!events.empty() && events[0].verb == Verb::kSeed)
        seed = events[next++].number;

    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* mem = open_memstream(&buffer, &size);
    Require(mem != nullptr, "open_memstream");
    {
        SeededGenerator random;
        NullMusicPlayer music;
        Session session(random, music);
        TraceWriter trace(mem);
        Checker checker(session, trace);
        session.Load(seed);
        checker.Event("load", EventKind::kOther);
        for (; next < events.size(); ++next) {
            const ScriptEvent& e = events[next];
            switch (e.verb) {
                case Verb::kClick:
                    session.Click(e.target);
                    break;
                case Verb::kKeyDown:
                    session.KeyDown(e.keyCode);
                    break;
                case Verb::kKeyUp:
                    session.KeyUp(e.keyCode);
                    break;
                case Verb::kTick:
                    session.Tick(e.timer);
                    break;
                case Verb::kSeed:
                    break;  // the driver stops here
                case Verb::kAdvance:
                    if (checker.ticks < kTickBudget) {
                        const uint64_t ms = e.number < kAdvanceCapMs ? e.number : kAdvanceCapMs;
                        session.Advance(static_cast<Micros>(ms) * 1000, &checker);
                    }
                    break;
            }
            if (e.verb == Verb::kSeed)
                break;
            if (e.verb != Verb::kAdvance) {
                const EventKind kind = e.verb == Verb::kClick  ? EventKind::kClick
                                       : e.verb == Verb::kTick ? testing::KindOfTick(e.timer)
                                                               : EventKind::kOther;
                checker.Event(EventText(e), kind);
            }
            checker.CheckTrace(mem, buffer, size, next + 1 == events.size());
        }
        checker.CheckTrace(mem, buffer, size, true);
    }
    std::fclose(mem);
    std::free(buffer);
}

}  // namespace
}  // namespace sinkaway::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sinkaway::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = SplitLines(text);
    CheckReader(text, lines);
    Run(ParseAll(lines));
    return 0;
}
