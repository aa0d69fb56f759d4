// The four menu buttons: rounded, bevelled plates with their label. They stand
// on the black of the cleared screen, so their rounded corners are smoothed
// towards black.
#include "screens/screen_layout.h"
#include "tools/datagen/atlas_painter.h"
#include "tools/datagen/font_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float CORNER = 7.0f;

// Distance from a point inside the rectangle [0,w) x [0,h) with rounded corners
// to its edge; negative outside.
float EdgeDistance(float px, float py, float w, float h)
{
    const float dx = std::max({CORNER - px, px - (w - CORNER), 0.0f});
    const float dy = std::max({CORNER - py, py - (h - CORNER), 0.0f});
    if (dx > 0.0f && dy > 0.0f) {
        return CORNER - std::hypot(dx, dy);
    }
    return std::min({px, py, w - px, h - py});
}

Rgb PlateColour(float depth, float py, float h)
{
    const float t = py / h;
    const Rgb body = Mix(Rgb{78, 112, 164}, Rgb{34, 54, 96}, t);
    if (depth < 1.0f) {
        return Rgb{12, 16, 28}; // outline
    }
    if (depth < 2.0f) {
        // Bevel: lit along the top, in shadow along the bottom.
        return t < 0.5f ? Rgb{168, 196, 236} : Rgb{22, 34, 64};
    }
    if (depth < 3.0f && t < 0.5f) {
        return Mix(body, Rgb{168, 196, 236}, 0.35f);
    }
    return body;
}

} // namespace

Image PaintButton(const std::string& label, const std::string& font)
{
    const int w = MENU_BUTTONS[0].piece.w;
    const int h = MENU_BUTTONS[0].piece.h;
    const float fw = static_cast<float>(w);
    const float fh = static_cast<float>(h);
    Image button = MakeImage(w, h, TRANSPARENT_KEY);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float cover = Coverage(
                [&](float px, float py) { return EdgeDistance(px, py, fw, fh) > 0.0f; }, x, y);
            if (cover <= 0.0f) {
                continue;
            }
            const float depth = EdgeDistance(static_cast<float>(x) + 0.5f,
                                             static_cast<float>(y) + 0.5f, fw, fh);
            const Rgb plate = PlateColour(std::max(depth, 0.0f), static_cast<float>(y) + 0.5f, fh);
            Put(button, x, y, Scale(plate, cover));
        }
    }
    const TextMask text = RenderText(font, 17, label);
    DrawTextMask(button, text, fw / 2.0f + 1.0f, fh / 2.0f + 1.0f, Rgb{10, 16, 34});
    DrawTextMask(button, text, fw / 2.0f, fh / 2.0f, Rgb{244, 246, 250});
    return button;
}
