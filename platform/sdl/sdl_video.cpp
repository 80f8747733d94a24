#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

DisplayMode FromSdl(const SDL_DisplayMode& m) {
    return DisplayMode{m.w, m.h,
                       ReportedDepth(SDL_BITSPERPIXEL(m.format), SDL_BYTESPERPIXEL(m.format)),
                       m.refresh_rate};
}

std::vector<SDL_DisplayMode> OfferedModes() {
    std::vector<SDL_DisplayMode> modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) == 0) {
            modes.push_back(m);
        }
    }
    return modes;
}

std::vector<DisplayMode> Converted(const std::vector<SDL_DisplayMode>& modes) {
    std::vector<DisplayMode> out;
    for (const SDL_DisplayMode& m : modes) {
        out.push_back(FromSdl(m));
    }
    return out;
}

// Frames checked at a time when deciding whether the swap really waits.
constexpr int kVsyncWatchFrames = 60;

}  // namespace

std::vector<DisplayMode> Video::Modes() {
    SDL_DisplayMode desktop;
    DisplayMode desk;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        desk = FromSdl(desktop);
    }
    return GameModes(Converted(OfferedModes()), desk);
}

void Video::SetTitle(const std::string& title) {
    title_ = title;
    if (window_ != nullptr) {
        SDL_SetWindowTitle(window_, title_.c_str());
    }
}

bool Video::Open(int width, int height, int depth, int rate, std::string& error) {
    pictureWidth_ = width;
    pictureHeight_ = height;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (depth == 0) {
        int centred = SDL_WINDOWPOS_CENTERED_DISPLAY(0);
        window_ = SDL_CreateWindow(title_.c_str(), centred, centred, width, height, flags);
    } else {
        SDL_Rect bounds{0, 0, width, height};
        SDL_GetDisplayBounds(0, &bounds);
        if (!SwitchMode(bounds, width, height, depth, rate, flags)) {
            // No mode of the picture's size, or the display refused it: the
            // desktop keeps its mode and the picture is scaled onto it. The
            // window is made at the desktop's size so that it covers the
            // screen even where no window manager enlarges it.
            window_ = SDL_CreateWindow(title_.c_str(), bounds.x, bounds.y, bounds.w, bounds.h,
                                       flags | SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
    }
    if (window_ == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_ShowWindow(window_);

    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr) {
        error = SDL_GetError();
        Close();
        return false;
    }
    SDL_GL_MakeCurrent(window_, context_);
    vsync_ = SDL_GL_SetSwapInterval(1) == 0;
    interval_ = vsync_ ? 1 : 0;

    SDL_DisplayMode shown{};
    displayHz_ = SDL_GetWindowDisplayMode(window_, &shown) == 0 && shown.refresh_rate > 0
                     ? shown.refresh_rate
                     : 60;
    pacer_.SetRate(rate);
    watchStart_ = 0;
    watchedFrames_ = 0;
    SDL_StartTextInput();
    return true;
}

bool Video::SwitchMode(const SDL_Rect& bounds, int width, int height, int depth, int rate,
                       Uint32 flags) {
    std::vector<SDL_DisplayMode> offered = OfferedModes();
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(0, &desktop);
    int chosen = ChooseMode(Converted(offered), width, height, depth, rate, desktop.refresh_rate);
    if (chosen < 0) {
        return false;
    }
    window_ = SDL_CreateWindow(title_.c_str(), bounds.x, bounds.y, width, height,
                               flags | SDL_WINDOW_FULLSCREEN);
    if (window_ == nullptr) {
        return false;
    }
    bool switched = SDL_SetWindowDisplayMode(window_, &offered[chosen]) == 0;
    if (switched) {
        SDL_ShowWindow(window_);
        SDL_DisplayMode now{};
        switched = SDL_GetCurrentDisplayMode(0, &now) == 0 && now.w == width && now.h == height;
    }
    if (!switched) {
        // Destroying the window gives the desktop its mode back.
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    return switched;
}

void Video::Close() {
    if (context_ != nullptr) {
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
}

void Video::Layout(Viewport& viewport, int& drawableWidth, int& drawableHeight) const {
    drawableWidth = pictureWidth_;
    drawableHeight = pictureHeight_;
    if (window_ != nullptr) {
        SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    }
    viewport = FitViewport(drawableWidth, drawableHeight, pictureWidth_, pictureHeight_);
}

void Video::Present(int sync) {
    if (window_ == nullptr) {
        return;
    }
    if (sync == 0) {
        SetSwapInterval(0);
        SDL_GL_SwapWindow(window_);
        watchStart_ = 0;
        return;
    }
    if (vsync_) {
        SetSwapInterval(1);
        SDL_GL_SwapWindow(window_);
        WatchVsync(SDL_GetPerformanceCounter());
        return;
    }
    pacer_.WaitForNextFrame();
    SDL_GL_SwapWindow(window_);
}

void Video::SetSwapInterval(int interval) {
    if (vsync_ && interval_ != interval && SDL_GL_SetSwapInterval(interval) == 0) {
        interval_ = interval;
    }
}

// Some drivers accept a swap interval and still return from the swap at
// once (software renderers, vsync turned off in the driver's settings).
// When a run of frames comes much faster than the display refreshes, the
// swap is not waiting and frames are paced by sleeping instead.
void Video::WatchVsync(Uint64 now) {
    if (watchStart_ == 0) {
        watchStart_ = now;
        watchedFrames_ = 0;
        return;
    }
    if (++watchedFrames_ < kVsyncWatchFrames) {
        return;
    }
    double seconds =
        static_cast<double>(now - watchStart_) / static_cast<double>(SDL_GetPerformanceFrequency());
    double expected = static_cast<double>(kVsyncWatchFrames) / displayHz_;
    if (seconds < expected * 0.5) {
        vsync_ = false;
        SDL_GL_SetSwapInterval(0);
        interval_ = 0;
    }
    watchStart_ = now;
    watchedFrames_ = 0;
}

}  // namespace sdl
