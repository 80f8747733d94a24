#include "platform/sdl/sdl_clock.h"

#include <ctime>

namespace sdl {

uint32_t SystemMillis() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t millis =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(millis);  // wraps, as the game expects
}

}  // namespace sdl
