// The SDL window with its OpenGL context: mode listing, the full-screen
// mode switch with its fallback, and showing frames at the display's pace.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_frame_pacer.h"
#include "platform/sdl/sdl_modes.h"

namespace sdl {

class Video {
public:
    // The display's modes in its own order (see GameModes). SDL must have
    // started.
    std::vector<DisplayMode> Modes();

    void SetTitle(const std::string& title);
    // A depth of 0 opens a plain window; any other depth the whole screen,
    // switching to the closest mode of that size, or else scaling the
    // picture onto the desktop. False with SDL's reason when no window or
    // context can be had.
    bool Open(int width, int height, int depth, int rate, std::string& error);
    bool IsOpen() const { return window_ != nullptr; }
    // Destroying the window puts the desktop's own mode back.
    void Close();

    // Where the picture lies in the drawable, and the drawable's size.
    void Layout(Viewport& viewport, int& drawableWidth, int& drawableHeight) const;

    // sync -1: at the display's refresh when the swap waits for it, else
    // paced by sleeping at the opened rate; 0: at once.
    void Present(int sync);

private:
    // Opens a full-screen window switched to the offered mode closest to the
    // request; false, with no window left, when there is none or it fails.
    bool SwitchMode(const SDL_Rect& bounds, int width, int height, int depth, int rate,
                    Uint32 flags);
    void SetSwapInterval(int interval);
    void WatchVsync(Uint64 now);

    std::string title_;
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    int pictureWidth_ = kGameWidth;
    int pictureHeight_ = kGameHeight;
    bool vsync_ = false;  // the swap waits for the display's refresh
    int interval_ = 0;    // swap interval in force
    int displayHz_ = 60;  // the refresh the window is shown at, for checking vsync
    FramePacer pacer_;
    Uint64 watchStart_ = 0;
    int watchedFrames_ = 0;
};

}  // namespace sdl
