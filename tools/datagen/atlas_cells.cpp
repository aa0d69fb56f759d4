// Opened cells: the plain one, the eight numbers and the opened mine. They cover
// the backdrop completely, and their first and last rows and columns fall on the
// field's grid lines (tiles are 24 pixels on a 23-pixel pitch).
#include "screens/screen_layout.h"
#include "tools/datagen/atlas_painter.h"
#include "tools/datagen/font_text.h"
#include "tools/datagen/noise.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr Rgb PAPER{226, 218, 196};
constexpr Rgb GRID_LINE{104, 96, 84};

// Digit colours a player of this kind of game expects, deepened where the
// classic ones would be faint on the paper.
constexpr Rgb DIGIT_COLOURS[9] = {
    {0, 0, 0},       // unused
    {24, 64, 224},   // 1 blue
    {22, 128, 34},   // 2 green
    {214, 34, 30},   // 3 red
    {24, 26, 138},   // 4 dark blue
    {132, 22, 20},   // 5 maroon
    {0, 126, 130},   // 6 teal
    {30, 30, 32},    // 7 black
    {104, 104, 108}, // 8 grey
};

// A flat cell pressed into the field: grid-line border, a soft inner shadow on
// the top and left, faint grain so that it is not a dead flat colour.
Image PaintSunkenCell(Rgb face, Rgb border, uint32_t seed)
{
    Image tile = MakeImage(TILE_SIZE, TILE_SIZE, face);
    Rng rng = SeededRng(seed);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x) {
            const int last = TILE_SIZE - 1;
            if (x == 0 || y == 0 || x == last || y == last) {
                Put(tile, x, y, border);
                continue;
            }
            const int edge = std::min(x, y); // distance from the top-left border
            float shade = 1.0f + NextSigned(rng) * 0.018f;
            if (edge == 1) {
                shade *= 0.80f;
            } else if (edge == 2) {
                shade *= 0.92f;
            }
            if (x == last - 1 || y == last - 1) {
                shade *= 1.04f;
            }
            Put(tile, x, y, Scale(face, shade));
        }
    }
    return tile;
}

// Flames between the mine's spikes.
bool InStarburst(float px, float py, float cx, float cy, float inner, float outer)
{
    const float dx = px - cx;
    const float dy = py - cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    const float angle = std::atan2(dy, dx) + 0.3926991f;
    const float wave = 0.5f + 0.5f * std::cos(angle * 8.0f);
    return r < inner + (outer - inner) * wave * wave;
}

bool InMine(float px, float py, float cx, float cy)
{
    const float dx = px - cx;
    const float dy = py - cy;
    if (dx * dx + dy * dy < 5.2f * 5.2f) {
        return true;
    }
    // Eight spikes: the straight ones longer than the diagonal ones.
    const float ax = std::fabs(dx);
    const float ay = std::fabs(dy);
    const bool straight = (ax < 1.1f && ay < 9.2f) || (ay < 1.1f && ax < 9.2f);
    const float u = std::fabs(dx + dy) * 0.70710678f;
    const float v = std::fabs(dx - dy) * 0.70710678f;
    const bool diagonal = (u < 1.0f && v < 7.6f) || (v < 1.0f && u < 7.6f);
    return straight || diagonal;
}

} // namespace

Image PaintOpenedCell()
{
    return PaintSunkenCell(PAPER, GRID_LINE, 0x0CE11u);
}

Image PaintNumberTile(int value, const std::string& boldFont)
{
    if (value < 1 || value > 8) {
        throw std::out_of_range("number tiles hold 1 to 8");
    }
    Image tile = PaintSunkenCell(PAPER, GRID_LINE, 0x0CE11u);
    const TextMask digit = RenderText(boldFont, 19, std::to_string(value));
    // Centred on the cell's inside (pixels 1..22), a touch low for the shadow.
    DrawTextMask(tile, digit, 12.5f, 12.5f, Scale(PAPER, 0.72f));
    DrawTextMask(tile, digit, 12.0f, 12.0f, DIGIT_COLOURS[value]);
    return tile;
}

Image PaintOpenedMine()
{
    Image tile = PaintSunkenCell(Rgb{206, 44, 34}, Rgb{110, 22, 18}, 0xB0011u);
    const float c = 12.0f;
    for (int y = 1; y < TILE_SIZE - 1; ++y) {
        for (int x = 1; x < TILE_SIZE - 1; ++x) {
            const float dx = static_cast<float>(x) + 0.5f - c;
            const float dy = static_cast<float>(y) + 0.5f - c;
            const float r = std::sqrt(dx * dx + dy * dy);
            // Hot yellow at the heart of the blast, orange at its tips.
            const Rgb flame = Mix(Rgb{255, 240, 130}, Rgb{255, 128, 24},
                                  std::clamp((r - 5.0f) / 6.0f, 0.0f, 1.0f));
            const float burst = Coverage(
                [&](float px, float py) { return InStarburst(px, py, c, c, 6.5f, 11.0f); }, x, y);
            Blend(tile, x, y, flame, burst);
            const float mine = Coverage([&](float px, float py) { return InMine(px, py, c, c); }, x,
                                        y);
            Blend(tile, x, y, Rgb{28, 28, 34}, mine);
        }
    }
    // A glint on the mine's shoulder.
    Put(tile, 9, 9, Rgb{240, 240, 244});
    Put(tile, 10, 9, Rgb{150, 150, 160});
    Put(tile, 9, 10, Rgb{150, 150, 160});
    Put(tile, 10, 10, Rgb{96, 96, 106});
    return tile;
}
