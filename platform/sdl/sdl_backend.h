// The real backend: an SDL2 window with OpenGL drawing, SDL keyboard events,
// clock and audio output. The game never sees SDL or OpenGL; it reaches this
// only through the Backend interface.
#pragma once

#include "platform/backend.h"

// A new backend; nothing of SDL starts until the game first needs it.
Backend* CreateSdlBackend();
