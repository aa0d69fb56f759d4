#include "display/sprite.h"

#include "display/display_device.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The part of [start, start + length) that lies in [0, limit).
struct Span {
    int64_t begin;
    int64_t end;
    bool Empty() const { return begin >= end; }
};

Span Clip(int64_t start, int64_t length, int64_t limit)
{
    return {std::max<int64_t>(start, 0), std::min<int64_t>(start + length, limit)};
}

// Grabbing and drawing address the buffer as 16-bit pixels whatever `bpp`
// said, so a record whose buffer is too small for that is left alone.
bool HoldsPixels16(const Sprite& sprite)
{
    return sprite.pixels != nullptr && sprite.width >= 0 && sprite.height >= 0 &&
           int64_t{sprite.width} * sprite.height * 2 <= sprite.sizeBytes;
}

size_t Index(int64_t row, int64_t rowLength, int64_t column)
{
    return static_cast<size_t>(row * rowLength + column);
}

} // namespace

int32_t SpriteCreate(Sprite* sprite, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t bpp)
{
    if (sprite == nullptr) {
        return 0;
    }
    int64_t size = int64_t{bpp >> 3} * width * height;
    if (bpp < 0 || width < 0 || height < 0 || size > INT32_MAX) {
        sprite->pixels = nullptr;
        return 0;
    }
    // calloc(0) may give null; a one-byte buffer keeps an empty sprite created.
    const auto bytes = static_cast<size_t>(std::max<int64_t>(size, 1));
    sprite->pixels = static_cast<uint16_t*>(std::calloc(bytes, 1));
    if (sprite->pixels == nullptr) {
        return 0;
    }
    sprite->height = height;
    sprite->y = y;
    sprite->x = x;
    sprite->width = width;
    sprite->bpp = bpp;
    sprite->sizeBytes = static_cast<int32_t>(size);
    sprite->created = 1;
    sprite->flags = 0;
    return 1;
}

int32_t SpriteDestroy(Sprite* sprite)
{
    if (sprite == nullptr || sprite->pixels == nullptr) {
        return 0;
    }
    std::free(sprite->pixels);
    *sprite = Sprite{};
    return 1;
}

int32_t SpriteGrab(Sprite* sprite, const Bitmap* bitmap, int32_t cx, int32_t cy, int32_t mode)
{
    if (sprite == nullptr || !HoldsPixels16(*sprite) || bitmap == nullptr ||
        bitmap->pixels == nullptr || bitmap->infoHeader.biBitCount != 16) {
        return 0;
    }
    int64_t sx = cx;
    int64_t sy = cy;
    if (mode == GRAB_CELL) {
        sx = int64_t{cx} * (sprite->width + 1) + 1;
        sy = int64_t{cy} * (sprite->height + 1) + 1;
    }
    const int64_t sourceWidth = bitmap->infoHeader.biWidth;
    Span columns = Clip(sx, sprite->width, sourceWidth);
    Span rows = Clip(sy, sprite->height, bitmap->infoHeader.biHeight);
    if (columns.Empty() || rows.Empty()) {
        return 0;
    }
    std::memset(sprite->pixels, 0, static_cast<size_t>(sprite->width) * sprite->height * 2);
    const auto rowBytes = static_cast<size_t>(columns.end - columns.begin) * 2;
    for (int64_t row = rows.begin; row < rows.end; ++row) {
        const uint8_t* from = bitmap->pixels + 2 * Index(row, sourceWidth, columns.begin);
        uint16_t* to = sprite->pixels + Index(row - sy, sprite->width, columns.begin - sx);
        std::memcpy(to, from, rowBytes);
    }
    sprite->flags |= SPRITE_LOADED;
    return 1;
}

int32_t SpriteDraw(const Sprite* sprite, uint16_t* dest, int32_t pitchBytes,
                   int32_t transparent)
{
    return SpriteDrawClipped(sprite, dest, pitchBytes, g_screenWidth, g_screenHeight,
                             transparent);
}

int32_t SpriteDrawClipped(const Sprite* sprite, uint16_t* dest, int32_t pitchBytes,
                          int32_t destWidth, int32_t destHeight, int32_t transparent)
{
    if (sprite == nullptr || (sprite->flags & SPRITE_LOADED) == 0 || !HoldsPixels16(*sprite) ||
        dest == nullptr || pitchBytes <= 0) {
        return 0;
    }
    const int64_t linePixels = pitchBytes >> 1;
    Span columns = Clip(sprite->x, sprite->width, std::min<int64_t>(destWidth, linePixels));
    Span rows = Clip(sprite->y, sprite->height, destHeight);
    if (columns.Empty() || rows.Empty()) {
        return 1;
    }
    const auto count = static_cast<size_t>(columns.end - columns.begin);
    for (int64_t row = rows.begin; row < rows.end; ++row) {
        const uint16_t* from =
            sprite->pixels + Index(row - sprite->y, sprite->width, columns.begin - sprite->x);
        uint16_t* to = dest + Index(row, linePixels, columns.begin);
        if (transparent == 0) {
            std::memcpy(to, from, count * 2);
            continue;
        }
        for (size_t i = 0; i < count; ++i) {
            if (from[i] != 0) {
                to[i] = from[i];
            }
        }
    }
    return 1;
}
