// The Windows virtual-key codes the game's key handlers take, and the only place they are spelled:
// the rules, the scripts, the window's keys and pads all say them by these names.
#pragma once

#include <cstdint>

namespace sinkaway {

inline constexpr uint16_t kKeyBackspace = 8;
inline constexpr uint16_t kKeyTab = 9;
inline constexpr uint16_t kKeyClear = 12;  // the keypad's 5 without Num Lock
inline constexpr uint16_t kKeyEnter = 13;
inline constexpr uint16_t kKeyShift = 16;
inline constexpr uint16_t kKeyControl = 17;
inline constexpr uint16_t kKeyAlt = 18;
inline constexpr uint16_t kKeyPause = 19;
inline constexpr uint16_t kKeyCapsLock = 20;
inline constexpr uint16_t kKeyEscape = 27;
inline constexpr uint16_t kKeySpace = 32;
inline constexpr uint16_t kKeyPageUp = 33;
inline constexpr uint16_t kKeyPageDown = 34;
inline constexpr uint16_t kKeyEnd = 35;
inline constexpr uint16_t kKeyHome = 36;
inline constexpr uint16_t kKeyLeft = 37;
inline constexpr uint16_t kKeyUp = 38;
inline constexpr uint16_t kKeyRight = 39;
inline constexpr uint16_t kKeyDown = 40;
inline constexpr uint16_t kKeyPrintScreen = 44;
inline constexpr uint16_t kKeyInsert = 45;
inline constexpr uint16_t kKeyDelete = 46;
inline constexpr uint16_t kKey0 = '0';  // the digits follow in order up to '9'
inline constexpr uint16_t kKeyA = 'A';  // the letters follow in order up to 'Z'
inline constexpr uint16_t kKeyD = 'D';
inline constexpr uint16_t kKeyH = 'H';
inline constexpr uint16_t kKeyN = 'N';
inline constexpr uint16_t kKeyO = 'O';
inline constexpr uint16_t kKeyP = 'P';
inline constexpr uint16_t kKeyS = 'S';
inline constexpr uint16_t kKeyLeftWindows = 91;
inline constexpr uint16_t kKeyRightWindows = 92;
inline constexpr uint16_t kKeyApplication = 93;
inline constexpr uint16_t kKeyNumpad0 = 0x60;  // the keypad digits follow in order
inline constexpr uint16_t kKeyMultiply = 106;
inline constexpr uint16_t kKeyAdd = 107;
inline constexpr uint16_t kKeySubtract = 109;
inline constexpr uint16_t kKeyDecimal = 110;
inline constexpr uint16_t kKeyDivide = 111;
inline constexpr uint16_t kKeyF1 = 0x70;  // F1 to F12 follow in order
inline constexpr uint16_t kKeyF11 = 0x7A;
inline constexpr uint16_t kKeyF13 = 0x7C;  // F13 to F24 follow in order
inline constexpr uint16_t kKeyNumLock = 144;
inline constexpr uint16_t kKeyScrollLock = 145;
inline constexpr uint16_t kKeySemicolon = 186;
inline constexpr uint16_t kKeyEquals = 187;
inline constexpr uint16_t kKeyComma = 188;
inline constexpr uint16_t kKeyMinus = 189;
inline constexpr uint16_t kKeyPeriod = 190;
inline constexpr uint16_t kKeySlash = 191;
inline constexpr uint16_t kKeyBackquote = 192;
inline constexpr uint16_t kKeyLeftBracket = 219;
inline constexpr uint16_t kKeyBackslash = 220;
inline constexpr uint16_t kKeyRightBracket = 221;
inline constexpr uint16_t kKeyQuote = 222;

}  // namespace sinkaway
