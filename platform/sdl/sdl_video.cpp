// The display on SDL: surfaces are plain memory, the primary surface's
// picture goes to the window scaled to fit with its aspect kept and sharp
// pixels: through a streaming texture and a renderer made with the window
// where a graphics device draws, else straight onto the window's own surface
// (sdl_window_surface.cpp). Only what changed since the last flip goes to the
// screen, and a flip that changed nothing puts nothing there, but every flip
// still takes until the display's next refresh. There is no video mode switch
// and nothing is ever lost, so restoring has nothing to do.
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_video.h"
#include "platform/common/changed_area.h"
#include "platform/common/memory_surfaces.h"
#include "platform/video.h"

#include <dirent.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int32_t DEFAULT_WIDTH = 800;
constexpr int32_t DEFAULT_HEIGHT = 600;
// Where the kernel lists the graphics devices a program may draw with.
constexpr const char* RENDER_NODE_DIR = "/dev/dri";
// Below this address-space limit GL drivers are not even tried: Mesa then
// dies inside its own start-up (double free, segmentation fault) instead of
// failing.
constexpr rlim_t GL_MIN_ADDRESS_SPACE = rlim_t{1} << 30;
constexpr int DEFAULT_REFRESH_HZ = 60;
constexpr uint32_t GL_RENDERER_NAME = 0x1F01;
// More bands than the lamp, a number under it and the text ever make.
constexpr size_t MAX_BANDS = 16;

// The window has one renderer, made with it; the device presenting through
// it closes it.
SDL_Renderer* s_renderer = nullptr;
SDL_Texture* s_texture = nullptr;
// No renderer: the picture goes onto the window's own surface.
bool s_surfacePath = false;
ShownPicture s_shownPicture;
SdlPresentStats s_stats{};
PlatVideoDevice s_presenter = nullptr;
bool s_capture = false;
SdlCapturedFrame s_captured{};
const char* s_rendererName = "";
// Why this presentation was chosen, for the report line.
const char* s_choice = "";
// A renderer that does not wait for the display itself is paced by the
// clock: presents fall on a grid of refreshes starting at the first one.
bool s_pacing = true;
bool s_paced = false;
int64_t s_refreshNs = 1000000000 / DEFAULT_REFRESH_HZ;
int64_t s_firstRefreshNs = 0;
bool s_reported = false;

int64_t NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Taken before main, for the start-up time in the report line.
const int64_t s_startNs = NowNs();

bool HasRenderNode()
{
    DIR* dir = opendir(RENDER_NODE_DIR);
    if (dir == nullptr) {
        return false;
    }
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, "renderD", 7) == 0) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

bool AddressSpaceTight()
{
    rlimit limit{};
    return getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
           limit.rlim_cur < GL_MIN_ADDRESS_SPACE;
}

// A render node alone does not make GL fast: Mesa falls back to drawing on
// the processor when the device has no driver. The renderer's context is
// current right after it is made, so GL can name what does the drawing.
bool DrawsOnProcessor(SDL_Renderer* renderer)
{
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(uint32_t);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(GL_RENDERER_NAME) : nullptr;
    if (name == nullptr) {
        return false;
    }
    const char* text = reinterpret_cast<const char*>(name);
    return strcasestr(text, "llvmpipe") != nullptr || strcasestr(text, "softpipe") != nullptr ||
           strcasestr(text, "swrast") != nullptr;
}

