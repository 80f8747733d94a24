// SDL's lifetime in the process, and the close request that the window
// system or a signal can raise.
#pragma once

#include <string>

namespace sdl {

// Installs, once, what every way out relies on: SDL_Quit at exit (which puts
// the desktop's own display mode back) and the SIGTERM/SIGINT handlers.
void InstallProcessHooks();

// Starts SDL's video, timer, event and game-controller parts the first time
// it is asked; false, with a message naming the display and SDL's reason,
// when no display a player can see can be had.
bool StartSdl(std::string& error);
// The message for a display that cannot be reached, from the DISPLAY and
// WAYLAND_DISPLAY settings (null when unset) and SDL's reason.
std::string NoDisplayMessage(const char* x11Display, const char* waylandDisplay,
                             const std::string& reason);
bool SdlStarted();

// A SIGTERM, SIGINT or a closed window asks the game to close; the game
// finishes its current pass and quits normally.
void RequestClose();
bool CloseWasRequested();

// Once nothing is left to save or restore, a signal ends the process again
// at once (a fatal error's message box must not outlive a SIGTERM).
void RestoreDefaultSignals();

// Shuts all of SDL down. Safe to call more than once.
void StopSdl();

}  // namespace sdl
