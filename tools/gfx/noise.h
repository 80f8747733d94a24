// Repeatable randomness: a small generator and smooth value noise, the same on every run.
#pragma once

#include <cstdint>

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);

// Smoothly interpolated lattice noise in 0..1.
float ValueNoise(float x, float y, uint32_t seed);
// Sum of octaves of value noise, normalised to 0..1.
float Fbm(float x, float y, int octaves, uint32_t seed);

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint32_t Next();
    // Uniform in [0, 1).
    float Uniform();
    // Uniform in [lo, hi).
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint64_t state_;
};
