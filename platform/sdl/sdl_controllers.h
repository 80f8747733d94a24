// Game controllers through SDL's game-controller layer, those present at
// start and those plugged in later. Their buttons and left stick hold game
// keys like the keyboard's (see ControllerButtonKey and StickDirection).
#pragma once

#include <SDL.h>

#include <map>

#include "platform/sdl/sdl_key_holds.h"

namespace sdl {

class Controllers {
public:
    explicit Controllers(KeyHolds& holds) : holds_(holds) {}

    // Takes a controller event (arrival, removal, button, stick); false for
    // any other event.
    bool Handle(const SDL_Event& event);
    // The focus went elsewhere and every hold was let go: the stick counts
    // as centred until it moves out of the dead zone again.
    void ForgetStickPositions();
    void CloseAll();

private:
    // Inputs of the left stick, after the buttons' numbers.
    static constexpr int STICK_LEFT = SDL_CONTROLLER_BUTTON_MAX;
    static constexpr int STICK_RIGHT = SDL_CONTROLLER_BUTTON_MAX + 1;

    void Open(int deviceIndex);
    void Close(SDL_JoystickID id);
    void Button(SDL_JoystickID id, int button, bool down);
    void Stick(SDL_JoystickID id, int value);

    KeyHolds& holds_;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
    std::map<SDL_JoystickID, int> stickDirection_;  // -1, 0 or 1
};

}  // namespace sdl
