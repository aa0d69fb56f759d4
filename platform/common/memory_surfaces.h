// Display objects kept in plain memory, shared by the backends that draw into
// memory and show the result their own way (SDL, the web page, the fake).
// memory_surfaces.cpp holds every video call that works on surfaces,
// clippers and palettes: counting references, locking, fills, copies. The
// backend keeps the device and the display mode, and says through its
// MEMORY_VIDEO_HOOKS how a picture is shown and what else it wants told.
//
// Handles given back after their last release are refused, not followed.
#pragma once

#include "platform/video.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <vector>

// The largest side of a surface or display mode, far above any picture the
// game makes and small enough that width × height × 2 stays well in range.
constexpr int32_t MEMORY_SURFACE_MAX_SIDE = 8192;

struct PlatVideoDeviceTag {
    int refs;
    int32_t width; // the display mode's, for backends that keep it here
    int32_t height;
    bool presenting; // the backend's means of showing pictures are open
};

struct MemoryColorKey {
    uint32_t flags;
    uint32_t low;
    uint32_t high;
};

struct PlatSurfaceTag {
    int refs;
    PlatVideoDevice device;
    const char* role; // "primary", "back" or "offscreen"
    bool primary;
    int32_t width;
    int32_t height;
    // The pixels lie in `storage`, between the backend's guard bands (if it
    // asks for any).
    std::vector<uint16_t> storage;
    std::span<uint16_t> pixels;
    bool locked;
    PlatSurface attached;
    PlatClipper clipper;
    PlatPalette palette;
    MemoryColorKey colorKey;
};

struct PlatClipperTag {
    int refs;
    bool hasList;
    PlatRegionHeader header; // as last given
    std::vector<PlatRect> rects;
    bool windowBound;
    PlatWindow window;
};

// Kept for the calls that take one; memory surfaces hold 16-bit pixels only.
struct PlatPaletteTag {
    int refs;
    uint32_t caps;
    PlatPaletteEntry entries[256];
};

// What a backend adds to the shared calls. Hooks marked optional may be null.
struct MemoryVideoHooks {
    // Optional: asked first by every call but the releases; true refuses the
    // call with *result.
    bool (*refused)(const char* call, int* result) = nullptr;
    // Optional: told of every release (call name) and what it gives back
    // ("device", "surface:primary", "clipper:list", ...), null for a handle
    // already gone.
    void (*releasing)(const char* call, const char* what) = nullptr;
    // Optional: told of every description given to surface creation.
    void (*described)(const PlatSurfaceDesc& desc) = nullptr;
    // Makes ready whatever showing pictures needs and gives the primary
    // surface's size; false refuses the primary surface.
    bool (*openPrimary)(PlatVideoDevice device, int32_t* width, int32_t* height) = nullptr;
    // Shows a surface's picture: a copy onto the primary surface, and the
    // back buffer of a flip unless `flip` is given.
    int (*present)(PlatSurface shown) = nullptr;
    // Optional: a flip of its own (the back buffer is there and unlocked).
    int (*flip)(PlatSurface primary, PlatSurface back) = nullptr;
    // Optional: called before a surface's pixels are read or written.
    void (*touch)(PlatSurface surface) = nullptr;
    // Optional: the last reference to a device or surface is going.
    void (*deviceGone)(PlatVideoDevice device) = nullptr;
    void (*surfaceGone)(PlatSurface surface) = nullptr;
    // Optional: the RGB bit count surfaces report (16 when null; 15 is 5.5.5).
    uint32_t (*bitCount)() = nullptr;
    // Pixels of `guardPixel` on each side of every surface's pixels.
    size_t guardPixels = 0;
    uint16_t guardPixel = 0;
    // For the backends that scale their picture (scaled_video.cpp). Optional:
    // false refuses a new device, with the reason told.
    bool (*canShow)() = nullptr;
    // The window's size on the screen; false when it cannot be had.
    bool (*windowSize)(int* width, int* height) = nullptr;
};

// Defined by the backend linked with memory_surfaces.cpp.
extern const MemoryVideoHooks MEMORY_VIDEO_HOOKS;

PlatVideoDevice MemoryNewDevice(int32_t width, int32_t height);
// A display mode for a backend that scales its picture to the window instead
// of switching modes: any size up to the largest side, 16-bit pixels only,
// and only before the first picture is shown.
int MemorySetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp);
// A surface's pixels, after the backend's touch hook.
std::span<uint16_t> MemorySurfacePixels(PlatSurface surface);
// The pixels inside a storage block laid out as a surface's is.
std::span<uint16_t> MemoryPixelsOf(std::vector<uint16_t>& storage);

// Live objects, for checks of what a program gives back.
const std::set<PlatSurface>& MemoryLiveSurfaces();
int MemoryLiveObjects();
// Frees every object at once, whatever its references (test resets).
void MemoryDiscardAll();
