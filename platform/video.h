// The video seam: a display device, surfaces with a lockable memory view,
// clippers and palettes, one call per step the display code takes. Flag and
// capability values are the native display API's own numbers, so a native
// backend can hand them straight on. Every call gives an int: negative means
// refused, anything else accepted.
//
// Objects are reference counted the way the native ones are: each handle given
// out (create, or the attached back buffer) is released once by its holder;
// attaching a clipper or palette to a surface makes the surface a holder too.
#pragma once

#include "platform/system.h"

#include <cstdint>
#include <cstring>

struct PlatVideoDeviceTag;
struct PlatSurfaceTag;
struct PlatClipperTag;
struct PlatPaletteTag;
using PlatVideoDevice = PlatVideoDeviceTag*;
using PlatSurface = PlatSurfaceTag*;
using PlatClipper = PlatClipperTag*;
using PlatPalette = PlatPaletteTag*;

// Right and bottom are exclusive.
struct PlatRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct PlatPaletteEntry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t flags;
};

// Which fields of a surface description are meaningful.
constexpr uint32_t PLAT_SDESC_CAPS = 0x1;
constexpr uint32_t PLAT_SDESC_HEIGHT = 0x2;
constexpr uint32_t PLAT_SDESC_WIDTH = 0x4;
constexpr uint32_t PLAT_SDESC_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t PLAT_SDESC_SIZE = 124; // value of the size field

// Surface capabilities.
constexpr uint32_t PLAT_SCAPS_BACKBUFFER = 0x4;
constexpr uint32_t PLAT_SCAPS_COMPLEX = 0x8;
constexpr uint32_t PLAT_SCAPS_FLIP = 0x10;
constexpr uint32_t PLAT_SCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t PLAT_SCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t PLAT_SCAPS_SYSTEMMEMORY = 0x800;

// Cooperative levels.
constexpr uint32_t PLAT_COOP_FULLSCREEN = 0x1;
constexpr uint32_t PLAT_COOP_ALLOWREBOOT = 0x2;
constexpr uint32_t PLAT_COOP_NORMAL = 0x8;
constexpr uint32_t PLAT_COOP_EXCLUSIVE = 0x10;
constexpr uint32_t PLAT_COOP_ALLOWMODEX = 0x40;
constexpr uint32_t PLAT_COOP_MULTITHREADED = 0x400;

constexpr uint32_t PLAT_BLT_COLORFILL = 0x400;
constexpr uint32_t PLAT_BLT_WAIT = 0x1000000;
constexpr uint32_t PLAT_FLIP_WAIT = 0x1;
constexpr uint32_t PLAT_LOCK_WAIT = 0x1;
constexpr uint32_t PLAT_CKEY_SRCBLT = 0x8;

constexpr uint32_t PLAT_PCAPS_8BIT = 0x4;
constexpr uint32_t PLAT_PCAPS_ALLOW256 = 0x40;
constexpr uint8_t PLAT_PC_EXPLICIT = 2;
constexpr uint8_t PLAT_PC_NOCOLLAPSE = 4;

constexpr uint32_t PLAT_RDH_RECTANGLES = 1;
constexpr uint32_t PLAT_REGION_HEADER_SIZE = 32;

constexpr int PLAT_VIDEO_REFUSED = -1;

// Given to surface creation; filled in by a lock.
struct PlatSurfaceDesc {
    uint32_t size;  // PLAT_SDESC_SIZE
    uint32_t flags; // PLAT_SDESC_*
    uint32_t height;
    uint32_t width;
    int32_t pitch; // bytes from one line to the next (lock)
    uint32_t backBufferCount;
    void* surface; // first pixel (lock)
    uint32_t caps; // PLAT_SCAPS_*
};

struct PlatPixelFormat {
    uint32_t size; // 32
    uint32_t flags;
    uint32_t rgbBitCount;
    uint32_t redMask;
    uint32_t greenMask;
    uint32_t blueMask;
};

// A clip list is one block: this header, then `count` PlatRect values.
struct PlatRegionHeader {
    uint32_t size; // PLAT_REGION_HEADER_SIZE
    uint32_t type; // PLAT_RDH_RECTANGLES
    uint32_t count;
    uint32_t regionSize; // 16 × count
    PlatRect bound;
};
static_assert(sizeof(PlatRegionHeader) == PLAT_REGION_HEADER_SIZE);
static_assert(sizeof(PlatRect) == 16);

// Rectangle i of a clip list block.
inline PlatRect PlatRegionRect(const PlatRegionHeader* list, uint32_t i)
{
    PlatRect rect;
    std::memcpy(&rect,
                reinterpret_cast<const unsigned char*>(list) + sizeof(PlatRegionHeader) +
                    sizeof(PlatRect) * i,
                sizeof rect);
    return rect;
}

int PlatVideoCreate(PlatVideoDevice* device);
int PlatVideoSetCooperativeLevel(PlatVideoDevice device, PlatWindow window, uint32_t flags);
int PlatVideoSetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp,
                            int32_t refreshRate, uint32_t flags);
int PlatVideoCreateSurface(PlatVideoDevice device, const PlatSurfaceDesc* desc,
                           PlatSurface* surface);
int PlatVideoCreateClipper(PlatVideoDevice device, uint32_t flags, PlatClipper* clipper);
int PlatVideoCreatePalette(PlatVideoDevice device, uint32_t flags,
                           const PlatPaletteEntry* entries256, PlatPalette* palette);
// Brings back the memory of surfaces the platform took away (lost display).
int PlatVideoRestoreAllSurfaces(PlatVideoDevice device);

int PlatVideoGetAttachedSurface(PlatSurface surface, uint32_t caps, PlatSurface* attached);
int PlatVideoGetPixelFormat(PlatSurface surface, PlatPixelFormat* format);
// Null rect: the whole surface. Fills desc->surface, pitch, width and height.
int PlatVideoLock(PlatSurface surface, const PlatRect* rect, PlatSurfaceDesc* desc, uint32_t flags);
int PlatVideoUnlock(PlatSurface surface, const PlatRect* rect);
// Sets the rectangle (null: the whole surface) to `colour`, within the clip list
// of the surface's clipper, if it has one.
int PlatVideoColorFill(PlatSurface surface, const PlatRect* rect, uint32_t flags, uint32_t colour);
// Copies source onto destination (null rects: whole surfaces).
int PlatVideoBlt(PlatSurface dest, const PlatRect* destRect, PlatSurface source,
                 const PlatRect* sourceRect, uint32_t flags);
// Presents the back buffer attached to a primary surface.
int PlatVideoFlip(PlatSurface primary, PlatSurface override, uint32_t flags);
// Null clipper detaches.
int PlatVideoSetClipper(PlatSurface surface, PlatClipper clipper);
int PlatVideoSetColorKey(PlatSurface surface, uint32_t flags, uint32_t low, uint32_t high);
int PlatVideoSetPalette(PlatSurface surface, PlatPalette palette);

int PlatVideoSetClipList(PlatClipper clipper, const PlatRegionHeader* list, uint32_t flags);
int PlatVideoSetClipperWindow(PlatClipper clipper, uint32_t flags, PlatWindow window);

int PlatVideoReleaseDevice(PlatVideoDevice device);
int PlatVideoReleaseSurface(PlatSurface surface);
int PlatVideoReleaseClipper(PlatClipper clipper);
int PlatVideoReleasePalette(PlatPalette palette);

// The window's rectangle on the screen.
int PlatGetWindowRect(PlatWindow window, PlatRect* rect);
