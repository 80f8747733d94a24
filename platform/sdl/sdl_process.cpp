#include "platform/sdl/sdl_process.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

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

// The video drivers that show a picture to someone. SDL would otherwise fall
// back to its off-screen driver without a display, and the game would run
// unseen; the off-screen and dummy drivers stay available when
// SDL_VIDEODRIVER names them, since the environment overrides this hint.
void AskForARealDisplay() {
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (name == nullptr || std::strcmp(name, "offscreen") == 0 ||
            std::strcmp(name, "dummy") == 0 || std::strcmp(name, "evdev") == 0) {
            continue;
        }
        drivers += (drivers.empty() ? "" : ",") + std::string(name);
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
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

std::string NoDisplayMessage(const char* x11Display, const char* waylandDisplay,
                             const std::string& reason) {
    bool x11 = x11Display != nullptr && *x11Display != '\0';
    bool wayland = waylandDisplay != nullptr && *waylandDisplay != '\0';
    std::string named;
    if (x11) {
        named = "the display \"" + std::string(x11Display) + "\"";
    }
    if (wayland) {
        named +=
            (x11 ? " or " : "") + ("the Wayland display \"" + std::string(waylandDisplay) + "\"");
    }
    std::string message = named.empty()
                              ? "Cannot reach a display: neither DISPLAY nor WAYLAND_DISPLAY is set"
                              : "Cannot reach " + named;
    return reason.empty() ? message : message + " (" + reason + ")";
}

bool StartSdl(std::string& error) {
    if (started) {
        return true;
    }
    InstallProcessHooks();
    AskForARealDisplay();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        error = NoDisplayMessage(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                                 SDL_GetError());
        return false;
    }
    // Game controllers are welcome but not needed: the keyboard always works.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
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
