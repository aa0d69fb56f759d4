#include "tools/datagen/canvas.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

uint8_t Channel(float v)
{
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

} // namespace

Rgb Visible(Rgb c)
{
    // A channel of 8 or more survives the >> 3 of every packing.
    if (c.r < 8 && c.g < 8 && c.b < 8) {
        c.r = std::max<uint8_t>(c.r, 8);
        c.g = std::max<uint8_t>(c.g, 8);
        c.b = std::max<uint8_t>(c.b, 8);
    }
    return c;
}

Rgb VisibleF(float r, float g, float b)
{
    return Visible(Rgb{Channel(r), Channel(g), Channel(b)});
}

bool PacksVisible(Rgb c)
{
    const unsigned p565 = (c.r >> 3u) | (c.g >> 2u) | (c.b >> 3u);
    const unsigned p555 = (c.r >> 3u) | (c.g >> 3u) | (c.b >> 3u);
    return p565 != 0 && p555 != 0;
}

Rgb Mix(Rgb a, Rgb b, float t)
{
    const auto lerp = [t](uint8_t x, uint8_t y) {
        return static_cast<float>(x) + (static_cast<float>(y) - static_cast<float>(x)) * t;
    };
    return Rgb{Channel(lerp(a.r, b.r)), Channel(lerp(a.g, b.g)), Channel(lerp(a.b, b.b))};
}

Rgb Scale(Rgb c, float f)
{
    return Rgb{Channel(static_cast<float>(c.r) * f), Channel(static_cast<float>(c.g) * f),
               Channel(static_cast<float>(c.b) * f)};
}

Image MakeImage(int width, int height, Rgb fill)
{
    assert(width > 0 && height > 0);
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
    return image;
}

bool Inside(const Image& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

Rgb& At(Image& image, int x, int y)
{
    assert(Inside(image, x, y));
    return image
        .pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

Rgb At(const Image& image, int x, int y)
{
    assert(Inside(image, x, y));
    return image
        .pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

void Put(Image& image, int x, int y, Rgb c)
{
    if (Inside(image, x, y)) {
        At(image, x, y) = Visible(c);
    }
}

void Blend(Image& image, int x, int y, Rgb c, float alpha)
{
    if (!Inside(image, x, y) || alpha <= 0.0f) {
        return;
    }
    Rgb& dest = At(image, x, y);
    dest = Visible(Mix(dest, c, std::min(alpha, 1.0f)));
}

void FillRect(Image& image, int x, int y, int w, int h, Rgb c)
{
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            Put(image, xx, yy, c);
        }
    }
}

void Paste(Image& dest, const Image& src, int x, int y)
{
    for (int yy = 0; yy < src.height; ++yy) {
        for (int xx = 0; xx < src.width; ++xx) {
            if (Inside(dest, x + xx, y + yy)) {
                At(dest, x + xx, y + yy) = At(src, xx, yy);
            }
        }
    }
}
