// Little-endian fields appended to a byte vector, for the file writers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

inline void PutU8(std::vector<uint8_t>& out, uint8_t v)
{
    out.push_back(v);
}

inline void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFFu));
    out.push_back(static_cast<uint8_t>(v >> 8u));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (unsigned shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>((v >> shift) & 0xFFu));
    }
}

inline void PutTag(std::vector<uint8_t>& out, std::string_view fourcc)
{
    for (char c : fourcc.substr(0, 4)) {
        out.push_back(static_cast<uint8_t>(c));
    }
}
