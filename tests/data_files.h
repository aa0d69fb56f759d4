// Reading the generated game data in tests: the files as bytes, and the
// little-endian fields of their headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

inline std::filesystem::path GameDataPath(const std::string& relative)
{
    return std::filesystem::path(DELLOMAR_GAME_DIR) / relative;
}

// Fields past the end read as 0, so a short file fails the checks rather than
// reading out of bounds.
inline uint32_t ReadLe(const std::vector<uint8_t>& bytes, size_t offset, int size)
{
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) {
        const size_t at = offset + static_cast<size_t>(i);
        v = (v << 8u) | (at < bytes.size() ? bytes[at] : 0u);
    }
    return v;
}

inline std::string ReadTag(const std::vector<uint8_t>& bytes, size_t offset)
{
    std::string tag;
    for (size_t i = offset; i < offset + 4 && i < bytes.size(); ++i) {
        tag += static_cast<char>(bytes[i]);
    }
    return tag;
}
