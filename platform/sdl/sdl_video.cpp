// The display on SDL: surfaces are plain memory, the primary surface's
// picture goes to the window through a streaming texture, scaled to fit with
// its aspect kept and sharp pixels. There is no video mode switch and nothing
// is ever lost, so restoring has nothing to do.
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_video.h"
#include "platform/common/memory_pixels.h"
#include "platform/video.h"

#include <algorithm>
#include <cstring>
#include <vector>

struct PlatVideoDeviceTag {
    int refs;
    SDL_Renderer* renderer;
    SDL_Texture* texture;
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

bool s_capture = false;
SdlCapturedFrame s_captured{};
const char* s_rendererName = "";

void DropDevice(PlatVideoDevice device)
{
    if (--device->refs > 0) {
        return;
    }
    if (device->texture != nullptr) {
        SDL_DestroyTexture(device->texture);
    }
    if (device->renderer != nullptr) {
        SDL_DestroyRenderer(device->renderer);
    }
    delete device;
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

SDL_Renderer* NewRenderer(SDL_Window* window)
{
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) {
        // No accelerated driver (a plain X server, SDL's dummy driver): the
        // software renderer draws into the window's own surface.
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    SDL_RendererInfo info{};
    if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0) {
        s_rendererName = info.name;
    }
    return renderer;
}

// The renderer and the texture the pictures go through, made with the first
// primary surface (the window is certain to exist by then).
bool OpenPresentation(PlatVideoDevice device)
{
    if (device->renderer != nullptr) {
        return true;
    }
    SDL_Window* window = SdlMainWindow();
    if (window == nullptr) {
        SdlSetLastError("no window to display in");
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    device->renderer = NewRenderer(window);
    if (device->renderer == nullptr) {
        SdlSetLastError("no renderer for the window");
        return false;
    }
    SDL_RenderSetLogicalSize(device->renderer, device->width, device->height);
    device->texture = SDL_CreateTexture(device->renderer, SDL_PIXELFORMAT_RGB565,
                                        SDL_TEXTUREACCESS_STREAMING, device->width,
                                        device->height);
    if (device->texture == nullptr) {
        SdlSetLastError("no texture for the picture");
        return false;
    }
    SDL_SetTextureScaleMode(device->texture, SDL_ScaleModeNearest);
    return true;
}

// The whole output as it stands before the present; the logical size is
// lifted for the read so that bars and picture come back as they are shown.
void CaptureOutput(SDL_Renderer* renderer)
{
    SDL_Rect view{};
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    SDL_RenderGetViewport(renderer, &view);
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    int logicalWidth = 0;
    int logicalHeight = 0;
    SDL_RenderGetLogicalSize(renderer, &logicalWidth, &logicalHeight);
    SdlCapturedFrame frame{};
    SDL_GetRendererOutputSize(renderer, &frame.width, &frame.height);
    frame.viewX = static_cast<int>(static_cast<float>(view.x) * scaleX);
    frame.viewY = static_cast<int>(static_cast<float>(view.y) * scaleY);
    frame.viewWidth = static_cast<int>(static_cast<float>(view.w) * scaleX);
    frame.viewHeight = static_cast<int>(static_cast<float>(view.h) * scaleY);
    frame.pixels.assign(static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height), 0);
    SDL_RenderSetLogicalSize(renderer, 0, 0);
    SDL_RenderSetViewport(renderer, nullptr);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, frame.pixels.data(),
                             frame.width * 4) == 0) {
        s_captured = std::move(frame);
    }
    SDL_RenderSetLogicalSize(renderer, logicalWidth, logicalHeight);
}

int Present(PlatSurface shown)
{
    PlatVideoDevice device = shown->device;
    if (device->renderer == nullptr || device->texture == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    const int32_t width = std::min(shown->width, device->width);
    const int32_t height = std::min(shown->height, device->height);
    SDL_Rect area{0, 0, width, height};
    if (SDL_UpdateTexture(device->texture, &area, shown->pixels.data(), shown->width * 2) != 0) {
        SdlSetLastError("the picture could not be uploaded");
        return PLAT_VIDEO_REFUSED;
    }
    SDL_SetRenderDrawColor(device->renderer, 0, 0, 0, 255);
    SDL_RenderClear(device->renderer);
    SDL_RenderCopy(device->renderer, device->texture, nullptr, nullptr);
    if (s_capture) {
        CaptureOutput(device->renderer);
    }
    SDL_RenderPresent(device->renderer);
    return 0;
}

} // namespace

void SdlVideoCapture(bool on)
{
    s_capture = on;
}

const SdlCapturedFrame& SdlVideoCapturedFrame()
{
    return s_captured;
}

const char* SdlVideoRendererName()
{
    return s_rendererName;
}

int PlatVideoCreate(PlatVideoDevice* device)
{
    if (SdlMainWindow() == nullptr) {
        SdlSetLastError("no window to display in");
        return PLAT_VIDEO_REFUSED;
    }
    *device = new PlatVideoDeviceTag{1, nullptr, nullptr, DEFAULT_WIDTH, DEFAULT_HEIGHT};
    return 0;
}

int PlatVideoSetCooperativeLevel(PlatVideoDevice, PlatWindow, uint32_t)
{
    return 0;
}

// The picture is scaled onto the desktop instead of switching its mode; only
// the 16-bit pixels the texture takes are offered.
int PlatVideoSetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp,
                            int32_t, uint32_t)
{
    if (bpp != 16 || width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE ||
        device->renderer != nullptr) {
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

// Kept for the calls that take one; the texture holds 16-bit pixels only.
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
    SDL_Window* window = SdlMainWindow();
    if (window == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    *rect = {0, 0, width, height};
    return 0;
}
