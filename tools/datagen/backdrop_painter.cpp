// A night sky of soft blue and violet clouds and faint stars, cut into raised
// 23-pixel cells so the player can count them. It stays dark and quiet so that
// flags and opened mines stand out on it.
#include "tools/datagen/backdrop_painter.h"

#include "screens/screen_layout.h"

#include <algorithm>
#include <cmath>

namespace {

Rgb SkyAt(float x, float y)
{
    const float cloud = FractalNoise(x, y, 190.0f, 5, 11u);
    const float tint = FractalNoise(x + 400.0f, y, 260.0f, 3, 23u);
    const float wisp = FractalNoise(x, y * 1.8f, 70.0f, 3, 37u);
    const Rgb deep{12, 20, 42};
    const Rgb cloudy{36, 62, 96};
    const Rgb violet{52, 36, 84};
    Rgb c = Mix(deep, cloudy, std::clamp((cloud - 0.30f) * 1.9f, 0.0f, 1.0f));
    c = Mix(c, violet, std::clamp((tint - 0.45f) * 2.2f, 0.0f, 0.7f));
    return Scale(c, 0.9f + 0.2f * wisp);
}

// How each pixel of a cell is lit: a bright rim on the top and left, a shadow on
// the bottom and right, and the grid line itself.
float CellLight(int cx, int cy)
{
    if (cx == 0 || cy == 0) {
        return 0.55f;
    }
    const int last = CELL_PITCH - 1;
    if (cx == 1 || cy == 1) {
        return (cx == 1 && cy == last) || (cy == 1 && cx == last) ? 1.0f : 1.30f;
    }
    if (cx == last || cy == last) {
        return 0.78f;
    }
    return 1.0f;
}

// Faint stars, kept off the grid lines and cell rims so that the cells stay
// easy to count.
void ScatterStars(Image& image)
{
    Rng rng = SeededRng(0x57A25ull);
    const Rgb starlight{206, 218, 255};
    for (int i = 0; i < 150; ++i) {
        const int x = static_cast<int>(NextUnit(rng) * static_cast<float>(image.width));
        const int y = static_cast<int>(NextUnit(rng) * static_cast<float>(image.height));
        const float strength = 0.25f + 0.45f * NextUnit(rng) * NextUnit(rng);
        const bool bright = NextUnit(rng) < 0.12f;
        const int cx = x % CELL_PITCH;
        const int cy = y % CELL_PITCH;
        if (cx < 4 || cy < 4 || cx > CELL_PITCH - 4 || cy > CELL_PITCH - 4) {
            continue;
        }
        Blend(image, x, y, starlight, bright ? 0.85f : strength);
        if (bright) {
            Blend(image, x - 1, y, starlight, 0.3f);
            Blend(image, x + 1, y, starlight, 0.3f);
            Blend(image, x, y - 1, starlight, 0.3f);
            Blend(image, x, y + 1, starlight, 0.3f);
        }
    }
}

} // namespace

BackdropPainting StartBackdrop()
{
    return {MakeImage(BACKDROP_SIZE, BACKDROP_SIZE, Rgb{8, 8, 8}), SeededRng(0x5EEDull), 0};
}

bool PaintBackdropRows(BackdropPainting& painting, int rows)
{
    Image& image = painting.image;
    const int end = std::min(image.height, painting.nextRow + std::max(rows, 0));
    for (int y = painting.nextRow; y < end; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const int col = x / CELL_PITCH;
            const int row = y / CELL_PITCH;
            // Cells differ a little, like tiles laid by hand.
            const float cellTone = 0.94f + 0.12f * HashUnit(col, row, 71u);
            const float light = CellLight(x % CELL_PITCH, y % CELL_PITCH) * cellTone;
            const Rgb sky = Scale(SkyAt(fx, fy), light);
            // Grain of about one step of the 16-bit display, which hides banding.
            const float n = NextSigned(painting.grain) * 3.0f;
            Put(image, x, y,
                VisibleF(static_cast<float>(sky.r) + n, static_cast<float>(sky.g) + n,
                         static_cast<float>(sky.b) + n));
        }
    }
    const bool wasUnfinished = painting.nextRow < image.height;
    painting.nextRow = end;
    // The stars go on last, over rows already painted.
    if (wasUnfinished && end == image.height) {
        ScatterStars(image);
    }
    return end == image.height;
}

Image PaintBackdrop()
{
    BackdropPainting painting = StartBackdrop();
    PaintBackdropRows(painting, BACKDROP_SIZE);
    return painting.image;
}
