#include "platform/common/memory_surfaces.h"

#include "platform/common/memory_pixels.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::set<PlatVideoDevice> s_devices;
std::set<PlatSurface> s_surfaces;
std::set<PlatClipper> s_clippers;
std::set<PlatPalette> s_palettes;

const MemoryVideoHooks& Hooks()
{
    return MEMORY_VIDEO_HOOKS;
}

bool Refused(const char* call, int* result)
{
    *result = PLAT_VIDEO_REFUSED;
    return Hooks().refused != nullptr && Hooks().refused(call, result);
}

void DropDevice(PlatVideoDevice device)
{
    if (--device->refs > 0) {
        return;
    }
    if (Hooks().deviceGone != nullptr) {
        Hooks().deviceGone(device);
    }
    s_devices.erase(device);
    delete device;
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

// Makes a surface hold `object` in `slot` (null: none), taking a reference to
// it before letting go of the one held, so that attaching the same object
// again never frees it.
template <typename Object>
void HoldIn(Object** slot, Object* object, void (*drop)(Object*))
{
    if (object != nullptr) {
        ++object->refs;
    }
    drop(*slot);
    *slot = object;
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
    if (Hooks().surfaceGone != nullptr) {
        Hooks().surfaceGone(surface);
    }
    s_surfaces.erase(surface);
    delete surface;
}

// Tells the backend of a release, then lets go of the game's reference with
// `drop`; a handle that is already gone is refused and left alone.
template <typename Handle>
int Release(const char* call, const std::set<Handle>& live, Handle handle, const char* what,
            void (*drop)(Handle))
{
    const bool known = live.count(handle) != 0;
    if (Hooks().releasing != nullptr) {
        Hooks().releasing(call, known ? what : nullptr);
    }
    if (!known) {
        return PLAT_VIDEO_REFUSED;
    }
    drop(handle);
    return 0;
}

PlatSurface NewSurface(PlatVideoDevice device, const char* role, int32_t width, int32_t height)
{
    ++device->refs;
    auto* surface = new PlatSurfaceTag{1,     device,  role,    std::strcmp(role, "primary") == 0,
                                       width, height,  {},      {},
                                       false, nullptr, nullptr, nullptr,
                                       {}};
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t guard = Hooks().guardPixels;
    surface->storage.assign(guard + count + guard, Hooks().guardPixel);
    surface->pixels = MemoryPixelsOf(surface->storage);
    std::fill(surface->pixels.begin(), surface->pixels.end(), uint16_t{0});
    s_surfaces.insert(surface);
    return surface;
}

} // namespace

PlatVideoDevice MemoryNewDevice(int32_t width, int32_t height)
{
    auto* device = new PlatVideoDeviceTag{1, width, height, false};
    s_devices.insert(device);
    return device;
}

int MemorySetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp)
{
    if (bpp != 16 || width <= 0 || height <= 0 || width > MEMORY_SURFACE_MAX_SIDE ||
        height > MEMORY_SURFACE_MAX_SIDE || device->presenting) {
        return PLAT_VIDEO_REFUSED;
    }
    device->width = width;
    device->height = height;
    return 0;
}

std::span<uint16_t> MemorySurfacePixels(PlatSurface surface)
{
    if (Hooks().touch != nullptr) {
        Hooks().touch(surface);
    }
    return surface->pixels;
}

std::span<uint16_t> MemoryPixelsOf(std::vector<uint16_t>& storage)
{
    const size_t guard = Hooks().guardPixels;
    return {storage.data() + guard, storage.size() - 2 * guard};
}

const std::set<PlatSurface>& MemoryLiveSurfaces()
{
    return s_surfaces;
}

int MemoryLiveObjects()
{
    return static_cast<int>(s_devices.size() + s_surfaces.size() + s_clippers.size() +
                            s_palettes.size());
}

void MemoryDiscardAll()
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
}

