#include "platform/sdl/sdl_frame_pacer.h"

#include <SDL.h>

namespace sdl {
namespace {

double Seconds() {
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

}  // namespace

void FramePacer::SetRate(int hz) {
    period_ = 1.0 / (hz > 0 ? hz : 60);
    due_ = -1.0;
}

double FramePacer::DelayAt(double now) const {
    if (due_ < 0.0 || now >= due_) {
        return 0.0;
    }
    return due_ - now;
}

void FramePacer::Advance(double now) {
    if (due_ < 0.0 || now > due_ + period_) {
        due_ = now + period_;
    } else {
        due_ += period_;
    }
}

void FramePacer::WaitForNextFrame() {
    double delay = DelayAt(Seconds());
    // Rounded down: the schedule, not the sleep, keeps the average.
    Uint32 ms = static_cast<Uint32>(delay * 1000.0);
    if (ms > 0) {
        SDL_Delay(ms);
    }
    Advance(Seconds());
}

}  // namespace sdl
