// FNV-1a over the drawn properties of the visible controls.
#include "form_digest.h"

#include <cstring>
#include <string>

namespace sinkaway {

namespace {

class Digest {
  public:
    template <typename T>
    void Add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) Byte(b);
    }
    void Add(const std::string& s) {
        Add(s.size());
        for (char c : s) Byte(static_cast<unsigned char>(c));
    }
    void Add(const Shape& s) {
        Add(s.visible);
        if (!s.visible)
            return;  // a hidden hole may move every tick unseen
        Add(s.left);
        Add(s.top);
        Add(s.width);
        Add(s.height);
        Add(s.fillColor);
        Add(s.borderColor);
    }
    void Add(const Label& l) {
        Add(l.visible);
        if (!l.visible)
            return;
        Add(l.caption);
        Add(l.foreColor);
    }
    void Add(const CheckBox& c) {
        Add(c.visible);
        Add(c.value);
    }
    void Add(const Clickable& c) { Add(c.visible); }
    uint64_t value() const { return h_; }

  private:
    void Byte(unsigned char b) {
        h_ ^= b;
        h_ *= 1099511628211ull;
    }
    uint64_t h_ = 14695981039346656037ull;
};

}  // namespace

uint64_t VisibleDigest(const Form& f) {
    Digest d;
    d.Add(f.backColor);
    ForEachControl(f, [&d](const char*, const auto& control) { d.Add(control); });
    return d.value();
}

}  // namespace sinkaway
