// PNG files for the desktop and web page icons: 8-bit RGBA, each row with the
// filter that suits it, compressed by zlib. The web page's icons travel to
// every first visit, so their size matters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // width * height * 4, rows top-down, straight alpha
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// A zlib stream holding `data` in stored deflate blocks.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& data);
// A zlib stream of `data` at zlib's best compression.
std::vector<uint8_t> ZlibDeflate(const std::vector<uint8_t>& data);
// The picture's rows as PNG stores them: a filter type byte, then the row
// filtered by it, the type chosen row by row.
std::vector<uint8_t> FilterRows(const RgbaImage& image);
std::vector<uint8_t> EncodePng(const RgbaImage& image);
