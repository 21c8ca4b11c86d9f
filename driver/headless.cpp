// The headless driver: reads the script line by line, delivers each event to the session and
// writes the trace. A bad line stops the run before it, with the trace complete up to there.
#include "headless.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "script.h"
#include "session.h"
#include "trace.h"

namespace sinkaway {

namespace {

// Writes a trace line for every tick the scheduler delivers during a stretch of time.
class TickTracer final : public TickObserver {
  public:
    TickTracer(TraceWriter& trace, const Game& game) : trace_(trace), game_(game) {}
    void OnTimerTick(TimerId id, Micros at) override { trace_.Write(at, TickText(id), game_); }

  private:
    TraceWriter& trace_;
    const Game& game_;
};

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f != stdin && f != stdout)
            std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class Driver {
  public:
    Driver(const Options& o, const SaveScreenshotFn& saveScreenshot, std::FILE* script,
           TraceWriter* trace)
        : options_(o),
          saveScreenshot_(saveScreenshot),
          reader_(script),
          trace_(trace),
          session_(random_, music_) {}

    int Run();
    double score() const { return session_.game.state.dblScore; }

  private:
    enum class Step { kEvent, kSkip, kEnd, kStop };
    Step NextEvent(ScriptEvent& event);
    void Deliver(const ScriptEvent& event);
    void TraceEvent(std::string_view text) {
        if (trace_ != nullptr)
            trace_->Write(session_.now(), text, session_.game);
    }

    const Options& options_;
    const SaveScreenshotFn& saveScreenshot_;
    LineReader reader_;
    TraceWriter* trace_;
    SeededGenerator random_;
    NullMusicPlayer music_;
    Session session_;
    int status_ = 0;
    std::string line_;
    std::string error_;
    std::string text_;
};

// Reads up to the next event line. On a bad line reports it and answers kStop.
Driver::Step Driver::NextEvent(ScriptEvent& event) {
    const std::string& file = options_.script;
    switch (reader_.Next(line_)) {
        case LineReader::Result::kEnd:
            return Step::kEnd;
        case LineReader::Result::kError:
            std::fprintf(stderr, "%s: cannot read the script: %s\n", file.c_str(),
                         std::strerror(errno));
            status_ = 1;
            return Step::kStop;
        case LineReader::Result::kTooLong:
            std::fprintf(stderr, "%s:%d: line longer than %zu bytes\n", file.c_str(),
                         reader_.lineNumber(), kMaxScriptLine);
            status_ = 2;
            return Step::kStop;
        case LineReader::Result::kLine:
            break;
    }
    bool isEvent = false;
    if (!ParseScriptLine(line_, event, isEvent, error_)) {
        std::fprintf(stderr, "%s:%d: %s\n", file.c_str(), reader_.lineNumber(), error_.c_str());
        status_ = 2;
        return Step::kStop;
    }
    return isEvent ? Step::kEvent : Step::kSkip;
}

void Driver::Deliver(const ScriptEvent& e) {
    if (trace_ == nullptr) {
        PlayEvent(session_, e);
        return;
    }
    TickTracer tracer(*trace_, session_.game);
    PlayEvent(session_, e, &tracer);
    // A stretch of time is traced by its ticks.
    if (e.verb != Verb::kAdvance) {
        text_.clear();
        AppendEventText(text_, e);
        TraceEvent(text_);
    }
}

int Driver::Run() {
    // A recorded game may begin with its seed, which the load event needs: look ahead for the
    // first event line before loading.
    ScriptEvent first;
    Step step = Step::kSkip;
    while (step == Step::kSkip) step = NextEvent(first);

    session_.Load(ScriptSeed(options_.seed, step == Step::kEvent ? &first : nullptr));
    TraceEvent("load");

    if (step == Step::kEvent && first.verb != Verb::kSeed)
        Deliver(first);
    while (step != Step::kEnd && step != Step::kStop) {
        ScriptEvent event;
        step = NextEvent(event);
        if (step != Step::kEvent)
            continue;
        if (event.verb == Verb::kSeed) {
            std::fprintf(stderr, "%s:%d: seed is allowed only as the first event line\n",
                         options_.script.c_str(), reader_.lineNumber());
            status_ = 2;
            break;
        }
        Deliver(event);
    }
    if (status_ != 0)
        return status_;

    if (!options_.screenshot.empty()) {
        std::string error = "no drawing code in this program";
        if (!saveScreenshot_ || !saveScreenshot_(session_.game.form, options_.screenshot, error)) {
            std::fprintf(stderr, "sinkaway: cannot save %s: %s\n", options_.screenshot.c_str(),
                         error.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int RunHeadless(const Options& o, const SaveScreenshotFn& saveScreenshot) {
    FilePtr script(o.script == "-" ? stdin : std::fopen(o.script.c_str(), "rb"));
    if (!script) {
        std::fprintf(stderr, "sinkaway: cannot open script %s: %s\n", o.script.c_str(),
                     std::strerror(errno));
        return 1;
    }
    FilePtr traceFile;
    if (!o.trace.empty()) {
        traceFile.reset(o.trace == "-" ? stdout : std::fopen(o.trace.c_str(), "wb"));
        if (!traceFile) {
            std::fprintf(stderr, "sinkaway: cannot write trace %s: %s\n", o.trace.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::unique_ptr<TraceWriter> trace;
    if (traceFile)
        trace = std::make_unique<TraceWriter>(traceFile.get());

    Driver driver(o, saveScreenshot, script.get(), trace.get());
    int status = driver.Run();
    if (trace && !trace->Flush()) {
        std::fprintf(stderr, "sinkaway: cannot write trace %s\n", o.trace.c_str());
        if (status == 0)
            status = 1;
    }
    return status;
}

int ReplayScore(const std::string& path, double& score) {
    Options o;
    o.script = path;
    FilePtr script(std::fopen(path.c_str(), "rb"));
    if (!script) {
        std::fprintf(stderr, "sinkaway: cannot open script %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return 1;
    }
    const SaveScreenshotFn noScreenshot;
    Driver driver(o, noScreenshot, script.get(), nullptr);
    const int status = driver.Run();
    score = driver.score();
    return status;
}

}  // namespace sinkaway
