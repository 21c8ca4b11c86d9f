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
    Driver(const HeadlessOptions& o, const SaveScreenshotFn& saveScreenshot, std::FILE* script,
           TraceWriter* trace)
        : options_(o),
          saveScreenshot_(saveScreenshot),
          reader_(script, o.script, ScriptUse::kRun),
          trace_(trace),
          session_(random_, music_) {}

    int Run();

  private:
    void Deliver(const ScriptEvent& event);
    void TraceEvent(std::string_view text) {
        if (trace_ != nullptr)
            trace_->Write(session_.now(), text, session_.game);
    }

    const HeadlessOptions& options_;
    const SaveScreenshotFn& saveScreenshot_;
    ScriptReader reader_;
    TraceWriter* trace_;
    SeededGenerator random_;
    NullMusicPlayer music_;
    Session session_;
    std::string text_;
};

void Driver::Deliver(const ScriptEvent& e) {
    if (trace_ == nullptr) {
        reader_.Play(session_, e);
        return;
    }
    TickTracer tracer(*trace_, session_.game);
    reader_.Play(session_, e, &tracer);
    // A stretch of time is traced by its ticks.
    if (e.verb != Verb::kAdvance) {
        text_.clear();
        AppendEventText(text_, e);
        TraceEvent(text_);
    }
}

int Driver::Run() {
    // A recorded game begins with its seed, which the load event needs: read the first event
    // before loading.
    ScriptEvent event;
    ScriptReader::Result result = reader_.Next(event);
    const bool any = result == ScriptReader::Result::kEvent;
    session_.Load(ScriptSeed(options_.seed, any ? &event : nullptr));
    TraceEvent("load");

    if (any && event.verb != Verb::kSeed)
        Deliver(event);
    while (result == ScriptReader::Result::kEvent) {
        result = reader_.Next(event);
        if (result == ScriptReader::Result::kEvent)
            Deliver(event);
    }
    if (reader_.status() != 0) {
        std::fprintf(stderr, "%s\n", reader_.error().c_str());
        return reader_.status();
    }

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

int RunHeadless(const HeadlessOptions& o, const SaveScreenshotFn& saveScreenshot) {
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

}  // namespace sinkaway
