// The game on the real machine: an SDL window with OpenGL drawing.
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/startup.h"

int main() {
    EnterProgramFolder();
    InstallBackend(CreateSdlBackend());
    RunQuorvex();
}
