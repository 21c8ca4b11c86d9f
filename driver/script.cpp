// Reading scripts: lines, events, and the rules of a replay.
#include "script.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include "rand.h"
#include "sound.h"

namespace sinkaway {

namespace {

// How much game time a replay's stretch of time runs between two looks at its work.
constexpr Micros kWorkLook = 60'000'000;

// Counts the ticks a stretch of time runs, and passes them on.
class WorkCounter final : public TickObserver {
  public:
    WorkCounter(uint64_t& work, TickObserver* next) : work_(work), next_(next) {}
    void OnTimerTick(TimerId id, Micros at) override {
        ++work_;
        if (next_ != nullptr)
            next_->OnTimerTick(id, at);
    }

  private:
    uint64_t& work_;
    TickObserver* next_;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Splits on blanks; a line of more words than `words` holds counts one more than it holds.
int SplitWords(std::string_view line, std::array<std::string_view, 3>& words) {
    int count = 0;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size())
            break;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (count == static_cast<int>(words.size()))
            return count + 1;
        words[count++] = line.substr(start, i - start);
    }
    return count;
}

std::string Quoted(std::string_view word) {
    std::string out = "'";
    for (char c : word.substr(0, 64)) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u >= 0x7F) ? '?' : c;
    }
    if (word.size() > 64)
        out += "...";
    return out + "'";
}

}  // namespace

bool ParseDecimal(std::string_view word, uint64_t max, uint64_t& value) {
    if (word.empty())
        return false;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
    }
    auto res = std::from_chars(word.data(), word.data() + word.size(), value);
    return res.ec == std::errc() && res.ptr == word.data() + word.size() && value <= max;
}

bool ParseScriptLine(std::string_view line, ScriptEvent& event, bool& isEvent, std::string& error) {
    isEvent = false;
    if (line.size() > kMaxScriptLine) {
        error = "line longer than 4096 bytes";
        return false;
    }
    if (std::memchr(line.data(), '\0', line.size()) != nullptr) {
        error = "NUL byte in line";
        return false;
    }
    std::array<std::string_view, 3> words;
    const int count = SplitWords(line, words);
    if (count == 0 || words[0][0] == '#')
        return true;

    const VerbWord* word = FindVerb(words[0]);
    if (word == nullptr) {
        error = "unknown verb " + Quoted(words[0]);
        return false;
    }
    if (count < 2) {
        error = std::string(word->name) + " needs " + word->argument;
        return false;
    }
    if (count > 2) {
        error = "extra word after " + std::string(word->name) + " " + Quoted(words[1]);
        return false;
    }
    const std::string_view arg = words[1];
    event.verb = word->verb;
    uint64_t n = 0;
    switch (word->verb) {
        case Verb::kClick:
            if (!FindClickTarget(arg, event.target)) {
                error = "unknown control " + Quoted(arg) + " (" + ClickTargetNames() + ")";
                return false;
            }
            break;
        case Verb::kTick:
            if (!FindTimer(arg, event.timer)) {
                error = "unknown timer " + Quoted(arg) + " (" + TimerNames() + ")";
                return false;
            }
            break;
        case Verb::kKeyDown:
        case Verb::kKeyUp:
            if (!ParseDecimal(arg, 65535, n)) {
                error = "bad key code " + Quoted(arg) + " (a whole number from 0 to 65535)";
                return false;
            }
            event.keyCode = static_cast<uint16_t>(n);
            break;
        case Verb::kSeed:
            if (!ParseDecimal(arg, UINT64_MAX, n)) {
                error = "bad seed " + Quoted(arg) + " (a whole number from 0 to 2^64-1)";
                return false;
            }
            event.number = n;
            break;
        case Verb::kAdvance:
            if (!ParseDecimal(arg, kMaxAdvanceMs, n)) {
                error = "bad time " + Quoted(arg) + " (whole milliseconds from 0 to " +
                        std::to_string(kMaxAdvanceMs) + ")";
                return false;
            }
            event.number = n;
            break;
    }
    isEvent = true;
    return true;
}

LineReader::Result LineReader::Next(std::string& line) {
    line.clear();
    int c = std::getc(file_);
    if (c == EOF) {
        return std::ferror(file_) ? Result::kError : Result::kEnd;
    }
    ++lineNumber_;
    while (c != EOF && c != '\n') {
        if (line.size() == kMaxScriptLine + 1)
            return Result::kTooLong;
        line.push_back(static_cast<char>(c));
        c = std::getc(file_);
    }
    if (c == EOF && std::ferror(file_))
        return Result::kError;
    // Scripts written on other systems may end their lines with CR LF.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > kMaxScriptLine)
        return Result::kTooLong;
    return Result::kLine;
}

ScriptReader::Result ScriptReader::Refuse(std::string message) {
    error_ = name_ + ":" + std::to_string(std::max(lines_.lineNumber(), 1)) + ": " + message;
    status_ = 2;
    return Result::kRefused;
}

