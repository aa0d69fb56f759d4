// Test controls of the fake display: surfaces live in memory, every call is
// recorded (FakeCallLog) under its name without the "Plat" prefix
// ("VideoCreate", "VideoLock", "VideoFlip", "GetWindowRect", ...) and any of
// them can be refused with FakeFailCall, for instance
// FakeFailCall("VideoFlip", -1, 0, -1) for a display taken away for good.
#pragma once

#include "platform/video.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The RGB bit count the primary surface reports (16 at start; 15 for 5.5.5).
void FakeVideoSetBitCount(uint32_t bits);

// What SetCooperativeLevel and SetDisplayMode were last given.
struct FakeVideoMode {
    uint32_t cooperativeFlags;
    int32_t width;
    int32_t height;
    int32_t bpp;
};
FakeVideoMode FakeVideoModeSet();
// Every description given to surface creation, in order.
const std::vector<PlatSurfaceDesc>& FakeVideoSurfaceDescs();

// Presenting keeps the picture shown: a copy onto the primary surface copies
// it, a flip trades it with the back buffer, which then holds an older picture.
int FakeVideoPresentCount();
std::span<const uint16_t> FakeVideoPresentedFrame();
int32_t FakeVideoPresentedWidth();
int32_t FakeVideoPresentedHeight();
// The last presented picture as a PNG, read in the reported pixel format.
bool FakeSavePresentedPng(const std::string& path);

// A surface's memory (width × height pixels, rows back to back).
std::span<uint16_t> FakeVideoPixels(PlatSurface surface);
// Every live surface lies between two bands of a known pattern; false when a
// write outside a surface's pixels (a locked back buffer overrun, say) has
// changed one of them.
bool FakeVideoGuardsIntact();
int32_t FakeVideoWidth(PlatSurface surface);
int32_t FakeVideoHeight(PlatSurface surface);
bool FakeVideoLocked(PlatSurface surface);
PlatClipper FakeVideoClipperOf(PlatSurface surface);
PlatPalette FakeVideoPaletteOf(PlatSurface surface);

struct FakeColorKey {
    uint32_t flags;
    uint32_t low;
    uint32_t high;
};
FakeColorKey FakeVideoColorKeyOf(PlatSurface surface);

// The clip list last set on a clipper (header as given, then the rectangles).
struct FakeClipList {
    bool set;
    PlatRegionHeader header;
    std::vector<PlatRect> rects;
};
FakeClipList FakeVideoClipListOf(PlatClipper clipper);
PlatWindow FakeVideoClipperWindow(PlatClipper clipper);
uint32_t FakeVideoPaletteCaps(PlatPalette palette);

// Objects not yet given back, and what each release gave back, in order:
// "device", "surface:primary", "surface:back", "surface:offscreen",
// "clipper:list", "clipper:window", "clipper", "palette".
int FakeVideoLiveObjects();
const std::vector<std::string>& FakeVideoReleaseLog();
// Releases of objects that no longer exist.
int FakeVideoBadReleases();
