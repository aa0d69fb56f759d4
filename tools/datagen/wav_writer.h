// RIFF WAVE files of 8-bit unsigned mono samples at 11025 Hz: the one layout
// the game's sound buffers play correctly.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int SAMPLE_RATE = 11025;

// Samples in -1..1 to unsigned 8-bit (128 is silence), clamped.
std::vector<uint8_t> QuantizeSamples(const std::vector<float>& samples);
std::vector<uint8_t> EncodeWav8(const std::vector<uint8_t>& samples);
