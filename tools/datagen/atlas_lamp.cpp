// The lamp the cursor carries: a ring of warm light whose middle is see-through,
// so that the numbers drawn beneath it (the 3x3 cells around the hot spot) show.
//
// The hot spot lies 57 pixels right of and below the lamp's corner and is snapped
// to the 23-pixel grid, so the 70-pixel block of numbered tiles starts anywhere
// from 12 to 34 pixels into the lamp. The ring is centred on the block's middle
// position; a true circle small enough to fit the lamp would cut into the corner
// digits when the block sits off-centre, so the ring is a little squarer than
// round.
#include "screens/screen_layout.h"
#include "tools/datagen/atlas_painter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float CENTRE = 58.0f;
constexpr float INNER_RADIUS = 52.0f;
constexpr float OUTER_RADIUS = 57.5f;
constexpr float ROUNDNESS = 2.5f;

// Distance in a norm between round and square: the ring bulges towards the
// corners, where the block of numbers reaches furthest.
float Radius(float px, float py)
{
    const float dx = std::fabs(px - CENTRE);
    const float dy = std::fabs(py - CENTRE);
    return std::pow(std::pow(dx, ROUNDNESS) + std::pow(dy, ROUNDNESS), 1.0f / ROUNDNESS);
}

bool InRing(float px, float py)
{
    const float r = Radius(px, py);
    return r >= INNER_RADIUS && r < OUTER_RADIUS;
}

// Colour across the ring, t = 0 at the hole's edge, 1 at the outside.
Rgb RingColour(float t)
{
    if (t < 0.14f) {
        return Rgb{255, 246, 204};
    }
    if (t < 0.45f) {
        return Mix(Rgb{250, 212, 112}, Rgb{226, 150, 52}, (t - 0.14f) / 0.31f);
    }
    if (t < 0.86f) {
        return Mix(Rgb{226, 150, 52}, Rgb{140, 70, 20}, (t - 0.45f) / 0.41f);
    }
    return Rgb{58, 28, 10};
}

} // namespace

Image PaintLamp()
{
    Image lamp = MakeImage(ATLAS_LAMP.w, ATLAS_LAMP.h, TRANSPARENT_KEY);
    for (int y = 0; y < lamp.height; ++y) {
        for (int x = 0; x < lamp.width; ++x) {
            if (Coverage(InRing, x, y) < 0.5f) {
                continue; // the hole and the corners stay see-through
            }
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float t = std::clamp(
                (Radius(px, py) - INNER_RADIUS) / (OUTER_RADIUS - INNER_RADIUS), 0.0f, 1.0f);
            // Brighter towards the upper left, as if the light were tilted.
            const float angle = std::atan2(py - CENTRE, px - CENTRE);
            const float light = 1.0f + 0.22f * std::cos(angle + 2.35619f);
            Put(lamp, x, y, Scale(RingColour(t), light));
        }
    }
    return lamp;
}
