#include "noise.h"

#include <cmath>

uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace {

float Lattice(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.0f;
}

float Fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    float tx = Fade(x - fx), ty = Fade(y - fy);
    float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * ValueNoise(x, y, seed + static_cast<uint32_t>(i) * 1013u);
        norm += amp;
        amp *= 0.5f;
        // Rotate a little between octaves so the lattice does not line up.
        float nx = x * 1.6f + y * 1.2f + 17.3f;
        float ny = -x * 1.2f + y * 1.6f + 5.1f;
        x = nx;
        y = ny;
    }
    return sum / norm;
}

uint32_t Rng::Next() {
    // splitmix64
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Rng::Uniform() {
    return static_cast<float>(Next() >> 8) / 16777216.0f;
}
