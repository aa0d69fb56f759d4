#include "platform/fake/fake_video.h"

#include "platform/common/memory_pixels.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_png.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <span>

struct PlatVideoDeviceTag {
    int refs;
};

struct PlatClipperTag {
    int refs;
    FakeClipList list;
    bool windowBound;
    PlatWindow window;
};

struct PlatPaletteTag {
    int refs;
    uint32_t caps;
    PlatPaletteEntry entries[256];
};

struct PlatSurfaceTag {
    int refs;
    PlatVideoDevice device;
    const char* role;
    int32_t width;
    int32_t height;
    // The pixels lie between two guard bands in `storage`; a draw that
    // strays past either end of the surface shows up in them. Stale while
    // `showsPresented`: the surface then holds the last presented picture,
    // kept once in s_presented (see Pixels below).
    std::vector<uint16_t> storage;
    std::span<uint16_t> pixels;
    bool showsPresented;
    bool locked;
    PlatSurface attached;
    PlatClipper clipper;
    PlatPalette palette;
    FakeColorKey colorKey;
};

namespace {

// Eight 800-pixel lines on each side of every surface.
constexpr size_t GUARD_PIXELS = 8 * 800;
constexpr uint16_t GUARD_PIXEL = 0xDEAD;

constexpr int32_t DEFAULT_WIDTH = 800;
constexpr int32_t DEFAULT_HEIGHT = 600;
constexpr int32_t MAX_SIDE = 8192;

std::set<PlatVideoDevice> s_devices;
std::set<PlatSurface> s_surfaces;
std::set<PlatClipper> s_clippers;
std::set<PlatPalette> s_palettes;
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

void DropDevice(PlatVideoDevice device)
{
    if (--device->refs == 0) {
        s_devices.erase(device);
        delete device;
    }
}

void DropClipper(PlatClipper clipper)
{
    if (clipper != nullptr && --clipper->refs == 0) {
        s_clippers.erase(clipper);
        delete clipper;
    }
}

void DropPalette(PlatPalette palette)
{
    if (palette != nullptr && --palette->refs == 0) {
        s_palettes.erase(palette);
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
    if (s_showing == surface) {
        s_showing = nullptr;
    }
    s_surfaces.erase(surface);
    delete surface;
}

PlatSurface NewSurface(PlatVideoDevice device, const char* role, int32_t width, int32_t height)
{
    ++device->refs;
    auto* surface = new PlatSurfaceTag{1,     device,  role,    width,   height, {}, {},
                                       false, false,   nullptr, nullptr, nullptr, {}};
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    surface->storage.assign(GUARD_PIXELS + count + GUARD_PIXELS, GUARD_PIXEL);
    surface->pixels = std::span<uint16_t>(surface->storage.data() + GUARD_PIXELS, count);
    std::fill(surface->pixels.begin(), surface->pixels.end(), uint16_t{0});
    s_surfaces.insert(surface);
    return surface;
}

// A flip presents the back buffer and makes the primary show the same picture.
// Copying it twice per frame (to the primary, then to the presented copy)
// would double what the fake costs a frame, so the primary takes its copy
// only when something looks at or changes its pixels.
std::span<uint16_t> Pixels(PlatSurface surface)
{
    if (surface->showsPresented) {
        std::copy(s_presented.begin(), s_presented.end(), surface->pixels.begin());
        surface->showsPresented = false;
        s_showing = nullptr;
    }
    return surface->pixels;
}

// s_presented is about to change: the surface showing it takes its copy.
void ReleaseShowing()
{
    if (s_showing != nullptr) {
        Pixels(s_showing);
    }
}

std::span<uint16_t> PixelsOf(std::vector<uint16_t>& storage)
{
    return {storage.data() + GUARD_PIXELS, storage.size() - 2 * GUARD_PIXELS};
}

void Present(PlatSurface primary)
{
    ReleaseShowing();
    s_presentedStorage = primary->storage;
    s_presented = PixelsOf(s_presentedStorage);
    std::copy(primary->pixels.begin(), primary->pixels.end(), s_presented.begin());
    s_presentedWidth = primary->width;
    s_presentedHeight = primary->height;
    ++s_presentCount;
}

} // namespace

void FakeVideoReset()
{
    for (PlatSurface surface : s_surfaces) {
        delete surface;
    }
    for (PlatClipper clipper : s_clippers) {
        delete clipper;
    }
    for (PlatPalette palette : s_palettes) {
        delete palette;
    }
    for (PlatVideoDevice device : s_devices) {
        delete device;
    }
    s_surfaces.clear();
    s_clippers.clear();
    s_palettes.clear();
    s_devices.clear();
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

void FakeVideoSetBitCount(uint32_t bits) { s_bitCount = bits; }
FakeVideoMode FakeVideoModeSet() { return s_mode; }
const std::vector<PlatSurfaceDesc>& FakeVideoSurfaceDescs() { return s_descs; }
int FakeVideoPresentCount() { return s_presentCount; }
std::span<const uint16_t> FakeVideoPresentedFrame() { return s_presented; }
int32_t FakeVideoPresentedWidth() { return s_presentedWidth; }
int32_t FakeVideoPresentedHeight() { return s_presentedHeight; }
std::span<uint16_t> FakeVideoPixels(PlatSurface surface) { return Pixels(surface); }
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
    for (PlatSurface surface : s_surfaces) {
        if (!intact(surface->storage)) {
            return false;
        }
    }
    return true;
}

int32_t FakeVideoWidth(PlatSurface surface) { return surface->width; }
int32_t FakeVideoHeight(PlatSurface surface) { return surface->height; }
bool FakeVideoLocked(PlatSurface surface) { return surface->locked; }
PlatClipper FakeVideoClipperOf(PlatSurface surface) { return surface->clipper; }
PlatPalette FakeVideoPaletteOf(PlatSurface surface) { return surface->palette; }
FakeColorKey FakeVideoColorKeyOf(PlatSurface surface) { return surface->colorKey; }
FakeClipList FakeVideoClipListOf(PlatClipper clipper) { return clipper->list; }
PlatWindow FakeVideoClipperWindow(PlatClipper clipper) { return clipper->window; }
uint32_t FakeVideoPaletteCaps(PlatPalette palette) { return palette->caps; }
const std::vector<std::string>& FakeVideoReleaseLog() { return s_releaseLog; }
int FakeVideoBadReleases() { return s_badReleases; }

int FakeVideoLiveObjects()
{
    return static_cast<int>(s_devices.size() + s_surfaces.size() + s_clippers.size() +
                            s_palettes.size());
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
    *device = new PlatVideoDeviceTag{1};
    s_devices.insert(*device);
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

int PlatVideoSetDisplayMode(PlatVideoDevice, int32_t width, int32_t height, int32_t bpp,
                            int32_t, uint32_t)
{
    int result = 0;
    if (Refused("VideoSetDisplayMode", &result)) {
        return result;
    }
    if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE) {
        return PLAT_VIDEO_REFUSED;
    }
    s_mode.width = width;
    s_mode.height = height;
    s_mode.bpp = bpp;
    return 0;
}

int PlatVideoCreateSurface(PlatVideoDevice device, const PlatSurfaceDesc* desc,
                           PlatSurface* surface)
{
    int result = 0;
    if (Refused("VideoCreateSurface", &result)) {
        return result;
    }
    s_descs.push_back(*desc);
    if ((desc->caps & PLAT_SCAPS_PRIMARYSURFACE) != 0) {
        *surface = NewSurface(device, "primary", s_mode.width, s_mode.height);
        if ((desc->flags & PLAT_SDESC_BACKBUFFERCOUNT) != 0 && desc->backBufferCount > 0) {
            (*surface)->attached = NewSurface(device, "back", s_mode.width, s_mode.height);
        }
        return 0;
    }
    const uint32_t sized = PLAT_SDESC_WIDTH | PLAT_SDESC_HEIGHT;
    if ((desc->flags & sized) != sized || desc->width == 0 || desc->height == 0 ||
        desc->width > MAX_SIDE || desc->height > MAX_SIDE) {
        return PLAT_VIDEO_REFUSED;
    }
    *surface = NewSurface(device, "offscreen", static_cast<int32_t>(desc->width),
                          static_cast<int32_t>(desc->height));
    return 0;
}

int PlatVideoCreateClipper(PlatVideoDevice, uint32_t, PlatClipper* clipper)
{
    int result = 0;
    if (Refused("VideoCreateClipper", &result)) {
        return result;
    }
    *clipper = new PlatClipperTag{1, {}, false, nullptr};
    s_clippers.insert(*clipper);
    return 0;
}

int PlatVideoCreatePalette(PlatVideoDevice, uint32_t flags, const PlatPaletteEntry* entries256,
                           PlatPalette* palette)
{
    int result = 0;
    if (Refused("VideoCreatePalette", &result)) {
        return result;
    }
    *palette = new PlatPaletteTag{1, flags, {}};
    std::memcpy((*palette)->entries, entries256, sizeof(PlatPaletteEntry) * 256);
    s_palettes.insert(*palette);
    return 0;
}

int PlatVideoRestoreAllSurfaces(PlatVideoDevice)
{
    int result = 0;
    return Refused("VideoRestoreAllSurfaces", &result) ? result : 0;
}

int PlatVideoGetAttachedSurface(PlatSurface surface, uint32_t caps, PlatSurface* attached)
{
    int result = 0;
    if (Refused("VideoGetAttachedSurface", &result)) {
        return result;
    }
    if ((caps & PLAT_SCAPS_BACKBUFFER) == 0 || surface->attached == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    ++surface->attached->refs;
    *attached = surface->attached;
    return 0;
}

int PlatVideoGetPixelFormat(PlatSurface, PlatPixelFormat* format)
{
    int result = 0;
    if (Refused("VideoGetPixelFormat", &result)) {
        return result;
    }
    format->rgbBitCount = s_bitCount;
    format->redMask = s_bitCount == 15 ? 0x7C00u : 0xF800u;
    format->greenMask = s_bitCount == 15 ? 0x03E0u : 0x07E0u;
    format->blueMask = 0x001Fu;
    return 0;
}

int PlatVideoLock(PlatSurface surface, const PlatRect*, PlatSurfaceDesc* desc, uint32_t)
{
    int result = 0;
    if (Refused("VideoLock", &result)) {
        return result;
    }
    if (surface == nullptr || surface->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    surface->locked = true;
    desc->surface = Pixels(surface).data();
    desc->pitch = surface->width * 2;
    desc->width = static_cast<uint32_t>(surface->width);
    desc->height = static_cast<uint32_t>(surface->height);
    return 0;
}

int PlatVideoUnlock(PlatSurface surface, const PlatRect*)
{
    int result = 0;
    if (Refused("VideoUnlock", &result)) {
        return result;
    }
    if (surface == nullptr || !surface->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    surface->locked = false;
    return 0;
}

int PlatVideoColorFill(PlatSurface surface, const PlatRect* rect, uint32_t, uint32_t colour)
{
    int result = 0;
    if (Refused("VideoColorFill", &result)) {
        return result;
    }
    PlatRect area = rect != nullptr ? *rect : PlatRect{0, 0, surface->width, surface->height};
    const auto value = static_cast<uint16_t>(colour);
    PlatClipper clipper = surface->clipper;
    const std::vector<PlatRect>* clips =
        clipper == nullptr || !clipper->list.set ? nullptr : &clipper->list.rects;
    FillPixelArea(Pixels(surface).data(), surface->width, surface->height, area, clips, value);
    return 0;
}

int PlatVideoBlt(PlatSurface dest, const PlatRect* destRect, PlatSurface source,
                 const PlatRect* sourceRect, uint32_t)
{
    int result = 0;
    if (Refused("VideoBlt", &result)) {
        return result;
    }
    PlatRect from = sourceRect != nullptr ? *sourceRect
                                          : PlatRect{0, 0, source->width, source->height};
    PlatRect to = destRect != nullptr ? *destRect : PlatRect{0, 0, dest->width, dest->height};
    // Copies only: no stretching, the smaller size wins.
    const int32_t width = std::min(from.right - from.left, to.right - to.left);
    const int32_t height = std::min(from.bottom - from.top, to.bottom - to.top);
    const std::span<uint16_t> sourcePixels = Pixels(source);
    const std::span<uint16_t> destPixels = Pixels(dest);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sx = from.left + x, sy = from.top + y;
            const int32_t dx = to.left + x, dy = to.top + y;
            if (sx >= 0 && sy >= 0 && sx < source->width && sy < source->height && dx >= 0 &&
                dy >= 0 && dx < dest->width && dy < dest->height) {
                destPixels[static_cast<size_t>(dy * dest->width + dx)] =
                    sourcePixels[static_cast<size_t>(sy * source->width + sx)];
            }
        }
    }
    if (std::strcmp(dest->role, "primary") == 0) {
        Present(dest);
    }
    return 0;
}

int PlatVideoFlip(PlatSurface primary, PlatSurface, uint32_t)
{
    int result = 0;
    if (Refused("VideoFlip", &result)) {
        return result;
    }
    PlatSurface back = primary->attached;
    if (back == nullptr || back->locked || primary->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    if (s_showing != primary) {
        ReleaseShowing();
    }
    // Like a real flip, the buffers trade places: the back buffer then holds
    // an older picture, which the game never relies on, and nothing is copied.
    Pixels(back);
    if (s_presentedStorage.size() != back->storage.size()) {
        s_presentedStorage.assign(back->storage.size(), GUARD_PIXEL);
        std::span<uint16_t> fresh = PixelsOf(s_presentedStorage);
        std::fill(fresh.begin(), fresh.end(), uint16_t{0});
    }
    std::swap(back->storage, s_presentedStorage);
    back->pixels = PixelsOf(back->storage);
    s_presented = PixelsOf(s_presentedStorage);
    s_presentedWidth = primary->width;
    s_presentedHeight = primary->height;
    ++s_presentCount;
    primary->showsPresented = true;
    s_showing = primary;
    return 0;
}

int PlatVideoSetClipper(PlatSurface surface, PlatClipper clipper)
{
    int result = 0;
    if (Refused("VideoSetClipper", &result)) {
        return result;
    }
    if (clipper != nullptr) {
        ++clipper->refs;
    }
    DropClipper(surface->clipper);
    surface->clipper = clipper;
    return 0;
}

int PlatVideoSetColorKey(PlatSurface surface, uint32_t flags, uint32_t low, uint32_t high)
{
    int result = 0;
    if (Refused("VideoSetColorKey", &result)) {
        return result;
    }
    surface->colorKey = {flags, low, high};
    return 0;
}

int PlatVideoSetPalette(PlatSurface surface, PlatPalette palette)
{
    int result = 0;
    if (Refused("VideoSetPalette", &result)) {
        return result;
    }
    if (palette != nullptr) {
        ++palette->refs;
    }
    DropPalette(surface->palette);
    surface->palette = palette;
    return 0;
}

int PlatVideoSetClipList(PlatClipper clipper, const PlatRegionHeader* list, uint32_t)
{
    int result = 0;
    if (Refused("VideoSetClipList", &result)) {
        return result;
    }
    clipper->list.set = true;
    clipper->list.header = *list;
    clipper->list.rects.clear();
    for (uint32_t i = 0; i < list->count; ++i) {
        clipper->list.rects.push_back(PlatRegionRect(list, i));
    }
    return 0;
}

int PlatVideoSetClipperWindow(PlatClipper clipper, uint32_t, PlatWindow window)
{
    int result = 0;
    if (Refused("VideoSetClipperWindow", &result)) {
        return result;
    }
    clipper->windowBound = true;
    clipper->window = window;
    return 0;
}

int PlatVideoReleaseDevice(PlatVideoDevice device)
{
    FakeNote("VideoReleaseDevice");
    if (s_devices.count(device) == 0) {
        ++s_badReleases;
        return PLAT_VIDEO_REFUSED;
    }
    s_releaseLog.emplace_back("device");
    DropDevice(device);
    return 0;
}

int PlatVideoReleaseSurface(PlatSurface surface)
{
    FakeNote("VideoReleaseSurface");
    if (s_surfaces.count(surface) == 0) {
        ++s_badReleases;
        return PLAT_VIDEO_REFUSED;
    }
    s_releaseLog.push_back(std::string("surface:") + surface->role);
    DropSurface(surface);
    return 0;
}

int PlatVideoReleaseClipper(PlatClipper clipper)
{
    FakeNote("VideoReleaseClipper");
    if (s_clippers.count(clipper) == 0) {
        ++s_badReleases;
        return PLAT_VIDEO_REFUSED;
    }
    s_releaseLog.emplace_back(clipper->windowBound ? "clipper:window"
                              : clipper->list.set        ? "clipper:list"
                                                         : "clipper");
    DropClipper(clipper);
    return 0;
}

int PlatVideoReleasePalette(PlatPalette palette)
{
    FakeNote("VideoReleasePalette");
    if (s_palettes.count(palette) == 0) {
        ++s_badReleases;
        return PLAT_VIDEO_REFUSED;
    }
    s_releaseLog.emplace_back("palette");
    DropPalette(palette);
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