int PlatVideoCreateSurface(PlatVideoDevice device, const PlatSurfaceDesc* desc,
                           PlatSurface* surface)
{
    if (int result = 0; Refused("VideoCreateSurface", &result)) {
        return result;
    }
    if (Hooks().described != nullptr) {
        Hooks().described(*desc);
    }
    if ((desc->caps & PLAT_SCAPS_PRIMARYSURFACE) != 0) {
        int32_t width = 0;
        int32_t height = 0;
        if (!Hooks().openPrimary(device, &width, &height)) {
            return PLAT_VIDEO_REFUSED;
        }
        *surface = NewSurface(device, "primary", width, height);
        if ((desc->flags & PLAT_SDESC_BACKBUFFERCOUNT) != 0 && desc->backBufferCount > 0) {
            (*surface)->attached = NewSurface(device, "back", width, height);
        }
        return 0;
    }
    const uint32_t sized = PLAT_SDESC_WIDTH | PLAT_SDESC_HEIGHT;
    const auto maxSide = static_cast<uint32_t>(MEMORY_SURFACE_MAX_SIDE);
    if ((desc->flags & sized) != sized || desc->width == 0 || desc->height == 0 ||
        desc->width > maxSide || desc->height > maxSide) {
        return PLAT_VIDEO_REFUSED;
    }
    *surface = NewSurface(device, "offscreen", static_cast<int32_t>(desc->width),
                          static_cast<int32_t>(desc->height));
    return 0;
}

int PlatVideoCreateClipper(PlatVideoDevice, uint32_t, PlatClipper* clipper)
{
    if (int result = 0; Refused("VideoCreateClipper", &result)) {
        return result;
    }
    *clipper = new PlatClipperTag{1, false, {}, {}, false, nullptr};
    s_clippers.insert(*clipper);
    return 0;
}

int PlatVideoCreatePalette(PlatVideoDevice, uint32_t flags, const PlatPaletteEntry* entries256,
                           PlatPalette* palette)
{
    if (int result = 0; Refused("VideoCreatePalette", &result)) {
        return result;
    }
    *palette = new PlatPaletteTag{1, flags, {}};
    if (entries256 != nullptr) {
        std::memcpy((*palette)->entries, entries256, sizeof(PlatPaletteEntry) * 256);
    }
    s_palettes.insert(*palette);
    return 0;
}

// Memory is never taken away, so there is nothing to bring back.
int PlatVideoRestoreAllSurfaces(PlatVideoDevice)
{
    int result = 0;
    return Refused("VideoRestoreAllSurfaces", &result) ? result : 0;
}

