// Text set in a real font through FreeType, as coverage masks the painters lay
// over their pictures.
#pragma once

#include "tools/datagen/canvas.h"

#include <string>
#include <vector>

// A line of text as ink coverage (0..1), cropped to the pixels that carry ink.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> coverage; // width * height, rows top-down
};

// Renders text from the font file at the given pixel size. Throws
// std::runtime_error when the font cannot be used.
TextMask RenderText(const std::string& fontPath, int pixelSize, const std::string& text);

// The mask's ink centred on (cx, cy), laid over the picture in colour c.
void DrawTextMask(Image& image, const TextMask& mask, float cx, float cy, Rgb c);