// Where the machine has a graphics device the accelerated renderer waits for
// the display itself. Elsewhere GL would be Mesa drawing on the processor,
// 60 MB of it, so no GL context is made at all: the picture goes onto the
// window's own surface. SDL_RENDER_DRIVER names the renderer whatever the
// machine has ("software" being the window's surface).
SDL_Renderer* NewRenderer(SDL_Window* window)
{
    // The software renderer would otherwise back the window's surface with a
    // GL texture; SDL_FRAMEBUFFER_ACCELERATION set by the player still wins.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    const bool chosen = asked != nullptr && asked[0] != '\0';
    SDL_Renderer* renderer = nullptr;
    SDL_RendererInfo info{};
    if (chosen) {
        s_choice = "SDL_RENDER_DRIVER";
        if (SDL_strcasecmp(asked, "software") != 0) {
            renderer = SDL_CreateRenderer(window, -1,
                                          SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        }
    } else if (!HasRenderNode()) {
        s_choice = "no graphics device";
    } else if (AddressSpaceTight()) {
        s_choice = "address space limited";
    } else {
        s_choice = "graphics device";
        renderer = SDL_CreateRenderer(window, -1,
                                      SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (renderer != nullptr && DrawsOnProcessor(renderer)) {
            SDL_DestroyRenderer(renderer);
            renderer = nullptr;
            s_choice = "GL draws on the processor";
        }
    }
    if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0 &&
        std::strcmp(info.name, "software") == 0) {
        // SDL's own software renderer scales and pushes the whole window each
        // present; the window's surface does the same with only what changed.
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    s_surfacePath = renderer == nullptr;
    if (s_surfacePath) {
        // Also where no accelerated driver works (SDL's dummy driver).
        s_rendererName = "software";
        s_paced = true;
    } else if (SDL_GetRendererInfo(renderer, &info) == 0) {
        s_rendererName = info.name;
        s_paced = (info.flags & SDL_RENDERER_PRESENTVSYNC) == 0;
    }
    return renderer;
}

void LearnRefreshRate(SDL_Window* window)
{
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window);
    int hz = DEFAULT_REFRESH_HZ;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        hz = mode.refresh_rate;
    }
    s_refreshNs = 1000000000 / hz;
    s_firstRefreshNs = 0;
}

