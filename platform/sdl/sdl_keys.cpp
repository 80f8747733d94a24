#include "platform/sdl/sdl_keys.h"

namespace sdl {

int GameKeyCode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return 112 + (key - SDLK_F1);
    }
    switch (key) {
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_RETURN:
            return 13;
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_LSHIFT:
            return 160;
        case SDLK_RSHIFT:
            return 161;
        case SDLK_LCTRL:
            return 162;
        case SDLK_RCTRL:
            return 163;
        case SDLK_LALT:
            return 164;
        case SDLK_RALT:
            return 165;
        case SDLK_DELETE:
            return 46;
        case SDLK_INSERT:
            return 45;
        case SDLK_HOME:
            return 36;
        case SDLK_END:
            return 35;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_KP_0:
            return 96;
        case SDLK_KP_1:
            return 97;
        case SDLK_KP_2:
            return 98;
        case SDLK_KP_3:
            return 99;
        case SDLK_KP_4:
            return 100;
        case SDLK_KP_5:
            return 101;
        case SDLK_KP_6:
            return 102;
        case SDLK_KP_7:
            return 103;
        case SDLK_KP_8:
            return 104;
        case SDLK_KP_9:
            return 105;
        case SDLK_MINUS:
            return 189;
        case SDLK_PERIOD:
            return 190;
        case SDLK_COMMA:
            return 188;
        default:
            return 0;
    }
}

int ControllerButtonKey(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return GameKeyCode(SDLK_LEFT);
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return GameKeyCode(SDLK_RIGHT);
        case SDL_CONTROLLER_BUTTON_A:
            return GameKeyCode(SDLK_SPACE);
        case SDL_CONTROLLER_BUTTON_START:
            return GameKeyCode(SDLK_p);
        case SDL_CONTROLLER_BUTTON_BACK:
            return GameKeyCode(SDLK_ESCAPE);
        default:
            return 0;
    }
}

int StickDirection(int value) {
    if (value < -STICK_DEAD_ZONE) {
        return -1;
    }
    return value > STICK_DEAD_ZONE ? 1 : 0;
}

}  // namespace sdl
