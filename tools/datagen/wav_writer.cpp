#include "tools/datagen/wav_writer.h"

#include "tools/datagen/byte_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::vector<uint8_t> QuantizeSamples(const std::vector<float>& samples)
{
    std::vector<uint8_t> out;
    out.reserve(samples.size());
    for (float s : samples) {
        const float v = 128.0f + 127.0f * std::clamp(s, -1.0f, 1.0f);
        out.push_back(static_cast<uint8_t>(std::lround(v)));
    }
    return out;
}

std::vector<uint8_t> EncodeWav8(const std::vector<uint8_t>& samples)
{
    if (samples.size() > 0x7FFFFFF0u) {
        throw std::length_error("sound too long for a RIFF file");
    }
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size());
    const uint32_t pad = dataBytes & 1u; // RIFF chunks have even lengths
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutU32(out, 4 + (8 + 16) + (8 + dataBytes + pad));
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, 1); // mono
    PutU32(out, SAMPLE_RATE);
    PutU32(out, SAMPLE_RATE); // bytes per second
    PutU16(out, 1);           // block alignment
    PutU16(out, 8);           // bits per sample

    PutTag(out, "data");
    PutU32(out, dataBytes);
    out.insert(out.end(), samples.begin(), samples.end());
    if (pad != 0) {
        PutU8(out, 128); // silence, should a reader take the pad for a sample
    }
    return out;
}
