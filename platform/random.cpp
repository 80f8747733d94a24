// The game's own random generator (PCG32), so that a seed gives the same
// game on every machine and backend.
#include <cstdint>

#include "platform/platform.h"

namespace {

uint64_t state = 0x853c49e6748fea9bULL;
constexpr uint64_t INCREMENT = 1442695040888963407ULL;

uint32_t Next() {
    uint64_t old = state;
    state = old * 6364136223846793005ULL + INCREMENT;
    uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

}  // namespace

void SeedRnd(int32_t seed) {
    state = 0;
    Next();
    state += static_cast<uint64_t>(static_cast<uint32_t>(seed)) ^ 0xda3e39cb94b95bdbULL;
    Next();
}

int32_t Rand(int32_t bound1, int32_t bound2) {
    int64_t low = bound1 < bound2 ? bound1 : bound2;
    int64_t high = bound1 < bound2 ? bound2 : bound1;
    uint64_t span = static_cast<uint64_t>(high - low) + 1;  // 1 .. 2^32
    if (span > 0xFFFFFFFFULL) {
        return static_cast<int32_t>(low + Next());
    }
    // Reject the top of the range that would favour small results.
    uint32_t limit = static_cast<uint32_t>(0x100000000ULL - (0x100000000ULL % span));
    uint32_t draw;
    do {
        draw = Next();
    } while (limit != 0 && draw >= limit);
    return static_cast<int32_t>(low + static_cast<int64_t>(draw % span));
}
