// Game pad changes to key events.
#include "gamepad.h"

#include <iterator>

#include "key_codes.h"

namespace sinkaway {

namespace {

constexpr uint16_t kArrows[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};

}  // namespace

bool PadMapper::Holds(uint16_t vk) const {
    for (const auto& [id, pad] : pads_) {
        if (vk == kKeyLeft && (pad.dpadLeft || pad.stick < 0))
            return true;
        if (vk == kKeyRight && (pad.dpadRight || pad.stick > 0))
            return true;
        if (vk == kKeyUp && (pad.dpadUp || pad.stickY < 0))
            return true;
        if (vk == kKeyDown && (pad.dpadDown || pad.stickY > 0))
            return true;
    }
    return false;
}

template <typename Change>
void PadMapper::Update(int pad, Change change, std::vector<PadOutput>& out) {
    bool was[std::size(kArrows)];
    for (size_t i = 0; i < std::size(kArrows); ++i) was[i] = Holds(kArrows[i]);
    change(pads_[pad]);
    // Releases first: a stick swung from one side to the other lets go before it presses.
    for (size_t i = 0; i < std::size(kArrows); ++i) {
        if (was[i] && !Holds(kArrows[i]))
            out.push_back({PadOutput::Kind::kKeyUp, kArrows[i]});
    }
    for (size_t i = 0; i < std::size(kArrows); ++i) {
        if (!was[i] && Holds(kArrows[i]))
            out.push_back({PadOutput::Kind::kKeyDown, kArrows[i]});
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
        case PadButton::kDpadUp:
            Update(
                pad, [&](Pad& p) { p.dpadUp = pressed; }, out);
            break;
        case PadButton::kDpadDown:
            Update(
                pad, [&](Pad& p) { p.dpadDown = pressed; }, out);
            break;
        case PadButton::kA:
            if (pressed)
                out.push_back({PadOutput::Kind::kNewGame});
            break;
        case PadButton::kB:
            if (pressed)
                out.push_back({PadOutput::Kind::kGoBack});
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

int PadMapper::Lean(int was, int value) {
    if (value <= -kStickPress)
        return -1;
    if (value >= kStickPress)
        return 1;
    if (was < 0 ? value > -kStickRelease : value < kStickRelease)
        return 0;
    return was;
}

void PadMapper::StickX(int pad, int value, std::vector<PadOutput>& out) {
    Update(
        pad, [&](Pad& p) { p.stick = Lean(p.stick, value); }, out);
}

void PadMapper::StickY(int pad, int value, std::vector<PadOutput>& out) {
    Update(
        pad, [&](Pad& p) { p.stickY = Lean(p.stickY, value); }, out);
}

void PadMapper::Removed(int pad, std::vector<PadOutput>& out) {
    if (pads_.count(pad) == 0)
        return;
    Update(
        pad, [](Pad& p) { p = Pad{}; }, out);
    pads_.erase(pad);
}

}  // namespace sinkaway
