// Test helpers: a random source that answers with chosen values, and a game set up for a test.
#pragma once

#include <deque>
#include <stdexcept>

#include "game.h"
#include "rand.h"
#include "session.h"

namespace sinkaway::testing {

// Hands out the floats it was given, in order; running dry is a test failure, not a silent 0.
class ScriptedSource final : public FloatSource {
  public:
    ScriptedSource() = default;
    ScriptedSource(std::initializer_list<float> values) : values_(values) {}
    void Push(float v) { values_.push_back(v); }
    // The float that makes Rand(low, high) answer `result`.
    void PushFor(int low, int high, int result) {
        Push((static_cast<float>(result - low) + 0.5f) / static_cast<float>(high - low + 1));
    }
    float NextFloat() override {
        if (values_.empty())
            throw std::logic_error("ScriptedSource ran dry");
        float v = values_.front();
        values_.pop_front();
        return v;
    }
    void Seed(uint64_t) override {}
    size_t left() const { return values_.size(); }

  private:
    std::deque<float> values_;
};

class CountingMusic final : public MusicPlayer {
  public:
    void PlayAsync() override { ++plays; }
    int plays = 0;
};

}  // namespace sinkaway::testing
