#include "platform/sdl/sdl_process.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>

namespace sdl {
namespace {

volatile std::sig_atomic_t closeSignalled = 0;
bool closeEvent = false;
bool hooksInstalled = false;
bool started = false;

// Only raises the flag: the game quits through its own path at the end of
// the pass, so the score file is written and the display mode restored.
extern "C" void OnCloseSignal(int) {
    closeSignalled = 1;
}

}  // namespace

void InstallProcessHooks() {
    if (hooksInstalled) {
        return;
    }
    hooksInstalled = true;
    // SDL would turn these signals into quit events of its own; ours are
    // enough and work before SDL has started.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::signal(SIGTERM, OnCloseSignal);
    std::signal(SIGINT, OnCloseSignal);
    // No atexit(SDL_Quit): the regular ways out shut SDL down themselves,
    // and the one exit that comes from elsewhere, Xlib's on a lost X server,
    // would hang in SDL_Quit on the dead connection.
}

bool StartSdl(std::string& error) {
    if (started) {
        return true;
    }
    InstallProcessHooks();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        error = SDL_GetError();
        return false;
    }
    started = true;
    return true;
}

bool SdlStarted() {
    return started;
}

void RequestClose() {
    closeEvent = true;
}

bool CloseWasRequested() {
    return closeEvent || closeSignalled != 0;
}

void RestoreDefaultSignals() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

void StopSdl() {
    SDL_Quit();
    started = false;
}

}  // namespace sdl
