// The fake display: surfaces, clippers and palettes are the shared memory
// ones (memory_surfaces.cpp); this file adds what tests look at: every call
// recorded and refusable, guard bands around every surface, the presented
// picture kept, and what each release gave back.
#include "platform/fake/fake_video.h"

#include "platform/common/memory_surfaces.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_png.h"

#include <algorithm>
#include <span>

namespace {

// Eight 800-pixel lines on each side of every surface.
constexpr size_t GUARD_PIXELS = 8 * 800;
constexpr uint16_t GUARD_PIXEL = 0xDEAD;

constexpr int32_t DEFAULT_WIDTH = 800;
constexpr int32_t DEFAULT_HEIGHT = 600;
FakeVideoMode s_mode{};
uint32_t s_bitCount = 16;
std::vector<PlatSurfaceDesc> s_descs;
// The presented picture, between guard bands like a surface's pixels: a flip
// swaps it with the back buffer's storage, as page flipping does.
std::vector<uint16_t> s_presentedStorage;
std::span<uint16_t> s_presented;
int32_t s_presentedWidth = 0;
int32_t s_presentedHeight = 0;
// The surface whose picture is s_presented, if any (a flipped primary).
PlatSurface s_showing = nullptr;
int s_presentCount = 0;
std::vector<std::string> s_releaseLog;
int s_badReleases = 0;

bool Refused(const char* name, int* result)
{
    *result = PLAT_VIDEO_REFUSED;
    return FakeCall(name, result);
}

// A flip presents the back buffer and makes the primary show the same picture.
// Copying it twice per frame (to the primary, then to the presented copy)
// would double what the fake costs a frame, so the primary takes its copy
// only when something looks at or changes its pixels.
void Touch(PlatSurface surface)
{
    if (s_showing == surface) {
        std::copy(s_presented.begin(), s_presented.end(), surface->pixels.begin());
        s_showing = nullptr;
    }
}

// s_presented is about to change: the surface showing it takes its copy.
void ReleaseShowing()
{
    if (s_showing != nullptr) {
        Touch(s_showing);
    }
}

int Present(PlatSurface primary)
{
    ReleaseShowing();
    s_presentedStorage = primary->storage;
    s_presented = MemoryPixelsOf(s_presentedStorage);
    std::copy(primary->pixels.begin(), primary->pixels.end(), s_presented.begin());
    s_presentedWidth = primary->width;
    s_presentedHeight = primary->height;
    ++s_presentCount;
    return 0;
}

// Like a real flip, the buffers trade places: the back buffer then holds an
// older picture, which the game never relies on, and nothing is copied.
int Flip(PlatSurface primary, PlatSurface back)
{
    if (primary->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    if (s_showing != primary) {
        ReleaseShowing();
    }
    Touch(back);
    if (s_presentedStorage.size() != back->storage.size()) {
        s_presentedStorage.assign(back->storage.size(), GUARD_PIXEL);
        std::span<uint16_t> fresh = MemoryPixelsOf(s_presentedStorage);
        std::fill(fresh.begin(), fresh.end(), uint16_t{0});
    }
    std::swap(back->storage, s_presentedStorage);
    back->pixels = MemoryPixelsOf(back->storage);
    s_presented = MemoryPixelsOf(s_presentedStorage);
    s_presentedWidth = primary->width;
    s_presentedHeight = primary->height;
    ++s_presentCount;
    s_showing = primary;
    return 0;
}

bool OpenPrimary(PlatVideoDevice, int32_t* width, int32_t* height)
{
    *width = s_mode.width;
    *height = s_mode.height;
    return true;
}

void Releasing(const char* call, const char* what)
{
    FakeNote(call);
    if (what == nullptr) {
        ++s_badReleases;
    } else {
        s_releaseLog.emplace_back(what);
    }
}

void Described(const PlatSurfaceDesc& desc)
{
    s_descs.push_back(desc);
}

void SurfaceGone(PlatSurface surface)
{
    if (s_showing == surface) {
        s_showing = nullptr;
    }
}

uint32_t BitCount()
{
    return s_bitCount;
}

} // namespace

const MemoryVideoHooks MEMORY_VIDEO_HOOKS = {
    .refused = Refused,
    .releasing = Releasing,
    .described = Described,
    .openPrimary = OpenPrimary,
    .present = Present,
    .flip = Flip,
    .touch = Touch,
    .surfaceGone = SurfaceGone,
    .bitCount = BitCount,
    .guardPixels = GUARD_PIXELS,
    .guardPixel = GUARD_PIXEL,
};

void FakeVideoReset()
{
    MemoryDiscardAll();
    s_mode = {};
    s_bitCount = 16;
    s_descs.clear();
    s_presentedStorage.clear();
    s_presented = {};
    s_showing = nullptr;
    s_presentedWidth = 0;
    s_presentedHeight = 0;
    s_presentCount = 0;
    s_releaseLog.clear();
    s_badReleases = 0;
}

void FakeVideoSetBitCount(uint32_t bits)
{
    s_bitCount = bits;
}
FakeVideoMode FakeVideoModeSet()
{
    return s_mode;
}
const std::vector<PlatSurfaceDesc>& FakeVideoSurfaceDescs()
{
    return s_descs;
}
int FakeVideoPresentCount()
{
    return s_presentCount;
}
std::span<const uint16_t> FakeVideoPresentedFrame()
{
    return s_presented;
}
int32_t FakeVideoPresentedWidth()
{
    return s_presentedWidth;
}
int32_t FakeVideoPresentedHeight()
{
    return s_presentedHeight;
}
std::span<uint16_t> FakeVideoPixels(PlatSurface surface)
{
    return MemorySurfacePixels(surface);
}
bool FakeVideoGuardsIntact()
{
    auto intact = [](const std::vector<uint16_t>& storage) {
        const auto band = static_cast<std::ptrdiff_t>(GUARD_PIXELS);
        auto isGuard = [](uint16_t pixel) { return pixel == GUARD_PIXEL; };
        return storage.empty() || (std::all_of(storage.begin(), storage.begin() + band, isGuard) &&
                                   std::all_of(storage.end() - band, storage.end(), isGuard));
    };
    // A flip moves the back buffer's bands into the presented picture.
    if (!intact(s_presentedStorage)) {
        return false;
    }
    for (PlatSurface surface : MemoryLiveSurfaces()) {
        if (!intact(surface->storage)) {
            return false;
        }
    }
    return true;
}

int32_t FakeVideoWidth(PlatSurface surface)
{
    return surface->width;
}
int32_t FakeVideoHeight(PlatSurface surface)
{
    return surface->height;
}
bool FakeVideoLocked(PlatSurface surface)
{
    return surface->locked;
}
PlatClipper FakeVideoClipperOf(PlatSurface surface)
{
    return surface->clipper;
}
PlatPalette FakeVideoPaletteOf(PlatSurface surface)
{
    return surface->palette;
}
FakeColorKey FakeVideoColorKeyOf(PlatSurface surface)
{
    return {surface->colorKey.flags, surface->colorKey.low, surface->colorKey.high};
}
FakeClipList FakeVideoClipListOf(PlatClipper clipper)
{
    return {clipper->hasList, clipper->header, clipper->rects};
}
PlatWindow FakeVideoClipperWindow(PlatClipper clipper)
{
    return clipper->window;
}
uint32_t FakeVideoPaletteCaps(PlatPalette palette)
{
    return palette->caps;
}
const std::vector<std::string>& FakeVideoReleaseLog()
{
    return s_releaseLog;
}
int FakeVideoBadReleases()
{
    return s_badReleases;
}

int FakeVideoLiveObjects()
{
    return MemoryLiveObjects();
}

bool FakeSavePresentedPng(const std::string& path)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(s_presented.size() * 3);
    const bool format555 = s_bitCount == 15;
    for (uint16_t pixel : s_presented) {
        uint32_t red = format555 ? (pixel >> 10) & 31u : (pixel >> 11) & 31u;
        uint32_t green = format555 ? ((pixel >> 5) & 31u) << 1 : (pixel >> 5) & 63u;
        uint32_t blue = pixel & 31u;
        rgb.push_back(static_cast<uint8_t>(red << 3 | red >> 2));
        rgb.push_back(static_cast<uint8_t>(green << 2 | green >> 4));
        rgb.push_back(static_cast<uint8_t>(blue << 3 | blue >> 2));
    }
    return FakeWritePngRgb(path, s_presentedWidth, s_presentedHeight, rgb);
}

