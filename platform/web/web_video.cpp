// The display in a browser: surfaces are plain memory; presenting converts the
// 5.6.5 picture to RGBA through a table of every 16-bit value and puts it on
// the page's canvas, which the page scales to the window with sharp pixels.
// Presenting is where the game gives the browser its turn (web_system.cpp).
#include "platform/common/memory_pixels.h"
#include "platform/video.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <vector>

struct PlatVideoDeviceTag {
    int refs;
    bool canvasReady;
    int32_t width;
    int32_t height;
};

struct PlatClipperTag {
    int refs;
    bool hasList;
    std::vector<PlatRect> rects;
};

struct PlatPaletteTag {
    int refs;
};

struct PlatSurfaceTag {
    int refs;
    PlatVideoDevice device;
    bool primary;
    int32_t width;
    int32_t height;
    std::vector<uint16_t> pixels;
    bool locked;
    PlatSurface attached;
    PlatClipper clipper;
    PlatPalette palette;
};

namespace {

constexpr int32_t DEFAULT_WIDTH = 800;
constexpr int32_t DEFAULT_HEIGHT = 600;
constexpr int32_t MAX_SIDE = 8192;

std::vector<uint32_t> s_rgbaOf; // 65536 entries, made with the first device
std::vector<uint32_t> s_rgba;   // the picture as the canvas takes it

EM_JS(int, WebCanvasSetSize, (int width, int height), {
    var canvas = document.getElementById("canvas");
    if (!canvas || !canvas.getContext("2d")) return 0;
    canvas.width = width;
    canvas.height = height;
    return 1;
});

// Draws the RGBA picture and keeps count of frames and of what they cost, for
// the page (and its test) to show.
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

void DropDevice(PlatVideoDevice device)
{
    if (--device->refs == 0) {
        delete device;
    }
}

void DropClipper(PlatClipper clipper)
{
    if (clipper != nullptr && --clipper->refs == 0) {
        delete clipper;
    }
}

void DropPalette(PlatPalette palette)
{
    if (palette != nullptr && --palette->refs == 0) {
        delete palette;
    }
}

void DropSurface(PlatSurface surface)
{
    if (surface == nullptr || --surface->refs > 0) {
        return;
    }
    DropClipper(surface->clipper);
    DropPalette(surface->palette);
    DropSurface(surface->attached);
    DropDevice(surface->device);
    delete surface;
}

PlatSurface NewSurface(PlatVideoDevice device, bool primary, int32_t width, int32_t height)
{
    ++device->refs;
    auto* surface =
        new PlatSurfaceTag{1, device, primary, width, height, {}, false, nullptr, nullptr, nullptr};
    surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return surface;
}

bool OpenPresentation(PlatVideoDevice device)
{
    if (device->canvasReady) {
        return true;
    }
    if (WebCanvasSetSize(device->width, device->height) == 0) {
        WebSetLastError("the page's canvas cannot draw pictures");
        return false;
    }
    MakeColourTable();
    s_rgba.assign(static_cast<size_t>(device->width) * static_cast<size_t>(device->height),
                  0xFF000000u);
    device->canvasReady = true;
    return true;
}

int Present(PlatSurface shown)
{
    PlatVideoDevice device = shown->device;
    if (!device->canvasReady) {
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
    WebCanvasDraw(s_rgba.data(), device->width, device->height,
                  emscripten_get_now() - started);
    WebGiveBrowserTurn();
    return 0;
}

} // namespace

int PlatVideoCreate(PlatVideoDevice* device)
{
    *device = new PlatVideoDeviceTag{1, false, DEFAULT_WIDTH, DEFAULT_HEIGHT};
    return 0;
}

int PlatVideoSetCooperativeLevel(PlatVideoDevice, PlatWindow, uint32_t)
{
    return 0;
}

// The page scales the picture to its window, so any size is a mode; only
// 16-bit pixels are offered.
int PlatVideoSetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp,
                            int32_t, uint32_t)
{
    if (bpp != 16 || width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE ||
        device->canvasReady) {
        return PLAT_VIDEO_REFUSED;
    }
    device->width = width;
    device->height = height;
    return 0;
}

int PlatVideoCreateSurface(PlatVideoDevice device, const PlatSurfaceDesc* desc,
                           PlatSurface* surface)
{
    if ((desc->caps & PLAT_SCAPS_PRIMARYSURFACE) != 0) {
        if (!OpenPresentation(device)) {
            return PLAT_VIDEO_REFUSED;
        }
        *surface = NewSurface(device, true, device->width, device->height);
        if ((desc->flags & PLAT_SDESC_BACKBUFFERCOUNT) != 0 && desc->backBufferCount > 0) {
            (*surface)->attached = NewSurface(device, false, device->width, device->height);
        }
        return 0;
    }
    const uint32_t sized = PLAT_SDESC_WIDTH | PLAT_SDESC_HEIGHT;
    if ((desc->flags & sized) != sized || desc->width == 0 || desc->height == 0 ||
        desc->width > MAX_SIDE || desc->height > MAX_SIDE) {
        return PLAT_VIDEO_REFUSED;
    }
    *surface = NewSurface(device, false, static_cast<int32_t>(desc->width),
                          static_cast<int32_t>(desc->height));
    return 0;
}

int PlatVideoCreateClipper(PlatVideoDevice, uint32_t, PlatClipper* clipper)
{
    *clipper = new PlatClipperTag{1, false, {}};
    return 0;
}

