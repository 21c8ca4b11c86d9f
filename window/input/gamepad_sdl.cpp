// Game pads through SDL: pads come and go at any time, and what they do becomes the keys and
// clicks the keyboard and mouse would give.
#include "game_window.h"
#include "pause.h"

namespace sinkaway {

namespace {

PadButton ButtonOf(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::kDpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::kDpadRight;
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::kA;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::kStart;
        default:
            return PadButton::kOther;
    }
}

}  // namespace

void GameWindow::ClosePads() {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad);
    pads_.clear();
}

void GameWindow::OnPad(const SDL_Event& e) {
    std::vector<PadOutput> out;
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            // `which` is a device index here; every later event names the pad's instance id.
            if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) {
                const SDL_JoystickID id =
                    SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
                if (!pads_.emplace(id, pad).second)
                    SDL_GameControllerClose(pad);  // already open: SDL announces pads twice
            }
            return;
        case SDL_CONTROLLERDEVICEREMOVED: {
            padKeys_.Removed(e.cdevice.which, out);
            auto found = pads_.find(e.cdevice.which);
            if (found != pads_.end()) {
                SDL_GameControllerClose(found->second);
                pads_.erase(found);
            }
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            padKeys_.Button(e.cbutton.which, ButtonOf(e.cbutton.button),
                            e.type == SDL_CONTROLLERBUTTONDOWN, out);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                padKeys_.StickX(e.caxis.which, e.caxis.value, out);
            break;
        default:
            return;
    }
    const Form& form = session_.game.form;
    for (const PadOutput& o : out) {
        switch (o.kind) {
            case PadOutput::Kind::kKeyDown: {
                KeyPress press;
                press.vk = o.vk;
                KeyDown(press);
                break;
            }
            case PadOutput::Kind::kKeyUp:
                KeyUp(o.vk);
                break;
            case PadOutput::Kind::kStart:
                // During play Start pauses and resumes, as the pad's player has no P key.
                if (paused_) {
                    Resume();
                    break;
                }
                if (InPlay(form)) {
                    Pause();
                    break;
                }
                [[fallthrough]];
            case PadOutput::Kind::kNewGame:
                if (paused_)
                    break;
                if (form.cmdNewGame.visible) {
                    Click(Control::cmdNewGame);
                } else if (form.imgNewGame.visible) {
                    Click(Control::imgNewGame);
                }
                break;
        }
    }
}

}  // namespace sinkaway
