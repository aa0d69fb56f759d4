#include "tools/datagen/icon_painter.h"

#include "screens/screen_layout.h"
#include "tools/datagen/atlas_painter.h"
#include "tools/datagen/backdrop_painter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace {

// The picture at the lamp's own size, with a mask of what lies inside its ring.
struct Scene {
    Image picture;
    std::vector<float> opacity;
};

Scene PaintScene(const std::string& boldFont)
{
    const Image lamp = PaintLamp();
    const Image backdrop = PaintBackdrop();
    Scene scene{MakeImage(lamp.width, lamp.height, TRANSPARENT_KEY), {}};
    // The night sky fills the lamp's hole, as over hidden cells.
    for (int y = 0; y < lamp.height; ++y) {
        for (int x = 0; x < lamp.width; ++x) {
            Put(scene.picture, x, y, At(backdrop, x + 200, y + 200));
        }
    }
    // Under the hot spot: the 3 x 3 cells around an opened mine.
    const std::array<int, 9> cells = {1, 2, 1, 1, 0, 2, 1, 1, 1};
    const int block = (lamp.width - (2 * CELL_PITCH + TILE_SIZE)) / 2;
    for (int i = 0; i < 9; ++i) {
        const Image tile = cells[static_cast<size_t>(i)] == 0
                               ? PaintOpenedMine()
                               : PaintNumberTile(cells[static_cast<size_t>(i)], boldFont);
        Paste(scene.picture, tile, block + (i % 3) * CELL_PITCH, block + (i / 3) * CELL_PITCH);
    }
    // The ring over it all; everything outside the ring's outer edge is cut away.
    scene.opacity.assign(lamp.pixels.size(), 0.0f);
    for (int y = 0; y < lamp.height; ++y) {
        int left = lamp.width;
        int right = -1;
        for (int x = 0; x < lamp.width; ++x) {
            if (At(lamp, x, y) != TRANSPARENT_KEY) {
                left = std::min(left, x);
                right = std::max(right, x);
                At(scene.picture, x, y) = At(lamp, x, y);
            }
        }
        for (int x = left; x <= right; ++x) {
            scene.opacity[static_cast<size_t>(y * lamp.width + x)] = 1.0f;
        }
    }
    return scene;
}

// Bilinear sample of the premultiplied scene at (u, v) in scene pixels.
std::array<float, 4> Sample(const Scene& scene, float u, float v)
{
    const Image& p = scene.picture;
    const float fx = std::clamp(u - 0.5f, 0.0f, static_cast<float>(p.width - 1));
    const float fy = std::clamp(v - 0.5f, 0.0f, static_cast<float>(p.height - 1));
    const int x0 = static_cast<int>(fx);
    const int y0 = static_cast<int>(fy);
    const int x1 = std::min(x0 + 1, p.width - 1);
    const int y1 = std::min(y0 + 1, p.height - 1);
    const float tx = fx - static_cast<float>(x0);
    const float ty = fy - static_cast<float>(y0);
    std::array<float, 4> sum{};
    const auto add = [&](int x, int y, float weight) {
        const float a = scene.opacity[static_cast<size_t>(y * p.width + x)] * weight;
        const Rgb c = At(p, x, y);
        sum[0] += static_cast<float>(c.r) * a;
        sum[1] += static_cast<float>(c.g) * a;
        sum[2] += static_cast<float>(c.b) * a;
        sum[3] += a;
    };
    add(x0, y0, (1 - tx) * (1 - ty));
    add(x1, y0, tx * (1 - ty));
    add(x0, y1, (1 - tx) * ty);
    add(x1, y1, tx * ty);
    return sum;
}

} // namespace

RgbaImage PaintIcon(const std::string& boldFont, int size)
{
    if (size < 8 || size > 512) {
        throw std::invalid_argument("icon size out of range");
    }
    const Scene scene = PaintScene(boldFont);
    const float scale = static_cast<float>(scene.picture.width) / static_cast<float>(size);
    // Enough samples per icon pixel to average every scene pixel it covers.
    const int n = std::max(2, static_cast<int>(std::ceil(scale)) * 2);
    RgbaImage icon{size, size, std::vector<uint8_t>(static_cast<size_t>(size * size) * 4u, 0)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::array<float, 4> sum{};
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const float u = (static_cast<float>(x) +
                                     (static_cast<float>(sx) + 0.5f) / static_cast<float>(n)) *
                                    scale;
                    const float v = (static_cast<float>(y) +
                                     (static_cast<float>(sy) + 0.5f) / static_cast<float>(n)) *
                                    scale;
                    const std::array<float, 4> s = Sample(scene, u, v);
                    for (size_t k = 0; k < 4; ++k) {
                        sum[k] += s[k];
                    }
                }
            }
            uint8_t* out = &icon.rgba[static_cast<size_t>(y * size + x) * 4u];
            const float alpha = sum[3] / static_cast<float>(n * n);
            for (size_t k = 0; k < 3 && sum[3] > 0.0f; ++k) {
                out[k] = static_cast<uint8_t>(
                    std::lround(std::clamp(sum[k] / sum[3], 0.0f, 255.0f)));
            }
            out[3] = static_cast<uint8_t>(std::lround(std::clamp(alpha * 255.0f, 0.0f, 255.0f)));
        }
    }
    return icon;
}

RgbaImage PaintWebIcon(const std::string& boldFont, int size)
{
    constexpr int SHARPEST = 128;
    int factor = 1;
    while (size / factor > SHARPEST || size % factor != 0) {
        ++factor;
    }
    const RgbaImage small = PaintIcon(boldFont, size / factor);
    RgbaImage icon{size, size, std::vector<uint8_t>(static_cast<size_t>(size * size) * 4u)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const size_t from = static_cast<size_t>((y / factor) * small.width + x / factor) * 4u;
            std::copy_n(&small.rgba[from], 4, &icon.rgba[static_cast<size_t>(y * size + x) * 4u]);
        }
    }
    return icon;
}
