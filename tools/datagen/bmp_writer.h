// 24-bit BMP files laid out the way the game's loader reads them: the two headers,
// then the pixel rows bottom-up straight after them at byte 54, of widths that
// need no row padding.
#pragma once

#include "tools/datagen/canvas.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> EncodeBmp24(const Image& image);
