// The picture files (".txr", uncompressed BMP): loaded top-down, 24-bit
// pictures turned into 16-bit pixels of the display's format.
#pragma once

#include "platform/video.h"

#include <cstdint>

constexpr uint16_t BITMAP_MAGIC = 0x4D42; // "BM"
constexpr uint32_t BITMAP_FILE_HEADER_BYTES = 14;
constexpr uint32_t BITMAP_INFO_HEADER_BYTES = 40;
constexpr uint32_t BITMAP_PALETTE_BYTES = 1024;
// Larger pictures are taken for damaged files.
constexpr int32_t BITMAP_MAX_SIDE = 16384;
// The compression field of a picture stored pixel by pixel.
constexpr uint32_t BITMAP_UNCOMPRESSED = 0;

struct BitmapFileHeader {
    uint16_t bfType;
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
};

struct BitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

struct Bitmap {
    BitmapFileHeader fileHeader;
    BitmapInfoHeader infoHeader;
    PlatPaletteEntry palette[256];
    // Rows top-down, back to back; null when nothing is loaded.
    uint8_t* pixels;
};

// 1 on success. On failure the record is as it was, except that a file not
// starting with "BM" leaves the 14 bytes it read in fileHeader.
int32_t BitmapLoad(Bitmap* bitmap, const char* path);
int32_t BitmapUnload(Bitmap* bitmap);
// Reverses the row order in place; 0 when it could not (no scratch memory).
int32_t FlipBitmapRows(void* pixels, int32_t rowBytes, int32_t rows);
