// 24-bit BMP files laid out the way the game's loader reads them: the two headers,
// then the pixel rows bottom-up straight after them at byte 54, of widths that
// need no row padding.
#pragma once

#include "tools/datagen/canvas.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodeBmp24(const Image& image);

// The same file made a few rows at a time, for a caller that must not stop
// for the whole of it (the web page, while it starts). The image must
// outlive the encoding and stay unchanged while it lasts.
struct BmpEncoding {
    const Image* image = nullptr;
    std::vector<uint8_t> bytes; // the headers, then the rows written so far
    int rowsWritten = 0;
};

BmpEncoding StartBmp24(const Image& image);
// Writes up to `rows` more rows; true once the file is whole.
bool EncodeBmp24Rows(BmpEncoding& encoding, int rows);