// Kept for the calls that take one; the picture holds 16-bit pixels only.
int PlatVideoCreatePalette(PlatVideoDevice, uint32_t, const PlatPaletteEntry*,
                           PlatPalette* palette)
{
    *palette = new PlatPaletteTag{1};
    return 0;
}

int PlatVideoRestoreAllSurfaces(PlatVideoDevice)
{
    return 0;
}

int PlatVideoGetAttachedSurface(PlatSurface surface, uint32_t caps, PlatSurface* attached)
{
    if ((caps & PLAT_SCAPS_BACKBUFFER) == 0 || surface->attached == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    ++surface->attached->refs;
    *attached = surface->attached;
    return 0;
}

int PlatVideoGetPixelFormat(PlatSurface, PlatPixelFormat* format)
{
    format->rgbBitCount = 16;
    format->redMask = 0xF800u;
    format->greenMask = 0x07E0u;
    format->blueMask = 0x001Fu;
    return 0;
}

int PlatVideoLock(PlatSurface surface, const PlatRect*, PlatSurfaceDesc* desc, uint32_t)
{
    if (surface->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    surface->locked = true;
    desc->surface = surface->pixels.data();
    desc->pitch = surface->width * 2;
    desc->width = static_cast<uint32_t>(surface->width);
    desc->height = static_cast<uint32_t>(surface->height);
    return 0;
}

int PlatVideoUnlock(PlatSurface surface, const PlatRect*)
{
    if (!surface->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    surface->locked = false;
    return 0;
}

int PlatVideoColorFill(PlatSurface surface, const PlatRect* rect, uint32_t, uint32_t colour)
{
    PlatRect area = rect != nullptr ? *rect : PlatRect{0, 0, surface->width, surface->height};
    const auto value = static_cast<uint16_t>(colour);
    const std::vector<PlatRect>* clips =
        surface->clipper == nullptr || !surface->clipper->hasList ? nullptr
                                                                  : &surface->clipper->rects;
    FillPixelArea(surface->pixels.data(), surface->width, surface->height, area, clips, value);
    return 0;
}

// A plain copy (no stretching); onto the primary surface it is shown at once.
int PlatVideoBlt(PlatSurface dest, const PlatRect* destRect, PlatSurface source,
                 const PlatRect* sourceRect, uint32_t)
{
    PlatRect from = sourceRect != nullptr ? *sourceRect
                                          : PlatRect{0, 0, source->width, source->height};
    PlatRect to = destRect != nullptr ? *destRect : PlatRect{0, 0, dest->width, dest->height};
    const int32_t width = std::min(from.right - from.left, to.right - to.left);
    const int32_t height = std::min(from.bottom - from.top, to.bottom - to.top);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sx = from.left + x, sy = from.top + y;
            const int32_t dx = to.left + x, dy = to.top + y;
            if (sx >= 0 && sy >= 0 && sx < source->width && sy < source->height && dx >= 0 &&
                dy >= 0 && dx < dest->width && dy < dest->height) {
                dest->pixels[static_cast<size_t>(dy * dest->width + dx)] =
                    source->pixels[static_cast<size_t>(sy * source->width + sx)];
            }
        }
    }
    return dest->primary ? Present(dest) : 0;
}

int PlatVideoFlip(PlatSurface primary, PlatSurface, uint32_t)
{
    PlatSurface back = primary->attached;
    if (back == nullptr || back->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    return Present(back);
}

int PlatVideoSetClipper(PlatSurface surface, PlatClipper clipper)
{
    if (clipper != nullptr) {
        ++clipper->refs;
    }
    DropClipper(surface->clipper);
    surface->clipper = clipper;
    return 0;
}

int PlatVideoSetColorKey(PlatSurface, uint32_t, uint32_t, uint32_t)
{
    return 0;
}

int PlatVideoSetPalette(PlatSurface surface, PlatPalette palette)
{
    if (palette != nullptr) {
        ++palette->refs;
    }
    DropPalette(surface->palette);
    surface->palette = palette;
    return 0;
}

int PlatVideoSetClipList(PlatClipper clipper, const PlatRegionHeader* list, uint32_t)
{
    clipper->hasList = true;
    clipper->rects.clear();
    for (uint32_t i = 0; i < list->count; ++i) {
        clipper->rects.push_back(PlatRegionRect(list, i));
    }
    return 0;
}

// The window is the whole picture, so binding a clipper to it clips nothing.
int PlatVideoSetClipperWindow(PlatClipper, uint32_t, PlatWindow)
{
    return 0;
}

int PlatVideoReleaseDevice(PlatVideoDevice device)
{
    DropDevice(device);
    return 0;
}

int PlatVideoReleaseSurface(PlatSurface surface)
{
    DropSurface(surface);
    return 0;
}

int PlatVideoReleaseClipper(PlatClipper clipper)
{
    DropClipper(clipper);
    return 0;
}

int PlatVideoReleasePalette(PlatPalette palette)
{
    DropPalette(palette);
    return 0;
}

// The primary surface is the window's picture, so the window sits at its origin.
int PlatGetWindowRect(PlatWindow, PlatRect* rect)
{
    int width = 0;
    int height = 0;
    if (emscripten_get_canvas_element_size(WEB_CANVAS, &width, &height) !=
        EMSCRIPTEN_RESULT_SUCCESS) {
        return PLAT_VIDEO_REFUSED;
    }
    *rect = {0, 0, width, height};
    return 0;
}
