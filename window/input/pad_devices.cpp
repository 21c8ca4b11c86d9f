// Game pads through SDL: each pad is opened when SDL announces it, and its events become the
// router's pad calls.
#include "pad_devices.h"

#include <algorithm>

namespace sinkaway {

namespace {

PadButton ButtonOf(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::kDpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::kDpadRight;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadButton::kDpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadButton::kDpadDown;
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::kA;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::kB;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::kStart;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadButton::kBack;
        case SDL_CONTROLLER_BUTTON_X:
            return PadButton::kX;
        case SDL_CONTROLLER_BUTTON_Y:
            return PadButton::kY;
        default:
            return PadButton::kOther;
    }
}

}  // namespace

void PadDevices::Start(int64_t nowMs) {
    ReadWithEvents();
    nextLookMs_ = nowMs + kLookEveryMs;
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

int64_t PadDevices::MillisToLook(int64_t nowMs) const {
    return open_.empty() ? std::max<int64_t>(0, nextLookMs_ - nowMs) : -1;
}

void PadDevices::Look(int64_t nowMs) {
    if (!open_.empty() || nowMs < nextLookMs_)
        return;
    SDL_JoystickUpdate();
    nextLookMs_ = nowMs + kLookEveryMs;
}

void PadDevices::ReadWithEvents() {
    // A pad's buttons and stick must reach the game as soon as the keyboard's do.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, open_.empty() ? "0" : "1");
}

bool PadDevices::IsPadEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            return true;
        default:
            return false;
    }
}

void PadDevices::Close() {
    if (open_.empty())
        return;
    for (auto& [id, pad] : open_) SDL_GameControllerClose(pad);
    open_.clear();
    ReadWithEvents();
}

InputRouter::Outcomes PadDevices::Handle(const SDL_Event& e, InputRouter& router) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            // `which` is a device index here; every later event names the pad's instance id.
            if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) {
                const SDL_JoystickID id =
                    SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
                if (!open_.emplace(id, pad).second)
                    SDL_GameControllerClose(pad);  // already open: SDL announces pads twice
                ReadWithEvents();
            }
            return {};
        case SDL_CONTROLLERDEVICEREMOVED: {
            const InputRouter::Outcomes out = router.PadRemoved(e.cdevice.which);
            auto found = open_.find(e.cdevice.which);
            if (found != open_.end()) {
                SDL_GameControllerClose(found->second);
                open_.erase(found);
                ReadWithEvents();
            }
            return out;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            return router.PadPress(e.cbutton.which, ButtonOf(e.cbutton.button),
                                   e.type == SDL_CONTROLLERBUTTONDOWN);
        case SDL_CONTROLLERAXISMOTION:
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                return router.PadStick(e.caxis.which, e.caxis.value);
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                return router.PadStickY(e.caxis.which, e.caxis.value);
            return {};
        default:
            return {};
    }
}

}  // namespace sinkaway
