// SplitMix64 and the game's Rand.
#include "rand.h"

#include <cmath>

namespace sinkaway {

float SeededGenerator::NextFloat() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    // The top 24 bits make a float that is exact and strictly below 1.
    return static_cast<float>(z >> 40) * 0x1.0p-24f;
}

int32_t Rand(FloatSource& source, int32_t low, int32_t high) {
    const float r = source.NextFloat();
    // Unsigned arithmetic keeps the 32-bit wrap defined; the game's ranges never come near it.
    const auto n =
        static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low) + 1u);
    return static_cast<int32_t>(std::floor(static_cast<double>(r) * n) + low);
}

}  // namespace sinkaway
