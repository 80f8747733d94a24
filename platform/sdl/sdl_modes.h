// Display-mode arithmetic that needs no display: how modes are reported to
// the game, which one to switch to, and where the picture lands on a screen
// of another size.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace sdl {

// The game's own picture size.
constexpr int kGameWidth = 1024;
constexpr int kGameHeight = 768;

// Colour depth as a player reads it: a format stored in four bytes per pixel
// counts as 32 bits even when only 24 of them carry colour.
int ReportedDepth(int bitsPerPixel, int bytesPerPixel);

// The modes the game is told about: the display's own, plus one made-up
// 1024x768 mode at the desktop's depth and rate when the display lists no
// 1024x768 mode at all but its desktop is at least that big (a single-mode X
// server, for one). Opening that mode shows the picture scaled onto the
// desktop instead of switching modes.
std::vector<DisplayMode> GameModes(const std::vector<DisplayMode>& offered,
                                   const DisplayMode& desktop);

// Index of the offered mode to switch to for a picture of width x height,
// or -1 when none has that size. Among those of the size it prefers the
// requested depth, then the requested rate (or the nearest one); a rate of 0
// prefers the desktop's rate.
int ChooseMode(const std::vector<DisplayMode>& offered, int width, int height, int depth, int rate,
               int desktopRate);

struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest area with the picture's aspect ratio, centred in the drawable;
// the rest is left as black bars.
Viewport FitViewport(int drawableWidth, int drawableHeight, int pictureWidth, int pictureHeight);

}  // namespace sdl
