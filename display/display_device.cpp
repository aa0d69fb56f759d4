#include "display/display_device.h"

#include "window/game_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The mode the records describe before DisplayOpen sets the real one.
constexpr int32_t START_WIDTH = 640;
constexpr int32_t START_HEIGHT = 480;
constexpr int32_t START_BPP = 8;

} // namespace

PlatVideoDevice g_directDraw = nullptr;
PlatSurface g_primarySurface = nullptr;
PlatSurface g_backSurface = nullptr;
PlatClipper g_backClipper = nullptr;
PlatClipper g_windowClipper = nullptr;
PlatPalette g_palette = nullptr;
PlatPaletteEntry g_paletteEntries[256] = {};
int32_t g_windowed = 0;
int32_t g_screenWidth = START_WIDTH;
int32_t g_screenHeight = START_HEIGHT;
int32_t g_screenBpp = START_BPP;
int32_t g_pixelFormat = PIXEL_FORMAT_565;
uint16_t* g_backBits = nullptr;
int32_t g_backPitch = 0;
std::FILE* g_logFile = nullptr;

void DisplayReset()
{
    g_directDraw = nullptr;
    g_primarySurface = nullptr;
    g_backSurface = nullptr;
    g_backClipper = nullptr;
    g_windowClipper = nullptr;
    g_palette = nullptr;
    std::memset(g_paletteEntries, 0, sizeof g_paletteEntries);
    g_windowed = 0;
    g_screenWidth = START_WIDTH;
    g_screenHeight = START_HEIGHT;
    g_screenBpp = START_BPP;
    g_pixelFormat = PIXEL_FORMAT_565;
    g_backBits = nullptr;
    g_backPitch = 0;
    g_logFile = nullptr;
}

namespace {

constexpr int32_t BOUND_START = 64000;

// The game itself opens full screen at 16 bits; the windowed branches here run
// only when a caller asks for a window (the tests do), as the display supports.
PlatSurfaceDesc PrimaryDesc(bool windowed)
{
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    if (windowed) {
        desc.flags = PLAT_SDESC_CAPS;
        desc.caps = PLAT_SCAPS_PRIMARYSURFACE;
    } else {
        desc.flags = PLAT_SDESC_CAPS | PLAT_SDESC_BACKBUFFERCOUNT;
        desc.caps = PLAT_SCAPS_PRIMARYSURFACE | PLAT_SCAPS_FLIP | PLAT_SCAPS_COMPLEX;
        desc.backBufferCount = 1;
    }
    return desc;
}

bool OpenDevice(int32_t width, int32_t height, int32_t bpp, bool windowed)
{
    if (PlatVideoCreate(&g_directDraw) < 0) {
        return false;
    }
    if (windowed) {
        return PlatVideoSetCooperativeLevel(g_directDraw, g_mainWindow, COOPERATIVE_WINDOWED) >= 0;
    }
    if (PlatVideoSetCooperativeLevel(g_directDraw, g_mainWindow, COOPERATIVE_FULLSCREEN) < 0) {
        return false;
    }
    return PlatVideoSetDisplayMode(g_directDraw, width, height, bpp, 0, 0) >= 0;
}

// A refused query leaves the count 0, which packs as 5.6.5 like every value but 15.
void ReadPixelFormat()
{
    PlatPixelFormat format{};
    format.size = sizeof(PlatPixelFormat);
    PlatVideoGetPixelFormat(g_primarySurface, &format);
    g_pixelFormat = static_cast<int32_t>(format.rgbBitCount);
    LogPrintf("\npixel format = %d", g_pixelFormat);
    LogPrintf(g_pixelFormat == PIXEL_FORMAT_555 ? "\npixel format = 5.5.5"
                                                : "\npixel format = 5.6.5");
}

bool OpenBackBuffer(int32_t width, int32_t height, bool windowed)
{
    if (windowed) {
        g_backSurface = CreateOffscreenSurface(width, height, PLAT_SCAPS_SYSTEMMEMORY, 0);
        return g_backSurface != nullptr;
    }
    return PlatVideoGetAttachedSurface(g_primarySurface, PLAT_SCAPS_BACKBUFFER, &g_backSurface) >=
           0;
}

// Only the 8-bit mode has a palette; the game never asks for it, so this runs
// only for a caller that opens an 8-bit display.
bool OpenPalette(bool windowed)
{
    std::memset(g_paletteEntries, 0, sizeof g_paletteEntries);
    LoadPaletteFile("PALDATA2.PAL", g_paletteEntries);
    uint32_t caps = PLAT_PCAPS_8BIT | PLAT_PCAPS_ALLOW256;
    if (windowed) {
        // The first and last ten entries belong to the desktop.
        for (int i = 0; i < 10; ++i) {
            g_paletteEntries[i].flags = PLAT_PC_EXPLICIT;
            g_paletteEntries[255 - i].flags = PLAT_PC_EXPLICIT;
        }
        caps = PLAT_PCAPS_8BIT;
    }
    if (PlatVideoCreatePalette(g_directDraw, caps, g_paletteEntries, &g_palette) < 0) {
        return false;
    }
    return PlatVideoSetPalette(g_primarySurface, g_palette) >= 0;
}

bool BindToWindow()
{
    if (PlatVideoCreateClipper(g_directDraw, 0, &g_windowClipper) < 0) {
        return false;
    }
    if (PlatVideoSetClipperWindow(g_windowClipper, 0, g_mainWindow) < 0) {
        return false;
    }
    return PlatVideoSetClipper(g_primarySurface, g_windowClipper) >= 0;
}

// Releases a display object the game holds, if it holds one, and forgets it.
template <typename Handle>
void ReleaseHeld(Handle* held, int (*release)(Handle))
{
    if (*held != nullptr) {
        release(*held);
        *held = nullptr;
    }
}

} // namespace

