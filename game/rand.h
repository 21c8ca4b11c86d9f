// The game's random numbers: a seeded source of floats in [0, 1) and Rand over an inclusive range.
#pragma once

#include <cstdint>

namespace sinkaway {

// Any uniform source of single-precision values in [0, 1). Tests substitute scripted sources.
class FloatSource {
  public:
    virtual ~FloatSource() = default;
    virtual float NextFloat() = 0;
    virtual void Seed(uint64_t seed) = 0;
};

// SplitMix64: tiny, fast, and the same sequence on every machine for the same seed.
class SeededGenerator final : public FloatSource {
  public:
    explicit SeededGenerator(uint64_t seed = 0) : state_(seed) {}
    void Seed(uint64_t seed) override { state_ = seed; }
    float NextFloat() override;

  private:
    uint64_t state_;
};

// A whole number from low to high, both included: floor(r * (high - low + 1)) + low, worked in
// double precision. For high < low it still follows that formula (Rand(1, 0) is 1).
int32_t Rand(FloatSource& source, int32_t low, int32_t high);

}  // namespace sinkaway
