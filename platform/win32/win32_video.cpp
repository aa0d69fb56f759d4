// The video seam on the native display interfaces. Flags, capabilities and
// cooperative levels already carry the native values and pass straight on;
// only the records are copied between our layout and the native one, whose
// size fields grow with the pointer width.
#include "platform/video.h"
#include "platform/win32/win32_internal.h"

#include <ddraw.h>

#include <vector>

// What each handle of this family stands for (see Win32Native).
IDirectDraw7* Win32NativeOf(PlatVideoDevice);
IDirectDrawSurface7* Win32NativeOf(PlatSurface);
IDirectDrawClipper* Win32NativeOf(PlatClipper);
IDirectDrawPalette* Win32NativeOf(PlatPalette);

namespace {

// What the game's frame clock waits for after each flip.
constexpr uint32_t FRAME_MS = 10;

RECT NativeRect(const PlatRect& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

int PlatVideoCreate(PlatVideoDevice* device)
{
    void* created = nullptr;
    HRESULT result = DirectDrawCreateEx(nullptr, &created, IID_IDirectDraw7, nullptr);
    *device = FAILED(result) ? nullptr : static_cast<PlatVideoDevice>(created);
    return Win32Result(result);
}

int PlatVideoSetCooperativeLevel(PlatVideoDevice device, PlatWindow window, uint32_t flags)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(device)->SetCooperativeLevel(Win32Window(window), flags));
}

int PlatVideoSetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp,
                            int32_t refreshRate, uint32_t flags)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(device)->SetDisplayMode(
        static_cast<DWORD>(width), static_cast<DWORD>(height), static_cast<DWORD>(bpp),
        static_cast<DWORD>(refreshRate), flags));
}

int PlatVideoCreateSurface(PlatVideoDevice device, const PlatSurfaceDesc* desc,
                           PlatSurface* surface)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDSURFACEDESC2 native{};
    native.dwSize = sizeof native;
    native.dwFlags = desc->flags;
    native.dwHeight = desc->height;
    native.dwWidth = desc->width;
    native.dwBackBufferCount = desc->backBufferCount;
    native.ddsCaps.dwCaps = desc->caps;
    IDirectDrawSurface7* created = nullptr;
    HRESULT result = Win32Native(device)->CreateSurface(&native, &created, nullptr);
    *surface = FAILED(result) ? nullptr : reinterpret_cast<PlatSurface>(created);
    return Win32Result(result);
}

int PlatVideoCreateClipper(PlatVideoDevice device, uint32_t flags, PlatClipper* clipper)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    IDirectDrawClipper* created = nullptr;
    HRESULT result = Win32Native(device)->CreateClipper(flags, &created, nullptr);
    *clipper = FAILED(result) ? nullptr : reinterpret_cast<PlatClipper>(created);
    return Win32Result(result);
}

int PlatVideoCreatePalette(PlatVideoDevice device, uint32_t flags,
                           const PlatPaletteEntry* entries256, PlatPalette* palette)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i] = {entries256[i].red, entries256[i].green, entries256[i].blue,
                      entries256[i].flags};
    }
    IDirectDrawPalette* created = nullptr;
    HRESULT result = Win32Native(device)->CreatePalette(flags, entries, &created, nullptr);
    *palette = FAILED(result) ? nullptr : reinterpret_cast<PlatPalette>(created);
    return Win32Result(result);
}

int PlatVideoRestoreAllSurfaces(PlatVideoDevice device)
{
    if (device == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(device)->RestoreAllSurfaces());
}

int PlatVideoGetAttachedSurface(PlatSurface surface, uint32_t caps, PlatSurface* attached)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDSCAPS2 nativeCaps{};
    nativeCaps.dwCaps = caps;
    IDirectDrawSurface7* found = nullptr;
    HRESULT result = Win32Native(surface)->GetAttachedSurface(&nativeCaps, &found);
    *attached = FAILED(result) ? nullptr : reinterpret_cast<PlatSurface>(found);
    return Win32Result(result);
}

int PlatVideoGetPixelFormat(PlatSurface surface, PlatPixelFormat* format)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDPIXELFORMAT native{};
    native.dwSize = sizeof native;
    HRESULT result = Win32Native(surface)->GetPixelFormat(&native);
    if (FAILED(result)) {
        return Win32Result(result);
    }
    format->flags = native.dwFlags;
    format->rgbBitCount = native.dwRGBBitCount;
    format->redMask = native.dwRBitMask;
    format->greenMask = native.dwGBitMask;
    format->blueMask = native.dwBBitMask;
    // A 5.5.5 display calls itself 16 bits deep like a 5.6.5 one; the game tells
    // the two apart by the count alone, so the count says 15 when green has five bits.
    if (native.dwRGBBitCount == 16 && native.dwGBitMask == 0x03E0) {
        format->rgbBitCount = 15;
    }
    return Win32Result(result);
}

