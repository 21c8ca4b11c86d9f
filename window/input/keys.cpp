// The key code table.
#include "keys.h"

#include "key_codes.h"

namespace sinkaway {

namespace {

uint16_t Keypad(SDL_Keycode key, bool numLock) {
    // With Num Lock the digit keys give VK_NUMPAD0..9; without, the keys printed beside them.
    switch (key) {
        case SDLK_KP_0:
            return numLock ? kKeyNumpad0 + 0 : kKeyInsert;
        case SDLK_KP_1:
            return numLock ? kKeyNumpad0 + 1 : kKeyEnd;
        case SDLK_KP_2:
            return numLock ? kKeyNumpad0 + 2 : kKeyDown;
        case SDLK_KP_3:
            return numLock ? kKeyNumpad0 + 3 : kKeyPageDown;
        case SDLK_KP_4:
            return numLock ? kKeyNumpad0 + 4 : kKeyLeft;
        case SDLK_KP_5:
            return numLock ? kKeyNumpad0 + 5 : kKeyClear;
        case SDLK_KP_6:
            return numLock ? kKeyNumpad0 + 6 : kKeyRight;
        case SDLK_KP_7:
            return numLock ? kKeyNumpad0 + 7 : kKeyHome;
        case SDLK_KP_8:
            return numLock ? kKeyNumpad0 + 8 : kKeyUp;
        case SDLK_KP_9:
            return numLock ? kKeyNumpad0 + 9 : kKeyPageUp;
        case SDLK_KP_PERIOD:
            return numLock ? kKeyDecimal : kKeyDelete;
        default:
            return 0;
    }
}

}  // namespace

uint16_t ToVirtualKey(SDL_Keycode key, uint16_t mod) {
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<uint16_t>(kKeyA + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<uint16_t>(kKey0 + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<uint16_t>(kKeyF1 + (key - SDLK_F1));
    if (key >= SDLK_F13 && key <= SDLK_F24)
        return static_cast<uint16_t>(kKeyF13 + (key - SDLK_F13));
    if (const uint16_t vk = Keypad(key, (mod & KMOD_NUM) != 0); vk != 0)
        return vk;
    switch (key) {
        case SDLK_LEFT:
            return kKeyLeft;
        case SDLK_UP:
            return kKeyUp;
        case SDLK_RIGHT:
            return kKeyRight;
        case SDLK_DOWN:
            return kKeyDown;
        case SDLK_BACKSPACE:
            return kKeyBackspace;
        case SDLK_TAB:
            return kKeyTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return kKeyEnter;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return kKeyShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return kKeyControl;
        case SDLK_LALT:
        case SDLK_RALT:
            return kKeyAlt;
        case SDLK_PAUSE:
            return kKeyPause;
        case SDLK_CAPSLOCK:
            return kKeyCapsLock;
        case SDLK_ESCAPE:
            return kKeyEscape;
        case SDLK_SPACE:
            return kKeySpace;
        case SDLK_PAGEUP:
            return kKeyPageUp;
        case SDLK_PAGEDOWN:
            return kKeyPageDown;
        case SDLK_END:
            return kKeyEnd;
        case SDLK_HOME:
            return kKeyHome;
        case SDLK_PRINTSCREEN:
            return kKeyPrintScreen;
        case SDLK_INSERT:
            return kKeyInsert;
        case SDLK_DELETE:
            return kKeyDelete;
        case SDLK_LGUI:
            return kKeyLeftWindows;
        case SDLK_RGUI:
            return kKeyRightWindows;
        case SDLK_APPLICATION:
            return kKeyApplication;
        case SDLK_KP_MULTIPLY:
            return kKeyMultiply;
        case SDLK_KP_PLUS:
            return kKeyAdd;
        case SDLK_KP_MINUS:
            return kKeySubtract;
        case SDLK_KP_DIVIDE:
            return kKeyDivide;
        case SDLK_NUMLOCKCLEAR:
            return kKeyNumLock;
        case SDLK_SCROLLLOCK:
            return kKeyScrollLock;
        case SDLK_SEMICOLON:
            return kKeySemicolon;
        case SDLK_EQUALS:
            return kKeyEquals;
        case SDLK_COMMA:
            return kKeyComma;
        case SDLK_MINUS:
            return kKeyMinus;
        case SDLK_PERIOD:
            return kKeyPeriod;
        case SDLK_SLASH:
            return kKeySlash;
        case SDLK_BACKQUOTE:
            return kKeyBackquote;
        case SDLK_LEFTBRACKET:
            return kKeyLeftBracket;
        case SDLK_BACKSLASH:
            return kKeyBackslash;
        case SDLK_RIGHTBRACKET:
            return kKeyRightBracket;
        case SDLK_QUOTE:
            return kKeyQuote;
        default:
            return 0;
    }
}

}  // namespace sinkaway
