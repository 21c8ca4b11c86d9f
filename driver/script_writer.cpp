// A session's script, line by line, in the script's own words.
#include "script_writer.h"

namespace sinkaway {

namespace {

void AppendComment(std::string& text, std::string_view comment) {
    text += "# ";
    text += comment;
    text += '\n';
}

}  // namespace

void ScriptWriter::Start(uint64_t seed, std::string_view heading) {
    text_.clear();
    written_ = 0;
    while (!heading.empty()) {
        const size_t end = heading.find('\n');
        AppendComment(text_, heading.substr(0, end));
        heading.remove_prefix(end == std::string_view::npos ? heading.size() : end + 1);
    }
    Line({.verb = Verb::kSeed, .number = seed});
}

void ScriptWriter::Line(const ScriptEvent& event) {
    AppendEventText(text_, event);
    text_ += '\n';
}

void ScriptWriter::AdvanceTo(Micros now) {
    const Micros ms = (now - written_) / 1000;
    if (ms <= 0)
        return;
    Line({.verb = Verb::kAdvance, .number = static_cast<uint64_t>(ms)});
    written_ += ms * 1000;
}

void ScriptWriter::Event(Micros now, const ScriptEvent& event) {
    AdvanceTo(now);
    Line(event);
}

void ScriptWriter::Note(Micros now, std::string_view text) {
    AdvanceTo(now);
    AppendComment(text_, text);
}

std::string ScriptWriter::TextUpTo(Micros now) const {
    ScriptWriter ending = *this;
    ending.AdvanceTo(now);
    return std::move(ending.text_);
}

}  // namespace sinkaway
