// Colour fills of 16-bit pixels held in memory, shared by the backends whose
// surfaces live in memory (SDL, the web page and the fake).
#pragma once

#include "platform/video.h"

#include <cstdint>
#include <vector>

// A 5.6.5 pixel's red, green and blue as 8 bits each, widened by repeating
// their top bits so that white stays white.
struct Rgb888 {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};
inline Rgb888 Widen565(uint16_t pixel)
{
    const uint32_t red = (pixel >> 11) & 0x1Fu;
    const uint32_t green = (pixel >> 5) & 0x3Fu;
    const uint32_t blue = pixel & 0x1Fu;
    return {static_cast<uint8_t>((red << 3) | (red >> 2)),
            static_cast<uint8_t>((green << 2) | (green >> 4)),
            static_cast<uint8_t>((blue << 3) | (blue >> 2))};
}

// Cuts `a` down to its overlap with `b`; false when nothing is left.
bool IntersectRect(PlatRect* a, const PlatRect& b);
// Fills `area` of a width x height block of pixels laid row after row, cut
// to the block and to each rectangle of `clips` (to the block alone when
// clips is null).
void FillPixelArea(uint16_t* pixels, int32_t width, int32_t height, PlatRect area,
                   const std::vector<PlatRect>* clips, uint16_t colour);
