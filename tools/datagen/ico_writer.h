// Windows icon files: the small sizes as 32-bit bitmaps with their AND mask,
// which every Windows version reads, 256 x 256 as PNG as Windows expects it.
#pragma once

#include "tools/datagen/png_writer.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodeIco(const std::vector<RgbaImage>& images);
