// Parsing of the headless driver's script lines.
#include "script.h"

#include <array>
#include <charconv>
#include <cstring>

namespace sinkaway {

namespace {

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

}  // namespace sinkaway
