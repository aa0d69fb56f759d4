// The flag and the arrow cursor: shapes over see-through pixels, each with a dark
// outline so that they read on any part of the backdrop.
#include "screens/screen_layout.h"
#include "tools/datagen/atlas_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace {

constexpr Rgb OUTLINE{18, 14, 16};

bool InFlagCloth(float px, float py)
{
    // A pennant flying left from the top of the pole, with a slight wave.
    const float left = 2.5f;
    const float right = 12.5f;
    if (px < left || px > right) {
        return false;
    }
    const float t = (right - px) / (right - left); // 0 at the pole, 1 at the tip
    const float wave = 0.6f * std::sin(t * 3.14159f);
    const float mid = 8.5f + wave;
    const float half = 5.4f * (1.0f - t) + 0.4f;
    return std::fabs(py - mid) < half;
}

bool InPole(float px, float py)
{
    return px >= 12.0f && px < 14.0f && py >= 2.5f && py < 19.0f;
}

bool InBase(float px, float py)
{
    return (py >= 17.0f && py < 19.0f && px >= 8.0f && px < 18.0f) ||
           (py >= 19.0f && py < 21.0f && px >= 5.0f && px < 21.0f);
}

// Each pixel's colour and how much of it the flag covers.
struct FlagPixel {
    Rgb colour;
    float cover;
};

FlagPixel FlagAt(int x, int y)
{
    const float cloth = Coverage(InFlagCloth, x, y);
    const float pole = Coverage(InPole, x, y);
    const float base = Coverage(InBase, x, y);
    // Light falls from the upper left: shade the cloth towards its lower edge.
    const Rgb red = Mix(Rgb{250, 64, 48}, Rgb{176, 16, 20},
                        std::clamp((static_cast<float>(y) - 3.0f) / 9.0f, 0.0f, 1.0f));
    const Rgb poleColour = x == 12 ? Rgb{236, 232, 222} : Rgb{150, 146, 140};
    const Rgb baseColour = y < 19 ? Rgb{120, 118, 124} : Rgb{84, 82, 90};
    if (cloth > 0.0f) {
        return {Mix(OUTLINE, red, cloth), cloth};
    }
    if (pole > 0.0f) {
        return {Mix(OUTLINE, poleColour, pole), pole};
    }
    return {Mix(OUTLINE, baseColour, base), base};
}

} // namespace

Image PaintFlag()
{
    std::array<std::array<FlagPixel, TILE_SIZE>, TILE_SIZE> shape{};
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x) {
            shape[static_cast<size_t>(y)][static_cast<size_t>(x)] = FlagAt(x, y);
        }
    }
    const auto solid = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < TILE_SIZE && y < TILE_SIZE &&
               shape[static_cast<size_t>(y)][static_cast<size_t>(x)].cover >= 0.5f;
    };
    Image tile = MakeImage(TILE_SIZE, TILE_SIZE, TRANSPARENT_KEY);
    for (int y = 0; y < TILE_SIZE; ++y) {
        for (int x = 0; x < TILE_SIZE; ++x) {
            if (solid(x, y)) {
                Put(tile, x, y, shape[static_cast<size_t>(y)][static_cast<size_t>(x)].colour);
            } else if (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1) ||
                       solid(x - 1, y - 1) || solid(x + 1, y + 1) || solid(x - 1, y + 1) ||
                       solid(x + 1, y - 1)) {
                Put(tile, x, y, OUTLINE);
            }
        }
    }
    return tile;
}

Image PaintArrow()
{
    // The familiar pointer, tip on the tile's top-left pixel (the hot spot):
    // '#' outline, 'o' fill, anything else see-through.
    // clang-format off
    constexpr std::string_view ROWS[] = {
        "#",
        "##",
        "#o#",
        "#oo#",
        "#ooo#",
        "#oooo#",
        "#ooooo#",
        "#oooooo#",
        "#ooooooo#",
        "#oooooooo#",
        "#ooooooooo#",
        "#oooooo#####",
        "#ooo#oo#",
        "#oo# #oo#",
        "#o#  #oo#",
        "##    #oo#",
        "#     #oo#",
        "       #oo#",
        "       #oo#",
        "        ##",
    };
    // clang-format on
    Image tile = MakeImage(TILE_SIZE, TILE_SIZE, TRANSPARENT_KEY);
    int y = 0;
    for (std::string_view row : ROWS) {
        for (size_t x = 0; x < row.size(); ++x) {
            if (row[x] == '#') {
                Put(tile, static_cast<int>(x), y, OUTLINE);
            } else if (row[x] == 'o') {
                Put(tile, static_cast<int>(x), y, Rgb{250, 250, 246});
            }
        }
        ++y;
    }
    return tile;
}