int PlatVideoGetAttachedSurface(PlatSurface surface, uint32_t caps, PlatSurface* attached)
{
    if (int result = 0; Refused("VideoGetAttachedSurface", &result)) {
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
    if (int result = 0; Refused("VideoGetPixelFormat", &result)) {
        return result;
    }
    const uint32_t bits = Hooks().bitCount != nullptr ? Hooks().bitCount() : 16;
    format->rgbBitCount = bits;
    format->redMask = bits == 15 ? 0x7C00u : 0xF800u;
    format->greenMask = bits == 15 ? 0x03E0u : 0x07E0u;
    format->blueMask = 0x001Fu;
    return 0;
}

int PlatVideoLock(PlatSurface surface, const PlatRect*, PlatSurfaceDesc* desc, uint32_t)
{
    if (int result = 0; Refused("VideoLock", &result)) {
        return result;
    }
    if (surface == nullptr || surface->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    surface->locked = true;
    desc->surface = MemorySurfacePixels(surface).data();
    desc->pitch = surface->width * 2;
    desc->width = static_cast<uint32_t>(surface->width);
    desc->height = static_cast<uint32_t>(surface->height);
    return 0;
}

int PlatVideoUnlock(PlatSurface surface, const PlatRect*)
{
    if (int result = 0; Refused("VideoUnlock", &result)) {
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
    if (int result = 0; Refused("VideoColorFill", &result)) {
        return result;
    }
    PlatRect area = rect != nullptr ? *rect : PlatRect{0, 0, surface->width, surface->height};
    const auto value = static_cast<uint16_t>(colour);
    PlatClipper clipper = surface->clipper;
    const std::vector<PlatRect>* clips = clipper == nullptr || !clipper->hasList ? nullptr
                                                                                 : &clipper->rects;
    FillPixelArea(MemorySurfacePixels(surface).data(), surface->width, surface->height, area, clips,
                  value);
    return 0;
}

// A plain copy (no stretching, the smaller size wins); onto the primary
// surface it is shown at once.
int PlatVideoBlt(PlatSurface dest, const PlatRect* destRect, PlatSurface source,
                 const PlatRect* sourceRect, uint32_t)
{
    if (int result = 0; Refused("VideoBlt", &result)) {
        return result;
    }
    PlatRect from = sourceRect != nullptr ? *sourceRect
                                          : PlatRect{0, 0, source->width, source->height};
    PlatRect to = destRect != nullptr ? *destRect : PlatRect{0, 0, dest->width, dest->height};
    const int32_t width = std::min(from.right - from.left, to.right - to.left);
    const int32_t height = std::min(from.bottom - from.top, to.bottom - to.top);
    const std::span<uint16_t> sourcePixels = MemorySurfacePixels(source);
    const std::span<uint16_t> destPixels = MemorySurfacePixels(dest);
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
    return dest->primary ? Hooks().present(dest) : 0;
}

int PlatVideoFlip(PlatSurface primary, PlatSurface, uint32_t)
{
    if (int result = 0; Refused("VideoFlip", &result)) {
        return result;
    }
    PlatSurface back = primary->attached;
    if (back == nullptr || back->locked) {
        return PLAT_VIDEO_REFUSED;
    }
    return Hooks().flip != nullptr ? Hooks().flip(primary, back) : Hooks().present(back);
}

int PlatVideoSetClipper(PlatSurface surface, PlatClipper clipper)
{
    if (int result = 0; Refused("VideoSetClipper", &result)) {
        return result;
    }
    HoldIn(&surface->clipper, clipper, DropClipper);
    return 0;
}

// Kept for the calls that take one; copies here are plain.
int PlatVideoSetColorKey(PlatSurface surface, uint32_t flags, uint32_t low, uint32_t high)
{
    if (int result = 0; Refused("VideoSetColorKey", &result)) {
        return result;
    }
    surface->colorKey = {flags, low, high};
    return 0;
}

int PlatVideoSetPalette(PlatSurface surface, PlatPalette palette)
{
    if (int result = 0; Refused("VideoSetPalette", &result)) {
        return result;
    }
    HoldIn(&surface->palette, palette, DropPalette);
    return 0;
}

int PlatVideoSetClipList(PlatClipper clipper, const PlatRegionHeader* list, uint32_t)
{
    if (int result = 0; Refused("VideoSetClipList", &result)) {
        return result;
    }
    clipper->hasList = true;
    clipper->header = *list;
    clipper->rects.clear();
    for (uint32_t i = 0; i < list->count; ++i) {
        clipper->rects.push_back(PlatRegionRect(list, i));
    }
    return 0;
}

// The window is the whole picture, so binding a clipper to it clips nothing.
int PlatVideoSetClipperWindow(PlatClipper clipper, uint32_t, PlatWindow window)
{
    if (int result = 0; Refused("VideoSetClipperWindow", &result)) {
        return result;
    }
    clipper->windowBound = true;
    clipper->window = window;
    return 0;
}

int PlatVideoReleaseDevice(PlatVideoDevice device)
{
    return Release("VideoReleaseDevice", s_devices, device, "device", DropDevice);
}

int PlatVideoReleaseSurface(PlatSurface surface)
{
    const bool known = s_surfaces.count(surface) != 0;
    const std::string what = known ? std::string("surface:") + surface->role : std::string();
    return Release("VideoReleaseSurface", s_surfaces, surface, what.c_str(), DropSurface);
}

int PlatVideoReleaseClipper(PlatClipper clipper)
{
    const bool known = s_clippers.count(clipper) != 0;
    const char* what = !known                 ? ""
                       : clipper->windowBound ? "clipper:window"
                       : clipper->hasList     ? "clipper:list"
                                              : "clipper";
    return Release("VideoReleaseClipper", s_clippers, clipper, what, DropClipper);
}

int PlatVideoReleasePalette(PlatPalette palette)
{
    return Release("VideoReleasePalette", s_palettes, palette, "palette", DropPalette);
}