int32_t DisplayOpen(int32_t width, int32_t height, int32_t bpp, int32_t windowed)
{
    bool isWindowed = windowed != 0;
    if (!OpenDevice(width, height, bpp, isWindowed)) {
        return 0;
    }
    g_screenBpp = bpp;
    g_screenHeight = height;
    g_screenWidth = width;
    g_windowed = windowed;

    PlatSurfaceDesc desc = PrimaryDesc(isWindowed);
    if (PlatVideoCreateSurface(g_directDraw, &desc, &g_primarySurface) < 0 ||
        g_primarySurface == nullptr) {
        g_primarySurface = nullptr;
        return 0;
    }
    ReadPixelFormat();
    if (!OpenBackBuffer(width, height, isWindowed)) {
        g_backSurface = nullptr;
        return 0;
    }
    if (g_screenBpp == 8 && !OpenPalette(isWindowed)) {
        return 0;
    }
    if (!isWindowed) {
        SurfaceFill(g_primarySurface, 0, nullptr);
    }
    SurfaceFill(g_backSurface, 0, nullptr);
    PlatRect whole{0, 0, width, height};
    g_backClipper = AttachClipper(g_backSurface, 1, &whole);
    if (isWindowed && !BindToWindow()) {
        return 0;
    }
    return 1;
}

int32_t DisplayClose()
{
    // A frame left locked (the menu's actions end their frame early) must not
    // leave the screens a pointer into a released surface.
    g_backBits = nullptr;
    g_backPitch = 0;
    ReleaseHeld(&g_backClipper, PlatVideoReleaseClipper);
    ReleaseHeld(&g_windowClipper, PlatVideoReleaseClipper);
    ReleaseHeld(&g_palette, PlatVideoReleasePalette);
    ReleaseHeld(&g_backSurface, PlatVideoReleaseSurface);
    ReleaseHeld(&g_primarySurface, PlatVideoReleaseSurface);
    ReleaseHeld(&g_directDraw, PlatVideoReleaseDevice);
    return 1;
}

PlatClipper AttachClipper(PlatSurface surface, int32_t count, const PlatRect* rects)
{
    if (count < 0 || (count > 0 && rects == nullptr)) {
        return nullptr;
    }
    PlatClipper clipper = nullptr;
    if (PlatVideoCreateClipper(g_directDraw, 0, &clipper) < 0) {
        return nullptr;
    }
    const size_t rectBytes = sizeof(PlatRect) * static_cast<size_t>(count);
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(PlatRegionHeader) + rectBytes));
    if (block == nullptr) {
        PlatVideoReleaseClipper(clipper);
        return nullptr;
    }
    PlatRegionHeader header{};
    header.size = PLAT_REGION_HEADER_SIZE;
    header.type = PLAT_RDH_RECTANGLES;
    header.count = static_cast<uint32_t>(count);
    header.regionSize = static_cast<uint32_t>(rectBytes);
    header.bound = {BOUND_START, BOUND_START, -BOUND_START, -BOUND_START};
    for (int32_t i = 0; i < count; ++i) {
        header.bound.left = std::min(header.bound.left, rects[i].left);
        header.bound.top = std::min(header.bound.top, rects[i].top);
        header.bound.right = std::max(header.bound.right, rects[i].right);
        header.bound.bottom = std::max(header.bound.bottom, rects[i].bottom);
    }
    std::memcpy(block, &header, sizeof header);
    if (rectBytes > 0) {
        std::memcpy(block + sizeof header, rects, rectBytes);
    }
    // A clipper without its list is not attached: the surface would be clipped
    // by nothing the game asked for.
    bool attached = PlatVideoSetClipList(clipper, reinterpret_cast<const PlatRegionHeader*>(block),
                                         0) >= 0 &&
                    PlatVideoSetClipper(surface, clipper) >= 0;
    std::free(block);
    if (!attached) {
        // Nobody would ever release it otherwise.
        PlatVideoReleaseClipper(clipper);
        return nullptr;
    }
    return clipper;
}

PlatSurface CreateOffscreenSurface(int32_t width, int32_t height, uint32_t caps, int32_t key)
{
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    desc.flags = PLAT_SDESC_CAPS | PLAT_SDESC_HEIGHT | PLAT_SDESC_WIDTH;
    desc.caps = caps | PLAT_SCAPS_OFFSCREENPLAIN;
    desc.width = static_cast<uint32_t>(width);
    desc.height = static_cast<uint32_t>(height);
    PlatSurface surface = nullptr;
    if (PlatVideoCreateSurface(g_directDraw, &desc, &surface) < 0) {
        return nullptr;
    }
    uint32_t keyValue = static_cast<uint32_t>(key) & 0xFFFFu;
    PlatVideoSetColorKey(surface, PLAT_CKEY_SRCBLT, keyValue, keyValue);
    return surface;
}
