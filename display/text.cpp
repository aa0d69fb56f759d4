#include "display/text.h"

#include "window/game_window.h"
#include "display/display_device.h"
#include "display/glyph_table.h"

#include <algorithm>

namespace {

struct Rgb {
    int32_t red;
    int32_t green;
    int32_t blue;
};

// Each channel widened to 8 bits, its top bits repeated into the bottom.
Rgb Unpack(uint16_t pixel, bool format555)
{
    int32_t red = format555 ? (pixel >> 10) & 31 : (pixel >> 11) & 31;
    int32_t green = format555 ? (pixel >> 5) & 31 : (pixel >> 5) & 63;
    int32_t blue = pixel & 31;
    return {red << 3 | red >> 2, format555 ? (green << 3 | green >> 2) : (green << 2 | green >> 4),
            blue << 3 | blue >> 2};
}

int32_t Mix(int32_t under, int32_t over, int32_t coverage)
{
    return (under * (255 - coverage) + over * coverage + 127) / 255;
}

uint16_t Blend(uint16_t under, int32_t coverage, bool format555)
{
    Rgb old = Unpack(under, format555);
    int32_t red = Mix(old.red, TEXT_RED, coverage);
    int32_t green = Mix(old.green, TEXT_GREEN, coverage);
    int32_t blue = Mix(old.blue, TEXT_BLUE, coverage);
    auto pixel = static_cast<uint16_t>(format555 ? PackRGB555(red, green, blue)
                                                 : PackRGB565(red, green, blue));
    // 0 reads as "nothing here" to anything that later copies these pixels with
    // a colour key; a touched pixel gets the darkest green instead.
    return pixel != 0 ? pixel : uint16_t{1u << 5};
}

const Glyph* GlyphOf(char c)
{
    int code = static_cast<unsigned char>(c);
    // Bytes the font has no glyph for take the room of a space.
    if (code < GLYPH_FIRST || code > GLYPH_LAST) {
        code = ' ';
    }
    return &g_glyphs[code - GLYPH_FIRST];
}

struct Target {
    uint16_t* pixels;
    int64_t linePixels;
    int64_t width;
    int64_t height;
    bool format555;
};

void DrawGlyph(const Target& target, int64_t penX, int64_t top, const Glyph& glyph)
{
    const int64_t left = penX + glyph.left;
    const int64_t firstRow = top + glyph.top;
    const int64_t columnBegin = std::max<int64_t>(0, -left);
    const int64_t columnEnd = std::min<int64_t>(glyph.width, target.width - left);
    const int64_t rowBegin = std::max<int64_t>(0, -firstRow);
    const int64_t rowEnd = std::min<int64_t>(glyph.height, target.height - firstRow);
    for (int64_t row = rowBegin; row < rowEnd; ++row) {
        const uint8_t* coverage = g_glyphCoverage + glyph.offset + row * glyph.width;
        const int64_t lineStart = (firstRow + row) * target.linePixels + left;
        for (int64_t column = columnBegin; column < columnEnd; ++column) {
            if (coverage[column] != 0) {
                uint16_t& pixel = target.pixels[lineStart + column];
                pixel = Blend(pixel, coverage[column], target.format555);
            }
        }
    }
}

} // namespace

void DrawTextInto(uint16_t* pixels, int32_t pitchBytes, int32_t width, int32_t height, int32_t x,
                  int32_t y, const char* text)
{
    if (pixels == nullptr || text == nullptr || pitchBytes <= 0) {
        return;
    }
    const int64_t linePixels = pitchBytes >> 1;
    Target target{pixels, linePixels, std::min<int64_t>(width, linePixels), height,
                  g_pixelFormat == PIXEL_FORMAT_555};
    int64_t penX = x;
    for (const char* c = text; *c != '\0'; ++c) {
        const Glyph* glyph = GlyphOf(*c);
        DrawGlyph(target, penX, y, *glyph);
        penX += glyph->advance;
    }
}

void DrawTextAt(int32_t x, int32_t y, const char* text)
{
    if (g_backBits != nullptr) {
        DrawTextInto(g_backBits, g_backPitch, g_screenWidth, g_screenHeight, x, y, text);
        return;
    }
    // Unlocked: borrow the back buffer for this one text.
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    if (g_backSurface == nullptr ||
        PlatVideoLock(g_backSurface, nullptr, &desc, PLAT_LOCK_WAIT) < 0) {
        // No drawing context means no picture at all; the game ends.
        RequestQuit();
        return;
    }
    DrawTextInto(static_cast<uint16_t*>(desc.surface), desc.pitch, static_cast<int32_t>(desc.width),
                 static_cast<int32_t>(desc.height), x, y, text);
    PlatVideoUnlock(g_backSurface, nullptr);
}

int32_t TextWidth(const char* text)
{
    int32_t width = 0;
    for (const char* c = text; c != nullptr && *c != '\0'; ++c) {
        width += GlyphOf(*c)->advance;
    }
    return width;
}

int32_t TextLineHeight()
{
    return g_glyphLineHeight;
}
