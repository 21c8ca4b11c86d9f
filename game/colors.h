// The game's colours, as 24-bit values 0x00BBGGRR (blue in the high byte, red in the low byte).
#pragma once

#include <cstdint>

namespace sinkaway {

using Color = uint32_t;

namespace colors {
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kGrey = 0x808080;
inline constexpr Color kDarkGrey = 0x404040;
inline constexpr Color kMagenta = 0xFF00FF;
inline constexpr Color kYellow = 0x00FFFF;
inline constexpr Color kCyan = 0xFFFF00;
inline constexpr Color kLightCyan = 0xFFFFC0;
}  // namespace colors

inline constexpr uint8_t RedOf(Color c) {
    return static_cast<uint8_t>(c & 0xFF);
}
inline constexpr uint8_t GreenOf(Color c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
inline constexpr uint8_t BlueOf(Color c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

}  // namespace sinkaway
