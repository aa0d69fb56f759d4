// The picture on the window's own surface, where no renderer is used: scaled
// with sharp (nearest) pixels and its aspect kept, in one pass that converts
// each source row once into the screen's format and copies that row for every
// screen row it covers, and only over the parts that changed.
#include "platform/common/memory_pixels.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/sdl/sdl_video.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct SurfaceLayout {
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    uint32_t format = 0;
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    SDL_Rect view{}; // where the scaled picture lies on the surface
    // The picture column each view column shows, and for each picture row and
    // column the first view row and column showing it (one more entry: the
    // view's height or width), so an empty range is a row the view skips.
    std::vector<int32_t> sourceColumn;
    std::vector<int32_t> firstRow;
    std::vector<int32_t> firstColumn;
};

SurfaceLayout s_layout;
std::vector<uint32_t> s_colourOf; // every 16-bit colour in the surface's format
uint32_t s_colourFormat = 0;

// Nearest pixels, sampled at the centre of each screen pixel.
int32_t SourceOf(int32_t screen, int32_t screenSize, int32_t sourceSize)
{
    const int64_t source = ((2 * int64_t{screen} + 1) * sourceSize) / (2 * int64_t{screenSize});
    return static_cast<int32_t>(std::min<int64_t>(source, sourceSize - 1));
}

void MapAxis(int32_t screenSize, int32_t sourceSize, std::vector<int32_t>* sources,
             std::vector<int32_t>* firsts)
{
    firsts->assign(static_cast<size_t>(sourceSize) + 1, screenSize);
    if (sources != nullptr) {
        sources->resize(static_cast<size_t>(screenSize));
    }
    int32_t next = 0; // the next source line without a first screen line yet
    for (int32_t screen = 0; screen < screenSize; ++screen) {
        const int32_t source = SourceOf(screen, screenSize, sourceSize);
        if (sources != nullptr) {
            (*sources)[static_cast<size_t>(screen)] = source;
        }
        while (next <= source) {
            (*firsts)[static_cast<size_t>(next++)] = screen;
        }
    }
}

void MakeColourTable(const SDL_PixelFormat* format)
{
    if (!s_colourOf.empty() && s_colourFormat == format->format) {
        return;
    }
    s_colourOf.resize(65536);
    for (uint32_t value = 0; value < 65536; ++value) {
        const Rgb888 rgb = Widen565(static_cast<uint16_t>(value));
        s_colourOf[value] = SDL_MapRGB(format, rgb.red, rgb.green, rgb.blue);
    }
    s_colourFormat = format->format;
}

void Lay(const SDL_Surface* surface, int32_t width, int32_t height)
{
    s_layout.surfaceWidth = surface->w;
    s_layout.surfaceHeight = surface->h;
    s_layout.format = surface->format->format;
    s_layout.pictureWidth = width;
    s_layout.pictureHeight = height;
    SDL_Rect view{0, 0, surface->w, surface->h};
    if (int64_t{surface->w} * height <= int64_t{surface->h} * width) {
        view.h = static_cast<int>(int64_t{surface->w} * height / width);
    } else {
        view.w = static_cast<int>(int64_t{surface->h} * width / height);
    }
    view.w = std::max(view.w, 1);
    view.h = std::max(view.h, 1);
    view.x = (surface->w - view.w) / 2;
    view.y = (surface->h - view.h) / 2;
    s_layout.view = view;
    MapAxis(view.w, width, &s_layout.sourceColumn, &s_layout.firstColumn);
    MapAxis(view.h, height, nullptr, &s_layout.firstRow);
}

// One source row's columns [from, to) of the view, converted into a screen row.
void ConvertRow(const uint16_t* source, uint8_t* to, int bytesPerPixel, int32_t from, int32_t end)
{
    const int32_t* column = s_layout.sourceColumn.data();
    const uint32_t* colour = s_colourOf.data();
    if (bytesPerPixel == 4) {
        auto* out = reinterpret_cast<uint32_t*>(to);
        for (int32_t x = from; x < end; ++x) {
            out[x] = colour[source[column[x]]];
        }
    } else if (bytesPerPixel == 2) {
        auto* out = reinterpret_cast<uint16_t*>(to);
        for (int32_t x = from; x < end; ++x) {
            out[x] = static_cast<uint16_t>(colour[source[column[x]]]);
        }
    } else {
        for (int32_t x = from; x < end; ++x) {
            const uint32_t value = colour[source[column[x]]];
            std::memcpy(to + static_cast<ptrdiff_t>(x) * bytesPerPixel, &value,
                        static_cast<size_t>(bytesPerPixel));
        }
    }
}