// As a flip on a display returns at its next refresh: asleep, so that the
// frame's own spinning wait finds its time already spent.
void WaitForRefresh()
{
    const int64_t now = NowNs();
    if (s_firstRefreshNs == 0) {
        s_firstRefreshNs = now;
    }
    const int64_t next = s_firstRefreshNs +
                         ((now - s_firstRefreshNs) / s_refreshNs + 1) * s_refreshNs;
    timespec until{static_cast<time_t>(next / 1000000000), static_cast<long>(next % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {}
}

// One line on stderr at the first present, for players and tests who want
// to know how the picture reaches them.
void ReportPresentation()
{
    s_reported = true;
    const char* asked = std::getenv("DELLOMAR_REPORT_PRESENTATION");
    if (asked == nullptr || asked[0] == '\0' || std::strcmp(asked, "0") == 0) {
        return;
    }
    std::fprintf(stderr, "dellomar: presenting through %s (%s), %s, first frame after %lld ms\n",
                 s_rendererName, s_choice, s_paced ? "paced by the clock" : "vsync",
                 static_cast<long long>((NowNs() - s_startNs) / 1000000));
}

void CloseDevice(PlatVideoDevice device)
{
    if (device != s_presenter) {
        return;
    }
    s_presenter = nullptr;
    if (s_texture != nullptr) {
        SDL_DestroyTexture(s_texture);
        s_texture = nullptr;
    }
    if (s_renderer != nullptr) {
        SDL_DestroyRenderer(s_renderer);
        s_renderer = nullptr;
    }
    s_surfacePath = false;
    s_shownPicture = ShownPicture{};
    SdlSurfaceForget();
}

bool MakeTexture(int32_t width, int32_t height)
{
    if (s_texture != nullptr) {
        int textureWidth = 0;
        int textureHeight = 0;
        SDL_QueryTexture(s_texture, nullptr, nullptr, &textureWidth, &textureHeight);
        if (textureWidth == width && textureHeight == height) {
            return true;
        }
        SDL_DestroyTexture(s_texture);
    }
    SDL_RenderSetLogicalSize(s_renderer, width, height);
    s_texture = SDL_CreateTexture(s_renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
    if (s_texture == nullptr) {
        return false;
    }
    SDL_SetTextureScaleMode(s_texture, SDL_ScaleModeNearest);
    return true;
}

// The first device to show a primary surface takes the window's renderer,
// made anew when an earlier device closed it.
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
    if (s_presenter != nullptr) {
        SdlSetLastError("the window is shown by another device");
        return false;
    }
    if (s_renderer == nullptr && !s_surfacePath && !SdlVideoOpenRenderer(window)) {
        return false;
    }
    s_presenter = device;
    device->presenting = true;
    s_shownPicture.whole = true;
    if (!s_surfacePath && !MakeTexture(device->width, device->height)) {
        SdlSetLastError("no texture for the picture");
        return false;
    }
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

// Uploads the changed bands and shows the whole texture: after a present
// what the renderer drew before is gone, so it always draws all of it.
bool PutThroughRenderer(const uint16_t* picture, int32_t pitch, const PlatRect* bands, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const PlatRect& band = bands[i];
        SDL_Rect area{band.left, band.top, band.right - band.left, band.bottom - band.top};
        const uint16_t* first = picture + static_cast<ptrdiff_t>(band.top) * pitch + band.left;
        if (SDL_UpdateTexture(s_texture, &area, first, pitch * 2) != 0) {
            SdlSetLastError("the picture could not be uploaded");
            return false;
        }
        s_stats.pixelsPut += static_cast<uint64_t>(area.w) * static_cast<uint64_t>(area.h);
    }
    SDL_SetRenderDrawColor(s_renderer, 0, 0, 0, 255);
    SDL_RenderClear(s_renderer);
    SDL_RenderCopy(s_renderer, s_texture, nullptr, nullptr);
    if (s_capture) {
        CaptureOutput(s_renderer);
    }
    SDL_RenderPresent(s_renderer);
    return true;
}

bool PutOnSurface(const uint16_t* picture, int32_t pitch, const PlatRect* bands, size_t count,
                  bool whole)
{
    const int64_t put = SdlSurfacePut(SdlMainWindow(), picture, pitch, bands, count, whole);
    if (put < 0) {
        return false;
    }
    s_stats.pixelsPut += static_cast<uint64_t>(put);
    if (s_capture) {
        SdlSurfaceCapture(SdlMainWindow(), &s_captured);
    }
    return true;
}

int Present(PlatSurface shown)
{
    PlatVideoDevice device = shown->device;
    SDL_Window* window = SdlMainWindow();
    if (!device->presenting || window == nullptr || (!s_surfacePath && s_texture == nullptr)) {
        return PLAT_VIDEO_REFUSED;
    }
    const int32_t width = std::min(shown->width, device->width);
    const int32_t height = std::min(shown->height, device->height);
    bool fresh = false;
    if (s_surfacePath && !SdlSurfacePrepare(window, width, height, &fresh)) {
        return PLAT_VIDEO_REFUSED;
    }
    const bool whole = fresh || s_shownPicture.whole;
    s_shownPicture.whole = whole;
    PlatRect bands[MAX_BANDS];
    const uint16_t* picture = shown->pixels.data();
    const size_t count = TakeChangedArea(&s_shownPicture, picture, shown->width, width, height,
                                         bands, MAX_BANDS);
    ++s_stats.flips;
    if (count > 0) {
        const bool put = s_surfacePath ? PutOnSurface(picture, shown->width, bands, count, whole)
                                       : PutThroughRenderer(picture, shown->width, bands, count);
        if (!put) {
            // Whatever reached the screen, the next flip puts all of it there.
            s_shownPicture.whole = true;
            return PLAT_VIDEO_REFUSED;
        }
        ++s_stats.shown;
    }
    if (!s_reported) {
        ReportPresentation();
    }
    // A renderer with vertical sync waits in its present, but not when there
    // was nothing to present.
    if (s_pacing && (s_paced || count == 0)) {
        WaitForRefresh();
    }
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

void SdlVideoPace(bool on)
{
    s_pacing = on;
}

bool SdlVideoOpenRenderer(SDL_Window* window)
{
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    s_renderer = NewRenderer(window);
    LearnRefreshRate(window);
    if (s_surfacePath) {
        bool fresh = false;
        return SdlSurfacePrepare(window, DEFAULT_WIDTH, DEFAULT_HEIGHT, &fresh);
    }
    if (s_renderer == nullptr) {
        SdlSetLastError("no renderer for the window");
        return false;
    }
    // The picture's texture is made now too, so that a window that opens can
    // also show the game.
    if (!MakeTexture(DEFAULT_WIDTH, DEFAULT_HEIGHT)) {
        SdlSetLastError("no texture for the picture");
        SDL_DestroyRenderer(s_renderer);
        s_renderer = nullptr;
        return false;
    }
    return true;
}

const SdlPresentStats& SdlVideoPresentStats()
{
    return s_stats;
}

void SdlVideoNoteEvent(const SDL_Event& event)
{
    if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
        s_shownPicture.whole = true;
        ++s_stats.exposures;
        return;
    }
    if (event.type != SDL_WINDOWEVENT) {
        return;
    }
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        s_shownPicture.whole = true;
        ++s_stats.exposures;
        break;
    default:
        break;
    }
}
