#include "tools/datagen/noise.h"

#include <cmath>

Rng SeededRng(uint64_t seed)
{
    Rng rng;
    rng.state = seed != 0 ? seed : 0x9E3779B97F4A7C15ull;
    return rng;
}

uint32_t NextU32(Rng& rng)
{
    rng.state ^= rng.state >> 12u;
    rng.state ^= rng.state << 25u;
    rng.state ^= rng.state >> 27u;
    return static_cast<uint32_t>((rng.state * 0x2545F4914F6CDD1Dull) >> 32u);
}

float NextUnit(Rng& rng)
{
    return static_cast<float>(NextU32(rng) >> 8u) / 16777216.0f;
}

float NextSigned(Rng& rng)
{
    return NextUnit(rng) * 2.0f - 1.0f;
}

float HashUnit(int x, int y, uint32_t seed)
{
    uint32_t h = seed ^ 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13u) | (h >> 19u);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16u;
    h *= 0x7FEB352Du;
    h ^= h >> 15u;
    h *= 0x846CA68Bu;
    h ^= h >> 16u;
    return static_cast<float>(h >> 8u) / 16777216.0f;
}

namespace {

float Smooth(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

float ValueNoise(float x, float y, float period, uint32_t seed)
{
    const float fx = x / period;
    const float fy = y / period;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const float tx = Smooth(fx - static_cast<float>(ix));
    const float ty = Smooth(fy - static_cast<float>(iy));
    const float a = HashUnit(ix, iy, seed);
    const float b = HashUnit(ix + 1, iy, seed);
    const float c = HashUnit(ix, iy + 1, seed);
    const float d = HashUnit(ix + 1, iy + 1, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, float period, int octaves, uint32_t seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x, y, period, seed + static_cast<uint32_t>(i) * 101u) * weight;
        total += weight;
        weight *= 0.5f;
        period *= 0.5f;
    }
    return sum / total;
}
