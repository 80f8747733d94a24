// The game's key numbers for SDL's keys.
#pragma once

#include <SDL.h>

namespace sdl {

// The game's code for a key, judged by the key's own symbol (so a Z key
// stays Z on any layout); 0 for keys the game has no code for.
int GameKeyCode(SDL_Keycode key);

}  // namespace sdl
