// The display in a browser: surfaces are plain memory; presenting converts the
// 5.6.5 picture to RGBA through a table of every 16-bit value and puts it on
// the page's canvas, which the page scales to the window with sharp pixels.
// Only what changed since the last frame shown is converted and put on the
// canvas; a frame that changed nothing touches neither, so the browser has
// nothing to draw either. Presenting is where the game gives the browser its
// turn (web_system.cpp).
#include "platform/common/changed_area.h"
#include "platform/common/memory_pixels.h"
#include "platform/common/memory_surfaces.h"
#include "platform/video.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <vector>

namespace {

// clang-format off
EM_JS(int, WebCanvasSetSize, (int width, int height), {
    var canvas = document.getElementById("canvas");
    if (!canvas || !canvas.getContext("2d")) return 0;
    canvas.width = width;
    canvas.height = height;
    return 1;
});
// clang-format on

// More bands than the lamp, a number under it and the text ever make.
constexpr size_t MAX_BANDS = 16;

std::vector<uint32_t> s_rgbaOf; // 65536 entries, made with the first device
std::vector<uint32_t> s_rgba;   // the picture as the canvas takes it
ShownPicture s_shown;

// Puts these rectangles (left, top, right, bottom each) of the RGBA picture
// on the canvas, and keeps count of frames and of what they cost, for the
// page (and its test) to show: `frames` counts every frame presented,
// `drawn` those that put something on the canvas, `drawnAt` is the count of
// frames when the last was drawn.
// clang-format off
EM_JS(void, WebCanvasDraw, (const uint32_t* rgba, int width, int height, const int32_t* rects,
                            int count, double convertMs), {
    var started = performance.now();
    if (count > 0) {
        var canvas = document.getElementById("canvas");
        var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
        var picture = new ImageData(bytes, width, height);
        var context = canvas.getContext("2d");
        for (var i = 0; i < count; i++) {
            var at = (rects >> 2) + 4 * i;
            var left = HEAP32[at], top = HEAP32[at + 1];
            context.putImageData(picture, 0, 0, left, top, HEAP32[at + 2] - left,
                                 HEAP32[at + 3] - top);
        }
    }
    var stats = Module.dellomarStats;
    if (!stats) return;
    stats.frames++;
    if (count > 0) {
        stats.drawn = (stats.drawn || 0) + 1;
        stats.drawnAt = stats.frames;
        stats.convertMs += convertMs;
        stats.drawMs += performance.now() - started;
    }
    if (stats.firstFrameAt === 0) stats.firstFrameAt = started;
    stats.lastFrameAt = started;
});
// clang-format on

// Whether the canvas may have lost what it showed since the last frame (its
// context was lost and restored, or the tab was hidden): it is then drawn
// whole. Asking forgets the answer.
// clang-format off
EM_JS(int, WebCanvasTakeRedraw, (), {
    if (!Module.dellomarRedrawWatched) {
        Module.dellomarRedrawWatched = true;
        var redraw = function () { Module.dellomarRedraw = true; };
        var canvas = document.getElementById("canvas");
        if (canvas) canvas.addEventListener("contextrestored", redraw);
        document.addEventListener("visibilitychange", redraw);
    }
    var asked = Module.dellomarRedraw ? 1 : 0;
    Module.dellomarRedraw = false;
    return asked;
});
// clang-format on

void MakeColourTable()
{
    if (!s_rgbaOf.empty()) {
        return;
    }
    s_rgbaOf.resize(65536);
    for (uint32_t value = 0; value < 65536; ++value) {
        const Rgb888 rgb = Widen565(static_cast<uint16_t>(value));
        // Bytes in memory: red, green, blue, alpha.
        s_rgbaOf[value] = rgb.red | (rgb.green << 8) | (rgb.blue << 16) | 0xFF000000u;
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
    s_shown = ShownPicture{};
    device->presenting = true;
    return true;
}

// A picture changed whole (the first, a new screen) is many times a frame's
// work: the browser gets its turn between pieces of rows.
constexpr size_t CONVERTED_ROWS_PER_PIECE = 32;

void ConvertBand(const PlatRect& band, const uint16_t* picture, size_t pitch, size_t width)
{
    const uint32_t* table = s_rgbaOf.data();
    for (auto y = static_cast<size_t>(band.top); y < static_cast<size_t>(band.bottom); ++y) {
        if ((y - static_cast<size_t>(band.top)) % CONVERTED_ROWS_PER_PIECE == 0) {
            WebTurnIfBusy();
        }
        const uint16_t* from = picture + y * pitch;
        uint32_t* to = s_rgba.data() + y * width;
        for (auto x = static_cast<size_t>(band.left); x < static_cast<size_t>(band.right); ++x) {
            to[x] = table[from[x]];
        }
    }
}

int Present(PlatSurface shown)
{
    PlatVideoDevice device = shown->device;
    if (!device->presenting) {
        return PLAT_VIDEO_REFUSED;
    }
    const double started = emscripten_get_now();
    if (WebCanvasTakeRedraw() != 0) {
        s_shown.whole = true;
    }
    PlatRect bands[MAX_BANDS];
    const size_t count = TakeChangedArea(&s_shown, shown->pixels.data(), shown->width,
                                         std::min(shown->width, device->width),
                                         std::min(shown->height, device->height), bands, MAX_BANDS);
    for (size_t i = 0; i < count; ++i) {
        ConvertBand(bands[i], shown->pixels.data(), static_cast<size_t>(shown->width),
                    static_cast<size_t>(device->width));
    }
    WebCanvasDraw(s_rgba.data(), device->width, device->height, &bands[0].left,
                  static_cast<int>(count), emscripten_get_now() - started);
    WebGiveBrowserTurn(count > 0);
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
