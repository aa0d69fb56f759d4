#include "tools/datagen/font_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace {

// Library and face released on every path, including the throwing ones.
struct FontHandles {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FontHandles() = default;
    FontHandles(const FontHandles&) = delete;
    FontHandles& operator=(const FontHandles&) = delete;
    ~FontHandles()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

struct Canvas {
    int width;
    int height;
    int originX; // pen start
    int baseline;
    std::vector<float> coverage;
};

void OpenFont(FontHandles& font, const std::string& path, int pixelSize)
{
    if (FT_Init_FreeType(&font.library) != 0) {
        throw std::runtime_error("FreeType could not start");
    }
    if (FT_New_Face(font.library, path.c_str(), 0, &font.face) != 0) {
        throw std::runtime_error("cannot open font " + path);
    }
    if (FT_Set_Pixel_Sizes(font.face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        throw std::runtime_error("font " + path + " has no size " + std::to_string(pixelSize));
    }
}

void StampGlyph(Canvas& canvas, const FT_GlyphSlot slot, int penX)
{
    const FT_Bitmap& bm = slot->bitmap;
    const int left = penX + slot->bitmap_left;
    const int top = canvas.baseline - slot->bitmap_top;
    for (int row = 0; row < static_cast<int>(bm.rows); ++row) {
        for (int col = 0; col < static_cast<int>(bm.width); ++col) {
            const int x = left + col;
            const int y = top + row;
            if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) {
                continue;
            }
            const unsigned char v = bm.buffer[row * bm.pitch + col];
            float& dest = canvas.coverage[static_cast<size_t>(y * canvas.width + x)];
            dest = std::min(1.0f, dest + static_cast<float>(v) / 255.0f);
        }
    }
}

TextMask CropToInk(const Canvas& canvas)
{
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            if (canvas.coverage[static_cast<size_t>(y * canvas.width + x)] > 0.0f) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    TextMask mask;
    if (x1 < 0) {
        return mask;
    }
    mask.width = x1 - x0 + 1;
    mask.height = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            mask.coverage.push_back(canvas.coverage[static_cast<size_t>(y * canvas.width + x)]);
        }
    }
    return mask;
}

} // namespace

TextMask RenderText(const std::string& fontPath, int pixelSize, const std::string& text)
{
    FontHandles font;
    OpenFont(font, fontPath, pixelSize);
    // Room enough for any glyph; the ink is cropped afterwards.
    Canvas canvas{pixelSize * (static_cast<int>(text.size()) + 2),
                  pixelSize * 3,
                  pixelSize,
                  pixelSize * 2,
                  {}};
    canvas.coverage.assign(static_cast<size_t>(canvas.width * canvas.height), 0.0f);

    int penX = canvas.originX;
    FT_UInt previous = 0;
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(font.face, ch);
        if (previous != 0 && FT_HAS_KERNING(font.face)) {
            FT_Vector kern{};
            FT_Get_Kerning(font.face, previous, index, FT_KERNING_DEFAULT, &kern);
            penX += static_cast<int>(kern.x >> 6);
        }
        if (FT_Load_Glyph(font.face, index, FT_LOAD_RENDER) != 0) {
            throw std::runtime_error("cannot render a glyph of " + fontPath);
        }
        StampGlyph(canvas, font.face->glyph, penX);
        penX += static_cast<int>(font.face->glyph->advance.x >> 6);
        previous = index;
    }
    return CropToInk(canvas);
}

void DrawTextMask(Image& image, const TextMask& mask, float cx, float cy, Rgb c)
{
    const int left = static_cast<int>(std::lround(cx - static_cast<float>(mask.width) / 2.0f));
    const int top = static_cast<int>(std::lround(cy - static_cast<float>(mask.height) / 2.0f));
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            Blend(image, left + x, top + y, c,
                  mask.coverage[static_cast<size_t>(y * mask.width + x)]);
        }
    }
}
