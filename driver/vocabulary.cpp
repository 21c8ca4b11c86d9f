// The script's words and what they do.
#include "vocabulary.h"

#include <algorithm>

#include <array>
#include <charconv>
#include <utility>

namespace sinkaway {

namespace {

constexpr VerbWord kVerbs[] = {
    {"click", Verb::kClick, "a control name"}, {"keydown", Verb::kKeyDown, "a key code"},
    {"keyup", Verb::kKeyUp, "a key code"},     {"tick", Verb::kTick, "a timer name"},
    {"seed", Verb::kSeed, "a number"},         {"advance", Verb::kAdvance, "milliseconds"},
};

constexpr std::pair<const char*, ClickTarget> kClickTargets[] = {
    {"imgNewGame", ClickTarget::imgNewGame},
    {"cmdNewGame", ClickTarget::cmdNewGame},
    {"chkBGM", ClickTarget::chkBGM},
    {"chkPower", ClickTarget::chkPower},
};

const char* VerbName(Verb verb) {
    for (const VerbWord& v : kVerbs) {
        if (v.verb == verb)
            return v.name;
    }
    return "";
}

// "a, b, c or d"
template <typename List, typename Name>
std::string Listed(const List& list, Name name) {
    std::string out;
    for (size_t i = 0; i < std::size(list); ++i) {
        if (i > 0)
            out += i + 1 == std::size(list) ? " or " : ", ";
        out += name(list[i]);
    }
    return out;
}

void AppendNumber(std::string& out, uint64_t n) {
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, res.ptr);
}

}  // namespace

const VerbWord* FindVerb(std::string_view name) {
    for (const VerbWord& v : kVerbs) {
        if (name == v.name)
            return &v;
    }
    return nullptr;
}

bool FindClickTarget(std::string_view name, ClickTarget& target) {
    for (const auto& [n, t] : kClickTargets) {
        if (name == n) {
            target = t;
            return true;
        }
    }
    return false;
}

bool FindTimer(std::string_view name, TimerId& id) {
    for (TimerId t : kAllTimers) {
        if (name == TimerName(t)) {
            id = t;
            return true;
        }
    }
    return false;
}

const char* ClickTargetName(ClickTarget target) {
    for (const auto& [n, t] : kClickTargets) {
        if (t == target)
            return n;
    }
    return "";
}

const std::string& ClickTargetNames() {
    static const std::string names = Listed(kClickTargets, [](const auto& c) { return c.first; });
    return names;
}

const std::string& TimerNames() {
    static const std::string names = Listed(kFormTimers, TimerName);
    return names;
}

void AppendEventText(std::string& out, const ScriptEvent& e) {
    out += VerbName(e.verb);
    out += ' ';
    switch (e.verb) {
        case Verb::kClick:
            out += ClickTargetName(e.target);
            break;
        case Verb::kKeyDown:
        case Verb::kKeyUp:
            AppendNumber(out, e.keyCode);
            break;
        case Verb::kTick:
            out += TimerName(e.timer);
            break;
        case Verb::kSeed:
        case Verb::kAdvance:
            AppendNumber(out, e.number);
            break;
    }
}

std::string EventText(const ScriptEvent& event) {
    std::string text;
    AppendEventText(text, event);
    return text;
}

std::string_view TickText(TimerId id) {
    static const auto texts = [] {
        std::array<std::string, kTimerCount> t;
        for (TimerId timer : kAllTimers) {
            t[static_cast<int>(timer)] = EventText({.verb = Verb::kTick, .timer = timer});
        }
        return t;
    }();
    return texts[static_cast<int>(id)];
}

void PlayEvent(Session& session, const ScriptEvent& e, TickObserver* observer) {
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
        case Verb::kAdvance:
            EventPlay().PlayUntil(session, e, EventPlay::kForever, observer);
            break;
        case Verb::kSeed:
            break;
    }
}

bool EventPlay::PlayUntil(Session& session, const ScriptEvent& e, Micros until,
                          TickObserver* observer) {
    if (e.verb != Verb::kAdvance) {
        PlayEvent(session, e, observer);
        return true;
    }
    if (left_ < 0)
        left_ = static_cast<Micros>(e.number) * 1000;
    const Micros room = until == kForever ? left_ : until - session.now();
    const Micros step = std::min(left_, room);
    if (step > 0) {
        session.Advance(step, observer);
        left_ -= step;
    }
    if (left_ > 0)
        return false;
    left_ = -1;
    return true;
}

uint64_t ScriptSeed(std::optional<uint64_t> commandLine, const ScriptEvent* first,
                    uint64_t (*clock)()) {
    if (commandLine)
        return *commandLine;
    if (first != nullptr && first->verb == Verb::kSeed)
        return first->number;
    return clock();
}

}  // namespace sinkaway
