// The game's millisecond clock on the real machine.
#pragma once

#include <cstdint>

namespace sdl {

// Milliseconds of the system's monotonic clock (counted from a fixed point,
// usually the boot), cut to 32 bits like a system tick counter. Counting
// from the system rather than from SDL's start gives every run its own seed.
uint32_t SystemMillis();

}  // namespace sdl
