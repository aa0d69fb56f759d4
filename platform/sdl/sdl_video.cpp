// The display on SDL: surfaces are plain memory, the primary surface's
// picture goes to the window through a streaming texture, scaled to fit with
// its aspect kept and sharp pixels. There is no video mode switch and nothing
// is ever lost, so restoring has nothing to do.
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_video.h"
#include "platform/common/memory_surfaces.h"
#include "platform/video.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The window has one renderer; the device that opened it closes it.
SDL_Renderer* s_renderer = nullptr;
SDL_Texture* s_texture = nullptr;
bool s_capture = false;
SdlCapturedFrame s_captured{};
const char* s_rendererName = "";

void CloseDevice(PlatVideoDevice device)
{
    if (!device->presenting) {
        return;
    }
    if (s_texture != nullptr) {
        SDL_DestroyTexture(s_texture);
        s_texture = nullptr;
    }
    if (s_renderer != nullptr) {
        SDL_DestroyRenderer(s_renderer);
        s_renderer = nullptr;
    }
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
    if (device->presenting) {
        return true;
    }
    SDL_Window* window = SdlMainWindow();
    if (window == nullptr) {
        SdlSetLastError("no window to display in");
        return false;
    }
    if (s_renderer != nullptr) {
        SdlSetLastError("the window is shown by another device");
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    s_renderer = NewRenderer(window);
    if (s_renderer == nullptr) {
        SdlSetLastError("no renderer for the window");
        return false;
    }
    device->presenting = true;
    SDL_RenderSetLogicalSize(s_renderer, device->width, device->height);
    s_texture = SDL_CreateTexture(s_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  device->width, device->height);
    if (s_texture == nullptr) {
        SdlSetLastError("no texture for the picture");
        return false;
    }
    SDL_SetTextureScaleMode(s_texture, SDL_ScaleModeNearest);
    return true;
}

bool OpenPrimary(PlatVideoDevice device, int32_t* width, int32_t* height)
{
    *width = device->width;
    *height = device->height;
    return OpenPresentation(device);
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
    if (!device->presenting || s_texture == nullptr) {
        return PLAT_VIDEO_REFUSED;
    }
    const int32_t width = std::min(shown->width, device->width);
    const int32_t height = std::min(shown->height, device->height);
    SDL_Rect area{0, 0, width, height};
    if (SDL_UpdateTexture(s_texture, &area, shown->pixels.data(), shown->width * 2) != 0) {
        SdlSetLastError("the picture could not be uploaded");
        return PLAT_VIDEO_REFUSED;
    }
    SDL_SetRenderDrawColor(s_renderer, 0, 0, 0, 255);
    SDL_RenderClear(s_renderer);
    SDL_RenderCopy(s_renderer, s_texture, nullptr, nullptr);
    if (s_capture) {
        CaptureOutput(s_renderer);
    }
    SDL_RenderPresent(s_renderer);
    return 0;
}

bool CanShow()
{
    if (SdlMainWindow() == nullptr) {
        SdlSetLastError("no window to display in");
        return false;
    }
    return true;
}

bool WindowSize(int* width, int* height)
{
    SDL_Window* window = SdlMainWindow();
    if (window == nullptr) {
        return false;
    }
    SDL_GetWindowSize(window, width, height);
    return true;
}

} // namespace

const MemoryVideoHooks MEMORY_VIDEO_HOOKS = {
    .openPrimary = OpenPrimary,
    .present = Present,
    .deviceGone = CloseDevice,
    .canShow = CanShow,
    .windowSize = WindowSize,
};

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
