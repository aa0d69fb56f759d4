// Colour fills of 16-bit pixels held in memory, shared by the backends whose
// surfaces live in memory (SDL, the web page and the fake).
#pragma once

#include "platform/video.h"

#include <cstdint>
#include <vector>

// Cuts `a` down to its overlap with `b`; false when nothing is left.
bool IntersectRect(PlatRect* a, const PlatRect& b);
// Fills `area` of a width x height block of pixels laid row after row, cut
// to the block and to each rectangle of `clips` (to the block alone when
// clips is null).
void FillPixelArea(uint16_t* pixels, int32_t width, int32_t height, PlatRect area,
                   const std::vector<PlatRect>* clips, uint16_t colour);
