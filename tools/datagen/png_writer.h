// PNG files for the desktop icons: 8-bit RGBA, no filtering, the image data in
// stored (uncompressed) deflate blocks. Icons are small, so size does not matter
// and the writer needs no compression library.
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
std::vector<uint8_t> EncodePng(const RgbaImage& image);