ScriptReader::Result ScriptReader::Next(ScriptEvent& event) {
    const bool replay = use_ == ScriptUse::kReplay;
    while (true) {
        switch (lines_.Next(line_)) {
            case LineReader::Result::kEnd:
                if (replay && !sawEvent_)
                    return Refuse("not a replay: a replay starts with its seed line");
                return Result::kEnd;
            case LineReader::Result::kError:
                error_ = name_ + ": cannot read the script: " + std::strerror(errno);
                status_ = 1;
                return Result::kRefused;
            case LineReader::Result::kTooLong:
                return Refuse("line longer than " + std::to_string(kMaxScriptLine) + " bytes");
            case LineReader::Result::kLine:
                break;
        }
        bytes_ += line_.size() + 1;
        if (replay && bytes_ > kMaxReplayBytes) {
            return Refuse("not a replay: longer than " + std::to_string(kMaxReplayBytes >> 20) +
                          " MiB");
        }
        bool isEvent = false;
        std::string error;
        if (!ParseScriptLine(line_, event, isEvent, error))
            return Refuse(std::move(error));
        if (!isEvent)
            continue;
        if (event.verb == Verb::kSeed && sawEvent_)
            return Refuse("seed is allowed only as the first event line");
        if (replay && !sawEvent_ && event.verb != Verb::kSeed)
            return Refuse("not a replay: a replay starts with its seed line");
        sawEvent_ = true;
        return Result::kEvent;
    }
}

bool ScriptReader::Play(Session& session, const ScriptEvent& event, TickObserver* observer) {
    return PlaySome(session, event, UINT64_MAX, observer) == Played::kDone;
}

ScriptReader::Played ScriptReader::PlaySome(Session& session, const ScriptEvent& event,
                                            uint64_t work, TickObserver* observer) {
    if (use_ != ScriptUse::kReplay) {
        PlayEvent(session, event, observer);
        return Played::kDone;
    }
    const uint64_t stopAt = work > UINT64_MAX - work_ ? UINT64_MAX : work_ + work;
    WorkCounter counter(work_, observer);
    if (event.verb != Verb::kAdvance) {
        ++work_;
        PlayEvent(session, event, &counter);
    } else {
        // In steps, so that a planted stretch of days stops soon after it passes the bound. With
        // no timer armed no rule runs however long the wait: one step.
        while (work_ <= kMaxReplayWork) {
            if (work_ >= stopAt)
                return Played::kMore;
            const Micros until =
                session.NextDue() < 0 ? EventPlay::kForever : session.now() + kWorkLook;
            if (play_.PlayUntil(session, event, until, &counter))
                break;
        }
    }
    if (work_ <= kMaxReplayWork)
        return Played::kDone;
    Refuse("not a replay: playing it would run the rules more than " +
           std::to_string(kMaxReplayWork) + " times, more than five days of a session");
    return Played::kRefused;
}

ReplayReading::ReplayReading(const std::string& path, bool keepEvents) : keepEvents_(keepEvents) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        Finish(1, "sinkaway: cannot open replay " + path + ": " + std::strerror(errno));
        return;
    }
    reader_ = std::make_unique<ScriptReader>(file_, path, ScriptUse::kReplay);
}

ReplayReading::ReplayReading(ReplayText replay, bool keepEvents)
    : text_(std::move(replay.text)), keepEvents_(keepEvents) {
    // An empty text is read as an empty file: the reader refuses it at its first line.
    file_ = text_.empty() ? std::fopen("/dev/null", "rb")
                          : ::fmemopen(text_.data(), text_.size(), "rb");
    if (file_ == nullptr) {
        Finish(1, "sinkaway: cannot read replay " + replay.name + ": " + std::strerror(errno));
        return;
    }
    reader_ = std::make_unique<ScriptReader>(file_, replay.name, ScriptUse::kReplay);
}

ReplayReading::~ReplayReading() {
    reader_.reset();
    if (file_ != nullptr)
        std::fclose(file_);
}

void ReplayReading::Finish(int status, std::string error) {
    done_ = true;
    status_ = status;
    error_ = std::move(error);
    if (reader_)
        replay_.work = reader_->work();
    if (status == 0) {
        const Form& form = session_.game.form;
        replay_.score = session_.game.state.dblScore;
        replay_.finished = !InPlay(form) && form.lblGameOver.visible;
        replay_.gameTime = session_.now();
    }
}

bool ReplayReading::Continue(uint64_t work) {
    if (done_)
        return true;
    uint64_t left = work;
    while (true) {
        if (!inEvent_) {
            if (left == 0)
                return false;
            --left;  // reading an event counts one, as playing it does
            if (reader_->Next(event_) != ScriptReader::Result::kEvent) {
                Finish(reader_->status(), reader_->error());
                return true;
            }
            if (!seeded_) {
                // The reader lets a replay start with nothing but its seed line.
                seeded_ = true;
                replay_.seed = event_.number;
                session_.Load(replay_.seed);
                continue;
            }
            inEvent_ = true;
        }
        const uint64_t before = reader_->work();
        const ScriptReader::Played played = reader_->PlaySome(session_, event_, left);
        const uint64_t spent = reader_->work() - before;
        left = spent >= left ? 0 : left - spent;
        if (played == ScriptReader::Played::kRefused) {
            Finish(reader_->status(), reader_->error());
            return true;
        }
        if (played == ScriptReader::Played::kMore)
            return false;
        inEvent_ = false;
        if (keepEvents_)
            replay_.events.push_back(event_);
    }
}

int ReadReplay(const std::string& path, ReplayScript& replay, std::string& error, bool keepEvents) {
    ReplayReading reading(path, keepEvents);
    while (!reading.Continue(UINT64_MAX)) {
    }
    replay = std::move(reading.replay());
    if (reading.status() != 0) {
        error = reading.error();
        return reading.status();
    }
    return 0;
}

}  // namespace sinkaway
