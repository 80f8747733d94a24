// Keeps frames at a steady rate by sleeping when the display's own refresh
// cannot be waited for.
#pragma once

#include <cstdint>

namespace sdl {

class FramePacer {
public:
    // 0 Hz (a display that does not say) paces at 60.
    void SetRate(int hz);
    // Sleeps until the next frame is due. The schedule advances by whole
    // periods so the average rate is exact even though sleeps are in
    // milliseconds; a frame late by more than a period starts it afresh.
    void WaitForNextFrame();

    // The same schedule as pure arithmetic on a clock in seconds: how long
    // to wait at 'now', and the schedule moved on to the following frame.
    double DelayAt(double now) const;
    void Advance(double now);

private:
    double period_ = 1.0 / 60.0;
    double due_ = -1.0;  // seconds on the performance clock; < 0 before the first frame
};

}  // namespace sdl
