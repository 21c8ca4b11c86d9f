// Arbitrary bytes as a headless script: every line through the line reader and the parser, every
// event through a session, the game's invariants after each event and each tick, and a sample of
// the events through the trace writer. Anything broken stops the run with a trap, which the fuzzer
// keeps as a crash.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "invariants.h"
#include "script.h"
#include "session.h"
#include "trace.h"
#include "vocabulary.h"

namespace sinkaway::fuzz {
namespace {

using testing::EventKind;

// A tenth of a second per stretch of time and a few thousand ticks per input keep every run short;
// longer stretches only repeat what these reach.
constexpr uint64_t kStretchCapMs = 100;
constexpr int64_t kTickBudget = 2000;
// Writing a trace line costs more under the fuzzer's instrumentation than everything else it does
// together, so one event in this many has its line written (prime, so that no timer is favoured);
// the load event and each input's last event always do.
constexpr int64_t kTraceEvery = 61;
// Reading a line as JSON costs more than every other check of a short input together, so the last
// line written is read for one input in this many, picked by the input's bytes so that an input
// that fails fails every time it runs.
constexpr size_t kJsonEvery = 16;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

void Require(bool ok, const char* what) {
    if (!ok)
        Fail(what);
}

// Storage kept from one input to the next: under the sanitizers, fresh memory for every input costs
// more than the checks themselves.
struct Scratch {
    Scratch() {
        trace = open_memstream(&traceText, &traceSize);
        Require(trace != nullptr, "open_memstream");
    }
    ~Scratch() {
        std::fclose(trace);
        std::free(traceText);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::vector<std::string_view> lines;
    std::vector<ScriptEvent> events;
    std::string copy, line, text, error;
    std::FILE* trace = nullptr;
    char* traceText = nullptr;
    size_t traceSize = 0;
};

Scratch& Kept() {
    static Scratch scratch;
    return scratch;
}

// Lines as the driver sees them: split at '\n', one trailing '\r' dropped, no empty last line.
void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
    lines.clear();
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
}

// The driver's reader must hand out the same lines, up to the first one over the limit, which it
// must report as too long.
void CheckReader(std::string_view text, const std::vector<std::string_view>& lines) {
    if (text.empty())
        return;  // fmemopen wants at least one byte
    std::string& copy = Kept().copy;
    copy.assign(text);
    std::FILE* file = fmemopen(copy.data(), copy.size(), "rb");
    Require(file != nullptr, "fmemopen");
    LineReader reader(file);
    std::string& line = Kept().line;
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

// Parses every line; a parsed event must read back the same from its canonical text.
void ParseAll(const std::vector<std::string_view>& lines, std::vector<ScriptEvent>& events) {
    events.clear();
    std::string& error = Kept().error;
    std::string& text = Kept().text;
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
        Require(event.verb != Verb::kAdvance || event.number <= kMaxAdvanceMs,
                "a stretch of time too long");
        ScriptEvent back;
        bool backIsEvent = false;
        text.clear();
        AppendEventText(text, event);
        Require(ParseScriptLine(text, back, backIsEvent, error) && backIsEvent && back == event,
                "an event does not read back from its own text");
        events.push_back(event);
    }
}

// Checks the invariants after every event and tick, and writes a sample of the trace lines.
class Checker final : public TickObserver {
  public:
    Checker(Session& session, TraceWriter& trace) : session_(session), trace_(trace) {}

    void OnTimerTick(TimerId id, Micros at) override {
        ++ticks;
        if (Sampled())
            Write(at, TickText(id));
        After(testing::KindOfTick(id));
    }

    // An event other than a stretch of time; `last` for the input's last event line.
    void Event(const ScriptEvent& e, bool last) {
        if (Sampled() || last) {
            text_.clear();
            AppendEventText(text_, e);
            Write(session_.now(), text_);
        }
        After(e.verb == Verb::kClick  ? EventKind::kClick
              : e.verb == Verb::kTick ? testing::KindOfTick(e.timer)
                                      : EventKind::kOther);
    }
    void Load() {
        Write(session_.now(), "load");
        After(EventKind::kOther);
    }

    // The trace written since the last call: whole lines, one per line written, each an object.
    // With `last`, the input's last line written is also read as JSON if `readJson`.
    void CheckTrace(std::FILE* mem, char*& buffer, size_t& size, bool last, bool readJson) {
        if (linesSinceCheck_ == 0 && !last)
            return;
        Require(trace_.Flush(), "trace write failed");
        // memchr, not a loop of our own: the fuzzer's instrumentation of every comparison in a
        // loop over the buffer would take most of the time.
        size_t count = 0;
        const char* lastStart = buffer;
        for (const char* p = buffer; size > 0 && p < buffer + size; ++count) {
            const auto* nl = static_cast<const char*>(std::memchr(p, '\n', buffer + size - p));
            if (nl == nullptr)
                Fail("trace ends inside a line");
            Require(*p == '{' && nl - p >= 2 && nl[-1] == '}', "trace line is no object");
            lastStart = p;
            p = nl + 1;
        }
        Require(count == linesSinceCheck_, "trace lines lost or doubled");
        if (size > 0)
            lastLine_.assign(lastStart, buffer + size - lastStart);
        if (last && readJson)
            Require(nlohmann::json::accept(lastLine_), "trace line is not JSON");
        std::rewind(mem);
        linesSinceCheck_ = 0;
    }

    int64_t ticks = 0;

  private:
    bool Sampled() { return ++events_ % kTraceEvery == 0; }
    void Write(Micros at, std::string_view text) {
        ++linesSinceCheck_;
        trace_.Write(at, text, session_.game);
    }
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
    int64_t events_ = 0;
    std::string text_;
    std::string lastLine_;  // the last line written, for the JSON check
};

void Run(const std::vector<ScriptEvent>& events, bool readJson) {
    // Seeded as the driver seeds a script, on a clock that stands still: every run of an input
    // plays the same game.
    const ScriptEvent* first = events.empty() ? nullptr : &events[0];
    const uint64_t seed = ScriptSeed(std::nullopt, first, [] { return uint64_t{0}; });
    size_t next = first != nullptr && first->verb == Verb::kSeed ? 1 : 0;

    Scratch& kept = Kept();
    std::rewind(kept.trace);
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    TraceWriter trace(kept.trace);
    Checker checker(session, trace);
    session.Load(seed);
    checker.Load();
    for (; next < events.size(); ++next) {
        ScriptEvent e = events[next];
        if (e.verb == Verb::kSeed)
            break;  // the driver stops at a seed after the first event
        const bool last = next + 1 == events.size();
        if (e.verb == Verb::kAdvance) {
            if (checker.ticks < kTickBudget) {
                e.number = std::min(e.number, kStretchCapMs);
                PlayEvent(session, e, &checker);
            }
        } else {
            PlayEvent(session, e);
            checker.Event(e, last);
        }
        checker.CheckTrace(kept.trace, kept.traceText, kept.traceSize, false, false);
    }
    checker.CheckTrace(kept.trace, kept.traceText, kept.traceSize, true, readJson);
}

}  // namespace
}  // namespace sinkaway::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace sinkaway::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Scratch& kept = Kept();
    SplitLines(text, kept.lines);
    CheckReader(text, kept.lines);
    ParseAll(kept.lines, kept.events);
    Run(kept.events, std::hash<std::string_view>{}(text) % kJsonEvery == 0);
    return 0;
}