// Scales one band of the picture onto the surface; the screen rectangle it covers.
SDL_Rect PaintBand(SDL_Surface* surface, const uint16_t* picture, int32_t pitch,
                   const PlatRect& band)
{
    const SDL_Rect& view = s_layout.view;
    const int bytesPerPixel = surface->format->BytesPerPixel;
    const int32_t from = s_layout.firstColumn[static_cast<size_t>(band.left)];
    const int32_t end = s_layout.firstColumn[static_cast<size_t>(band.right)];
    auto* base = static_cast<uint8_t*>(surface->pixels) +
                 static_cast<ptrdiff_t>(view.x) * bytesPerPixel;
    const size_t spanBytes = static_cast<size_t>(end - from) * static_cast<size_t>(bytesPerPixel);
    for (int32_t y = band.top; y < band.bottom && from < end; ++y) {
        const int32_t top = s_layout.firstRow[static_cast<size_t>(y)];
        const int32_t bottom = s_layout.firstRow[static_cast<size_t>(y) + 1];
        if (top >= bottom) {
            continue;
        }
        uint8_t* first = base + static_cast<ptrdiff_t>(view.y + top) * surface->pitch;
        ConvertRow(picture + static_cast<ptrdiff_t>(y) * pitch, first, bytesPerPixel, from, end);
        const uint8_t* span = first + static_cast<ptrdiff_t>(from) * bytesPerPixel;
        for (int32_t row = top + 1; row < bottom; ++row) {
            std::memcpy(base + static_cast<ptrdiff_t>(view.y + row) * surface->pitch +
                            static_cast<ptrdiff_t>(from) * bytesPerPixel,
                        span, spanBytes);
        }
    }
    const int32_t top = s_layout.firstRow[static_cast<size_t>(band.top)];
    const int32_t bottom = s_layout.firstRow[static_cast<size_t>(band.bottom)];
    return SDL_Rect{view.x + from, view.y + top, end - from, bottom - top};
}

} // namespace

bool SdlSurfacePrepare(SDL_Window* window, int32_t width, int32_t height, bool* fresh)
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || width <= 0 || height <= 0) {
        SdlSetLastError("the window has no surface to draw on");
        return false;
    }
    *fresh = surface->w != s_layout.surfaceWidth || surface->h != s_layout.surfaceHeight ||
             surface->format->format != s_layout.format || width != s_layout.pictureWidth ||
             height != s_layout.pictureHeight;
    if (*fresh) {
        MakeColourTable(surface->format);
        Lay(surface, width, height);
    }
    return true;
}

int64_t SdlSurfacePut(SDL_Window* window, const uint16_t* picture, int32_t pitch,
                      const PlatRect* bands, size_t count, bool whole)
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || SDL_LockSurface(surface) != 0) {
        SdlSetLastError("the window's surface cannot be drawn on");
        return -1;
    }
    if (whole) {
        // The bars beside the picture too: a new surface holds anything.
        SDL_memset(surface->pixels, 0,
                   static_cast<size_t>(surface->pitch) * static_cast<size_t>(surface->h));
    }
    std::vector<SDL_Rect> rects;
    int64_t pixels = 0;
    for (size_t i = 0; i < count; ++i) {
        SDL_Rect rect = PaintBand(surface, picture, pitch, bands[i]);
        if (rect.w > 0 && rect.h > 0) {
            rects.push_back(rect);
            pixels += int64_t{rect.w} * rect.h;
        }
    }
    SDL_UnlockSurface(surface);
    int result = 0;
    if (whole) {
        result = SDL_UpdateWindowSurface(window);
        pixels = int64_t{surface->w} * surface->h;
    } else if (!rects.empty()) {
        result = SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size()));
    }
    if (result != 0) {
        SdlSetLastError("the picture could not be put on the screen");
        return -1;
    }
    return pixels;
}

void SdlSurfaceCapture(SDL_Window* window, SdlCapturedFrame* frame)
{
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) {
        return;
    }
    SdlCapturedFrame copy{};
    copy.width = surface->w;
    copy.height = surface->h;
    copy.viewX = s_layout.view.x;
    copy.viewY = s_layout.view.y;
    copy.viewWidth = s_layout.view.w;
    copy.viewHeight = s_layout.view.h;
    copy.pixels.assign(static_cast<size_t>(copy.width) * static_cast<size_t>(copy.height), 0);
    if (SDL_LockSurface(surface) != 0) {
        return;
    }
    const int converted = SDL_ConvertPixels(
        surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch,
        SDL_PIXELFORMAT_ARGB8888, copy.pixels.data(), copy.width * 4);
    SDL_UnlockSurface(surface);
    if (converted == 0) {
        *frame = std::move(copy);
    }
}

void SdlSurfaceForget()
{
    s_layout = SurfaceLayout{};
}
