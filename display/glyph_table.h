// The glyphs of the text font, rasterized when the game is built
// (tools/glyph_table_gen.cpp) into a generated table: 8-bit coverage per
// pixel, placed relative to the top-left corner of a line of text.
#pragma once

#include <cstdint>

constexpr int32_t GLYPH_FIRST = 32; // space
constexpr int32_t GLYPH_LAST = 126; // tilde
constexpr int32_t GLYPH_COUNT = GLYPH_LAST - GLYPH_FIRST + 1;

struct Glyph {
    int16_t left;    // first column, from the pen position
    int16_t top;     // first row, from the top of the line
    uint16_t width;  // coverage columns
    uint16_t height; // coverage rows
    int16_t advance; // pen movement to the next glyph
    uint32_t offset; // first coverage byte in g_glyphCoverage
};

extern const Glyph g_glyphs[GLYPH_COUNT];
extern const uint8_t g_glyphCoverage[];
extern const uint32_t g_glyphCoverageSize;
// Height of a line of text and the baseline's row within it.
extern const int32_t g_glyphLineHeight;
extern const int32_t g_glyphBaseline;
