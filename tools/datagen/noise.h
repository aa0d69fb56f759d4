// Deterministic randomness for pictures and sounds: the same data on every build.
#pragma once

#include <cstdint>

// xorshift64*: small, fast, and identical on every platform.
struct Rng {
    uint64_t state = 0x9E3779B97F4A7C15ull;
};

Rng SeededRng(uint64_t seed);
uint32_t NextU32(Rng& rng);
float NextUnit(Rng& rng);   // 0 <= v < 1
float NextSigned(Rng& rng); // -1 <= v < 1

// Smooth value noise in 0..1 on a lattice of the given period (in pixels).
float ValueNoise(float x, float y, float period, uint32_t seed);
// Several octaves of value noise, each half the period of the previous one.
float FractalNoise(float x, float y, float period, int octaves, uint32_t seed);
// A hash of a lattice point to 0..1, for per-cell variation.
float HashUnit(int x, int y, uint32_t seed);
