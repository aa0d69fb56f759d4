// The display in a browser: surfaces are plain memory; presenting converts the
// 5.6.5 picture to RGBA through a table of every 16-bit value and puts it on
// the page's canvas, which the page scales to the window with sharp pixels.
// Presenting is where the game gives the browser its turn (web_system.cpp).
#include "platform/common/memory_surfaces.h"
#include "platform/video.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<uint32_t> s_rgbaOf; // 65536 entries, made with the first device
std::vector<uint32_t> s_rgba;   // the picture as the canvas takes it

// clang-format off
EM_JS(int, WebCanvasSetSize, (int width, int height), {
    var canvas = document.getElementById("canvas");
    if (!canvas || !canvas.getContext("2d")) return 0;
    canvas.width = width;
    canvas.height = height;
    return 1;
});
// clang-format on

// Draws the RGBA picture and keeps count of frames and of what they cost, for
// the page (and its test) to show.
// clang-format off
EM_JS(void, WebCanvasDraw, (const uint32_t* rgba, int width, int height, double convertMs), {
    var canvas = document.getElementById("canvas");
    var started = performance.now();
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    canvas.getContext("2d").putImageData(new ImageData(bytes, width, height), 0, 0);
    var stats = Module.dellomarStats;
    if (!stats) return;
    stats.frames++;
    stats.convertMs += convertMs;
    stats.drawMs += performance.now() - started;
    if (stats.firstFrameAt === 0) stats.firstFrameAt = started;
    stats.lastFrameAt = started;
});
// clang-format on

// 5 and 6 bits are widened by repeating their top bits, so white stays white.
void MakeColourTable()
{
    if (!s_rgbaOf.empty()) {
        return;
    }
    s_rgbaOf.resize(65536);
    for (uint32_t value = 0; value < 65536; ++value) {
        uint32_t red = (value >> 11) & 0x1Fu;
        uint32_t green = (value >> 5) & 0x3Fu;
        uint32_t blue = value & 0x1Fu;
        red = (red << 3) | (red >> 2);
        green = (green << 2) | (green >> 4);
        blue = (blue << 3) | (blue >> 2);
        // Bytes in memory: red, green, blue, alpha.
        s_rgbaOf[value] = red | (green << 8) | (blue << 16) | 0xFF000000u;
    }
}

bool OpenPrimary(PlatVideoDevice device, int32_t* width, int32_t* height)
{
    *width = device->width;
    *height = device->height;
    if (device->presenting) {
        return true;
    }
    if (WebCanvasSetSize(device->width, device->height) == 0) {
        WebSetLastError("the page's canvas cannot draw pictures");
        return false;
    }
    MakeColourTable();
    s_rgba.assign(static_cast<size_t>(device->width) * static_cast<size_t>(device->height),
                  0xFF000000u);
    device->presenting = true;
    return true;
}

int Present(PlatSurface shown)
{
    PlatVideoDevice device = shown->device;
    if (!device->presenting) {
        return PLAT_VIDEO_REFUSED;
    }
    const double started = emscripten_get_now();
    const auto width = static_cast<size_t>(std::min(shown->width, device->width));
    const auto height = static_cast<size_t>(std::min(shown->height, device->height));
    const auto deviceWidth = static_cast<size_t>(device->width);
    const auto shownWidth = static_cast<size_t>(shown->width);
    const uint32_t* table = s_rgbaOf.data();
    for (size_t y = 0; y < height; ++y) {
        const uint16_t* from = shown->pixels.data() + y * shownWidth;
        uint32_t* to = s_rgba.data() + y * deviceWidth;
        for (size_t x = 0; x < width; ++x) {
            to[x] = table[from[x]];
        }
    }
    WebCanvasDraw(s_rgba.data(), device->width, device->height, emscripten_get_now() - started);
    WebGiveBrowserTurn();
    return 0;
}

bool WindowSize(int* width, int* height)
{
    return emscripten_get_canvas_element_size(WEB_CANVAS, width, height) ==
           EMSCRIPTEN_RESULT_SUCCESS;
}

} // namespace

const MemoryVideoHooks MEMORY_VIDEO_HOOKS = {
    .openPrimary = OpenPrimary,
    .present = Present,
    .windowSize = WindowSize,
};
