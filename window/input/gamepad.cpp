// Game pad changes to key events.
#include "gamepad.h"

#include "key_codes.h"

namespace sinkaway {

bool PadMapper::Holds(uint16_t vk) const {
    for (const auto& [id, pad] : pads_) {
        if (vk == kKeyLeft && (pad.dpadLeft || pad.stick < 0))
            return true;
        if (vk == kKeyRight && (pad.dpadRight || pad.stick > 0))
            return true;
    }
    return false;
}

template <typename Change>
void PadMapper::Update(int pad, Change change, std::vector<PadOutput>& out) {
    const bool left = Holds(kKeyLeft), right = Holds(kKeyRight);
    change(pads_[pad]);
    // Releases first: a stick swung from one side to the other lets go before it presses.
    for (auto [vk, was] : {std::pair{kKeyLeft, left}, std::pair{kKeyRight, right}}) {
        if (was && !Holds(vk))
            out.push_back({PadOutput::Kind::kKeyUp, vk});
    }
    for (auto [vk, was] : {std::pair{kKeyLeft, left}, std::pair{kKeyRight, right}}) {
        if (!was && Holds(vk))
            out.push_back({PadOutput::Kind::kKeyDown, vk});
    }
}

void PadMapper::Button(int pad, PadButton button, bool pressed, std::vector<PadOutput>& out) {
    switch (button) {
        case PadButton::kDpadLeft:
            Update(
                pad, [&](Pad& p) { p.dpadLeft = pressed; }, out);
            break;
        case PadButton::kDpadRight:
            Update(
                pad, [&](Pad& p) { p.dpadRight = pressed; }, out);
            break;
        case PadButton::kA:
            if (pressed)
                out.push_back({PadOutput::Kind::kNewGame});
            break;
        case PadButton::kStart:
            if (pressed)
                out.push_back({PadOutput::Kind::kStart});
            break;
        case PadButton::kX:
            if (pressed)
                out.push_back({PadOutput::Kind::kToday});
            break;
        case PadButton::kBack:
        case PadButton::kY:
            if (pressed)
                out.push_back({PadOutput::Kind::kBestGames});
            break;
        case PadButton::kOther:
            break;
    }
}

void PadMapper::StickX(int pad, int value, std::vector<PadOutput>& out) {
    Update(
        pad,
        [&](Pad& p) {
            if (value <= -kStickPress) {
                p.stick = -1;
            } else if (value >= kStickPress) {
                p.stick = 1;
            } else if (p.stick < 0 ? value > -kStickRelease : value < kStickRelease) {
                p.stick = 0;
            }
        },
        out);
}

void PadMapper::Removed(int pad, std::vector<PadOutput>& out) {
    if (pads_.count(pad) == 0)
        return;
    Update(
        pad, [](Pad& p) { p = Pad{}; }, out);
    pads_.erase(pad);
}

}  // namespace sinkaway
