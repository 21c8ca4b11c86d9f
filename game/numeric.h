// Number conversions the rules rely on: nearest-even rounding to whole numbers and 16-bit
// arithmetic.
#pragma once

#include <cmath>
#include <cstdint>

namespace sinkaway {

// Rounds to the nearest whole number, ties to even (the default floating-point rounding mode).
inline int32_t RoundToInt32(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

// As RoundToInt32, then narrowed to 16 bits; the values the game rounds are small positions.
inline int16_t RoundToInt16(double v) {
    return static_cast<int16_t>(std::nearbyint(v));
}

// 16-bit negation: wraps like the 16-bit whole numbers of the game state do.
inline int16_t Negate16(int16_t v) {
    return static_cast<int16_t>(-static_cast<int32_t>(v));
}

// Flags of the game state are 16-bit whole numbers holding 0 or -1, combined bitwise.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;
inline int16_t Flag(bool b) {
    return b ? kTrue : kFalse;
}

}  // namespace sinkaway
