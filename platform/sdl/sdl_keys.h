// The game's key numbers for SDL's keys.
#pragma once

#include <SDL.h>

namespace sdl {

// The game's code for a key, judged by the key's own symbol (so a Z key
// stays Z on any layout); 0 for keys the game has no code for.
int GameKeyCode(SDL_Keycode key);

// The key a game-controller button stands for: the D-pad's left and right
// are the arrow keys, the south button (A) Space, Start P and Back Escape;
// 0 for the others.
int ControllerButtonKey(int button);

// How far the left stick must lean before it counts as an arrow key.
constexpr int STICK_DEAD_ZONE = 10000;
// -1 for left, 1 for right, 0 inside the dead zone.
int StickDirection(int value);

}  // namespace sdl
