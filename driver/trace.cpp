// Writing trace lines fast: hand-made JSON with cached text for controls that did not change.
#include "trace.h"

#include <array>
#include <charconv>
#include <iterator>
#include <type_traits>

#include "float_text.h"

namespace sinkaway {

namespace {

void AppendInt(std::string& out, int64_t v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

void AppendDouble(std::string& out, double v) {
    char buf[32];
    out.append(buf, ShortestText(buf, v));
}

void AppendBool(std::string& out, bool b) {
    out += b ? "true" : "false";
}

bool SameShape(const Shape& a, const Shape& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height &&
           a.visible == b.visible && a.fillColor == b.fillColor && a.borderColor == b.borderColor &&
           a.backColor == b.backColor;
}

// The text before each check box's and each button's values, the braces and commas between them
// included: the same on every line, so made once.
struct FixedText {
    std::array<std::string, std::size(kFormCheckBoxes)> checks;
    std::array<std::string, std::size(kFormClickables)> buttons;
};

const FixedText& Fixed() {
    static const FixedText text = [] {
        FixedText t;
        for (size_t i = 0; i < t.checks.size(); ++i) {
            t.checks[i] = std::string(i == 0 ? "}, \"checks\": {\"" : "}, \"") +
                          kFormCheckBoxes[i].name + "\": {\"value\": ";
        }
        for (size_t i = 0; i < t.buttons.size(); ++i) {
            t.buttons[i] = std::string(i == 0 ? "}}, \"buttons\": {\"" : "}, \"") +
                           kFormClickables[i].name + "\": {\"visible\": ";
        }
        return t;
    }();
    return text;
}

}  // namespace

void AppendMillis(std::string& out, Micros t) {
    AppendInt(out, t / 1000);
    int frac = static_cast<int>(t % 1000);
    if (frac == 0)
        return;
    char digits[4] = {static_cast<char>('0' + frac / 100), static_cast<char>('0' + frac / 10 % 10),
                      static_cast<char>('0' + frac % 10), 0};
    int len = 3;
    while (digits[len - 1] == '0') --len;
    out += '.';
    out.append(digits, len);
}

void AppendFloat(std::string& out, float v) {
    char buf[32];
    out.append(buf, ShortestText(buf, v));
}

void AppendJsonString(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void TraceWriter::AppendShape(size_t index, const char* name, const Shape& s) {
    CachedShape& cache = shapes_[index];
    if (!cache.valid || !SameShape(cache.value, s)) {
        std::string& t = cache.text;
        t.clear();
        t += '"';
        t += name;
        t += "\": {\"left\": ";
        AppendFloat(t, s.left);
        t += ", \"top\": ";
        AppendFloat(t, s.top);
        t += ", \"width\": ";
        AppendFloat(t, s.width);
        t += ", \"height\": ";
        AppendFloat(t, s.height);
        t += ", \"visible\": ";
        AppendBool(t, s.visible);
        t += ", \"fillColor\": ";
        AppendInt(t, s.fillColor);
        t += ", \"borderColor\": ";
        AppendInt(t, s.borderColor);
        t += ", \"backColor\": ";
        AppendInt(t, s.backColor);
        t += '}';
        cache.value = s;
        cache.valid = true;
    }
    buffer_ += cache.text;
}

void TraceWriter::AppendLabel(size_t index, const char* name, const Label& l) {
    CachedLabel& cache = labels_[index];
    if (!cache.valid || cache.foreColor != l.foreColor || cache.visible != l.visible ||
        cache.caption != l.caption) {
        std::string& t = cache.text;
        t.clear();
        t += '"';
        t += name;
        t += "\": {\"caption\": ";
        AppendJsonString(t, l.caption);
        t += ", \"foreColor\": ";
        AppendInt(t, l.foreColor);
        t += ", \"visible\": ";
        AppendBool(t, l.visible);
        t += '}';
        cache.foreColor = l.foreColor;
        cache.visible = l.visible;
        cache.caption = l.caption;
        cache.valid = true;
    }
    buffer_ += cache.text;
}

void TraceWriter::Write(Micros t, std::string_view event, const Game& game) {
    const GameState& s = game.state;
    const Form& f = game.form;
    std::string& b = buffer_;
    b += "{\"t\": ";
    AppendMillis(b, t);
    b += ", \"event\": ";
    AppendJsonString(b, event);

    b += ", \"state\": {";
    const char* separator = "\"";
    ForEachVariable(s, [&](const char* name, auto value) {
        b += separator;
        separator = ", \"";
        b += name;
        b += "\": ";
        if constexpr (std::is_same_v<decltype(value), double>)
            AppendDouble(b, value);
        else
            AppendInt(b, value);
    });

    b += "}, \"form\": {\"backColor\": ";
    AppendInt(b, f.backColor);

    b += "}, \"shapes\": {";
    for (size_t i = 0; i < std::size(kFormShapes); ++i) {
        if (i > 0)
            b += ", ";
        AppendShape(i, kFormShapes[i].name, f.*kFormShapes[i].member);
    }
    b += "}, \"labels\": {";
    for (size_t i = 0; i < std::size(kFormLabels); ++i) {
        if (i > 0)
            b += ", ";
        AppendLabel(i, kFormLabels[i].name, f.*kFormLabels[i].member);
    }
    const FixedText& fixed = Fixed();
    for (size_t i = 0; i < std::size(kFormCheckBoxes); ++i) {
        const CheckBox& c = f.*kFormCheckBoxes[i].member;
        b += fixed.checks[i];
        AppendInt(b, c.value);
        b += ", \"visible\": ";
        AppendBool(b, c.visible);
    }
    for (size_t i = 0; i < std::size(kFormClickables); ++i) {
        b += fixed.buttons[i];
        AppendBool(b, (f.*kFormClickables[i].member).visible);
    }
    b += "}}, \"timers\": {";
    for (int i = 0; i < kTimerCount; ++i) {
        if (i > 0)
            b += ", ";
        b += '"';
        b += TimerName(kFormTimers[i]);
        b += "\": ";
        AppendBool(b, f.timer(kFormTimers[i]).enabled);
    }
    b += "}, \"sound\": {\"plays\": ";
    AppendInt(b, game.musicPlays);
    b += "}}\n";

    if (b.size() >= kFlushAt)
        Flush();
}

bool TraceWriter::Flush() {
    if (!buffer_.empty() && out_ != nullptr && ok_) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
            ok_ = false;
    }
    buffer_.clear();
    if (out_ != nullptr && ok_ && std::fflush(out_) != 0)
        ok_ = false;
    return ok_;
}

}  // namespace sinkaway
