// Where the real game may keep the files it saves.
#pragma once

#include <string>

namespace sdl {

// Whether the working folder, the program's, takes new files.
bool WorkingFolderWritable();

// The player's own folder for the game, ending in '/', or empty when the
// player has none: the folder SDL_GetPrefPath gives, $XDG_DATA_HOME/quorvex/
// or ~/.local/share/quorvex/. SDL makes that folder as it names it, so with
// 'make' unset the name is worked out by SDL's rule without touching the
// disk, and a game that only reads leaves no empty folder behind.
std::string UserFolder(bool make);

}  // namespace sdl