int PlatVideoLock(PlatSurface surface, const PlatRect* rect, PlatSurfaceDesc* desc, uint32_t flags)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDSURFACEDESC2 native{};
    native.dwSize = sizeof native;
    RECT area{};
    if (rect != nullptr) {
        area = NativeRect(*rect);
    }
    HRESULT result = Win32Native(surface)->Lock(rect != nullptr ? &area : nullptr, &native, flags,
                                                nullptr);
    if (FAILED(result)) {
        return Win32Result(result);
    }
    desc->flags = native.dwFlags;
    desc->width = native.dwWidth;
    desc->height = native.dwHeight;
    desc->pitch = native.lPitch;
    desc->surface = native.lpSurface;
    desc->caps = native.ddsCaps.dwCaps;
    return Win32Result(result);
}

int PlatVideoUnlock(PlatSurface surface, const PlatRect* rect)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    RECT area{};
    if (rect != nullptr) {
        area = NativeRect(*rect);
    }
    return Win32Result(Win32Native(surface)->Unlock(rect != nullptr ? &area : nullptr));
}

int PlatVideoColorFill(PlatSurface surface, const PlatRect* rect, uint32_t flags, uint32_t colour)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDBLTFX effects{};
    effects.dwSize = sizeof effects;
    effects.dwFillColor = colour;
    RECT area{};
    if (rect != nullptr) {
        area = NativeRect(*rect);
    }
    return Win32Result(Win32Native(surface)->Blt(rect != nullptr ? &area : nullptr, nullptr,
                                                 nullptr, flags, &effects));
}

int PlatVideoBlt(PlatSurface dest, const PlatRect* destRect, PlatSurface source,
                 const PlatRect* sourceRect, uint32_t flags)
{
    if (dest == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    RECT destArea{};
    RECT sourceArea{};
    if (destRect != nullptr) {
        destArea = NativeRect(*destRect);
    }
    if (sourceRect != nullptr) {
        sourceArea = NativeRect(*sourceRect);
    }
    return Win32Result(
        Win32Native(dest)->Blt(destRect != nullptr ? &destArea : nullptr, Win32Native(source),
                               sourceRect != nullptr ? &sourceArea : nullptr, flags, nullptr));
}

int PlatVideoFlip(PlatSurface primary, PlatSurface override, uint32_t flags)
{
    if (primary == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    const HRESULT result = Win32Native(primary)->Flip(Win32Native(override), flags);
    if (SUCCEEDED(result)) {
        Win32SleepOutFrame(FRAME_MS);
    }
    return Win32Result(result);
}

int PlatVideoSetClipper(PlatSurface surface, PlatClipper clipper)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(surface)->SetClipper(Win32Native(clipper)));
}

int PlatVideoSetColorKey(PlatSurface surface, uint32_t flags, uint32_t low, uint32_t high)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    DDCOLORKEY key{low, high};
    return Win32Result(Win32Native(surface)->SetColorKey(flags, &key));
}

int PlatVideoSetPalette(PlatSurface surface, PlatPalette palette)
{
    if (surface == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(surface)->SetPalette(Win32Native(palette)));
}

int PlatVideoSetClipList(PlatClipper clipper, const PlatRegionHeader* list, uint32_t flags)
{
    if (clipper == nullptr || list == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    // Same layout as the native region record, copied field by field all the same.
    std::vector<unsigned char> block(sizeof(RGNDATAHEADER) + sizeof(RECT) * list->count);
    RGNDATAHEADER header{};
    header.dwSize = sizeof header;
    header.iType = list->type;
    header.nCount = list->count;
    header.nRgnSize = static_cast<DWORD>(sizeof(RECT) * list->count);
    header.rcBound = NativeRect(list->bound);
    std::memcpy(block.data(), &header, sizeof header);
    for (uint32_t i = 0; i < list->count; ++i) {
        RECT rect = NativeRect(PlatRegionRect(list, i));
        std::memcpy(block.data() + sizeof header + sizeof rect * i, &rect, sizeof rect);
    }
    return Win32Result(
        Win32Native(clipper)->SetClipList(reinterpret_cast<RGNDATA*>(block.data()), flags));
}

int PlatVideoSetClipperWindow(PlatClipper clipper, uint32_t flags, PlatWindow window)
{
    if (clipper == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    return Win32Result(Win32Native(clipper)->SetHWnd(flags, Win32Window(window)));
}

int PlatVideoReleaseDevice(PlatVideoDevice device)
{
    return Win32Release(device, PLAT_VIDEO_REFUSED);
}

int PlatVideoReleaseSurface(PlatSurface surface)
{
    return Win32Release(surface, PLAT_VIDEO_REFUSED);
}

int PlatVideoReleaseClipper(PlatClipper clipper)
{
    return Win32Release(clipper, PLAT_VIDEO_REFUSED);
}

int PlatVideoReleasePalette(PlatPalette palette)
{
    return Win32Release(palette, PLAT_VIDEO_REFUSED);
}

int PlatGetWindowRect(PlatWindow window, PlatRect* rect)
{
    RECT native{};
    if (GetWindowRect(Win32Window(window), &native) == 0) {
        return PLAT_VIDEO_REFUSED;
    }
    *rect = {native.left, native.top, native.right, native.bottom};
    return 0;
}