int PlatVideoCreate(PlatVideoDevice* device)
{
    int result = 0;
    if (Refused("VideoCreate", &result)) {
        return result;
    }
    *device = MemoryNewDevice(DEFAULT_WIDTH, DEFAULT_HEIGHT);
    s_mode = {0, DEFAULT_WIDTH, DEFAULT_HEIGHT, 16};
    return 0;
}

int PlatVideoSetCooperativeLevel(PlatVideoDevice, PlatWindow, uint32_t flags)
{
    int result = 0;
    if (Refused("VideoSetCooperativeLevel", &result)) {
        return result;
    }
    s_mode.cooperativeFlags = flags;
    return 0;
}

int PlatVideoSetDisplayMode(PlatVideoDevice, int32_t width, int32_t height, int32_t bpp, int32_t,
                            uint32_t)
{
    int result = 0;
    if (Refused("VideoSetDisplayMode", &result)) {
        return result;
    }
    if (width <= 0 || height <= 0 || width > MEMORY_SURFACE_MAX_SIDE ||
        height > MEMORY_SURFACE_MAX_SIDE) {
        return PLAT_VIDEO_REFUSED;
    }
    s_mode.width = width;
    s_mode.height = height;
    s_mode.bpp = bpp;
    return 0;
}

int PlatGetWindowRect(PlatWindow, PlatRect* rect)
{
    int result = 0;
    if (Refused("GetWindowRect", &result)) {
        return result;
    }
    *rect = {0, 0, DEFAULT_WIDTH, DEFAULT_HEIGHT};
    return 0;
}
