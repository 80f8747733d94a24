#include "platform/sdl/sdl_controllers.h"

#include "platform/sdl/sdl_keys.h"

namespace sdl {

bool Controllers::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Button(event.cbutton.which, event.cbutton.button,
                   event.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                Stick(event.caxis.which, event.caxis.value);
            }
            return true;
        default:
            return false;
    }
}

void Controllers::ForgetStickPositions() {
    for (auto& entry : stickDirection_) {
        entry.second = 0;
    }
}

void Controllers::CloseAll() {
    for (auto& entry : open_) {
        SDL_GameControllerClose(entry.second);
    }
    open_.clear();
    stickDirection_.clear();
}

void Controllers::Open(int deviceIndex) {
    // SDL announces the controllers present at start as arrivals too; one
    // could be announced twice.
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || open_.count(id) != 0) {
        return;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller != nullptr) {
        open_[id] = controller;
        stickDirection_[id] = 0;
    }
}

void Controllers::Close(SDL_JoystickID id) {
    auto found = open_.find(id);
    if (found == open_.end()) {
        return;
    }
    SDL_GameControllerClose(found->second);
    open_.erase(found);
    stickDirection_.erase(id);
    holds_.ReleaseDevice(id);
}

void Controllers::Button(SDL_JoystickID id, int button, bool down) {
    int key = ControllerButtonKey(button);
    if (key == 0 || open_.count(id) == 0) {
        return;
    }
    if (down) {
        holds_.Press(key, KeyHolder{id, button});
    } else {
        holds_.Release(key, KeyHolder{id, button});
    }
}

void Controllers::Stick(SDL_JoystickID id, int value) {
    auto found = stickDirection_.find(id);
    if (found == stickDirection_.end()) {
        return;
    }
    int direction = StickDirection(value);
    int& before = found->second;
    if (direction == before) {
        return;
    }
    // The stick leaning one way holds that way's arrow key, as the D-pad does.
    auto key = [](int way) {
        return ControllerButtonKey(way < 0 ? SDL_CONTROLLER_BUTTON_DPAD_LEFT
                                           : SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    };
    auto holder = [id](int way) { return KeyHolder{id, way < 0 ? STICK_LEFT : STICK_RIGHT}; };
    if (before != 0) {
        holds_.Release(key(before), holder(before));
    }
    if (direction != 0) {
        holds_.Press(key(direction), holder(direction));
    }
    before = direction;
}

}  // namespace sdl
