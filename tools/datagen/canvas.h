// Pictures as the tool paints them: 24-bit colours in a plain pixel grid, top row
// first. The game keys its sprites on colour 0, so (0, 0, 0) means "see through"
// and every other colour must stay non-zero after packing to 16 bits.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // width * height, rows top-down
};

inline constexpr Rgb TRANSPARENT_KEY{0, 0, 0};

// The darkest colours round down to 0 when packed to 5.6.5 or 5.5.5 and would
// turn into holes; lift them so that at least one channel keeps a bit.
Rgb Visible(Rgb c);
// A colour from floating-point channels (0..255), clamped and made visible.
Rgb VisibleF(float r, float g, float b);
// True when the loader's 5.6.5 and 5.5.5 packings of c are both non-zero.
bool PacksVisible(Rgb c);

Rgb Mix(Rgb a, Rgb b, float t); // t = 0 gives a, 1 gives b
Rgb Scale(Rgb c, float f);      // brightness, clamped

Image MakeImage(int width, int height, Rgb fill);
Rgb& At(Image& image, int x, int y);
Rgb At(const Image& image, int x, int y);
bool Inside(const Image& image, int x, int y);

// Writes a visible colour; pixels outside the picture are dropped.
void Put(Image& image, int x, int y, Rgb c);
// Lays c over the pixel with the given opacity (0..1); the result is visible.
void Blend(Image& image, int x, int y, Rgb c, float alpha);
void FillRect(Image& image, int x, int y, int w, int h, Rgb c);
// Copies a whole picture into another one with its top-left at (x, y).
void Paste(Image& dest, const Image& src, int x, int y);

// Fraction of an n x n grid of sample points inside pixel (x, y) for which
// inside(px, py) holds: cheap antialiasing of any shape.
template <typename Shape>
float Coverage(Shape inside, int x, int y, int n = 4)
{
    int hits = 0;
    for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
            const float px = static_cast<float>(x) +
                             (static_cast<float>(sx) + 0.5f) / static_cast<float>(n);
            const float py = static_cast<float>(y) +
                             (static_cast<float>(sy) + 0.5f) / static_cast<float>(n);
            hits += inside(px, py) ? 1 : 0;
        }
    }
    return static_cast<float>(hits) / static_cast<float>(n * n);
}
