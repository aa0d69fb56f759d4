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

// The screens destroy and re-create the scratch sprite for every piece they
// draw, mostly at one size; the last buffer given back is kept for the next
// one of the same size instead of going through the allocator each time.
// Only the buffer handed out last is kept, as only its size is known for
// certain: a record's fields are anyone's to change.
struct HeldBuffer {
    uint16_t* pixels;
    size_t bytes;
};
HeldBuffer s_lastHandedOut{};
HeldBuffer s_spare{};

uint16_t* TakeZeroedBuffer(size_t bytes)
{
    uint16_t* pixels = nullptr;
    if (s_spare.pixels != nullptr && s_spare.bytes == bytes) {
        pixels = s_spare.pixels;
        s_spare = HeldBuffer{};
        std::memset(pixels, 0, bytes);
    } else {
        pixels = static_cast<uint16_t*>(std::calloc(bytes, 1));
    }
    if (pixels != nullptr) {
        s_lastHandedOut = HeldBuffer{pixels, bytes};
    }
    return pixels;
}

void GiveBackBuffer(uint16_t* pixels)
{
    if (pixels != s_lastHandedOut.pixels) {
        std::free(pixels);
        return;
    }
    std::free(s_spare.pixels);
    s_spare = s_lastHandedOut;
    s_lastHandedOut = HeldBuffer{};
}

} // namespace

void SpriteBuffersReset()
{
    std::free(s_spare.pixels);
    s_spare = HeldBuffer{};
    s_lastHandedOut = HeldBuffer{};
}

namespace {

size_t Index(int64_t row, int64_t rowLength, int64_t column)
{
    return static_cast<size_t>(row * rowLength + column);
}

// Rows go in blocks of a fixed size, which the compiler turns into vector
// loads, compares and masks; a row that is not a whole number of blocks ends
// with a block overlapping the one before (copying or blending a pixel twice
// gives what doing it once gave).
constexpr size_t BLOCK = 8;

// A block's pixels side by side in one vector: some compilers (WebAssembly's)
// do not find the vector in a loop over the pixels, and blend them one by one.
using Block = int16_t __attribute__((vector_size(BLOCK * sizeof(uint16_t))));

// Through local copies, which cannot alias. Branchless, as tiles mix
// transparent and opaque pixels too finely for prediction.
void BlendBlock(uint16_t* to, const uint16_t* from)
{
    Block over;
    Block under;
    std::memcpy(&over, from, sizeof over);
    std::memcpy(&under, to, sizeof under);
    const Block keep = over == 0;
    under = (under & keep) | (over & ~keep);
    std::memcpy(to, &under, sizeof under);
}

// Every pixel of `from` but 0 replaces the one under it.
void BlendRow(uint16_t* to, const uint16_t* from, size_t count)
{
    if (count < BLOCK) {
        for (size_t i = 0; i < count; ++i) {
            to[i] = from[i] != 0 ? from[i] : to[i];
        }
        return;
    }
    size_t i = 0;
    for (; i + BLOCK <= count; i += BLOCK) {
        BlendBlock(to + i, from + i);
    }
    if (i < count) {
        BlendBlock(to + count - BLOCK, from + count - BLOCK);
    }
}

// Short rows (a tile is 24 pixels) cost more in calls to memcpy than in
// copying; blocks of a fixed size are copied inline.
void CopyRow(uint16_t* to, const uint8_t* from, size_t count)
{
    if (count < BLOCK) {
        std::memcpy(to, from, count * 2);
        return;
    }
    size_t i = 0;
    for (; i + BLOCK <= count; i += BLOCK) {
        std::memcpy(to + i, from + 2 * i, 2 * BLOCK);
    }
    if (i < count) {
        std::memcpy(to + count - BLOCK, from + 2 * (count - BLOCK), 2 * BLOCK);
    }
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
    sprite->pixels = TakeZeroedBuffer(bytes);
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
    GiveBackBuffer(sprite->pixels);
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
    // Only a rectangle reaching past the picture leaves pixels uncopied.
    if (columns.begin != sx || columns.end != sx + sprite->width || rows.begin != sy ||
        rows.end != sy + sprite->height) {
        std::memset(sprite->pixels, 0, static_cast<size_t>(sprite->width) * sprite->height * 2);
    }
    const auto count = static_cast<size_t>(columns.end - columns.begin);
    // Locals, not the record's fields: the row copies may write anywhere as
    // far as the compiler knows.
    const auto spriteWidth = static_cast<size_t>(sprite->width);
    // Offsets, not pointers, step on: a pointer a row past the last would be
    // out of its buffer.
    size_t from = 2 * Index(rows.begin, sourceWidth, columns.begin);
    size_t to = Index(rows.begin - sy, sprite->width, columns.begin - sx);
    uint16_t* const pixels = sprite->pixels;
    const uint8_t* const source = bitmap->pixels;
    for (int64_t row = rows.begin; row < rows.end; ++row) {
        CopyRow(pixels + to, source + from, count);
        from += 2 * static_cast<size_t>(sourceWidth);
        to += spriteWidth;
    }
    sprite->flags |= SPRITE_LOADED;
    return 1;
}

int32_t SpriteDraw(const Sprite* sprite, uint16_t* dest, int32_t pitchBytes, int32_t transparent)
{
    return SpriteDrawClipped(sprite, dest, pitchBytes, g_screenWidth, g_screenHeight, transparent);
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
    const auto spriteWidth = static_cast<size_t>(sprite->width);
    const uint16_t* const pixels = sprite->pixels;
    size_t from = Index(rows.begin - sprite->y, sprite->width, columns.begin - sprite->x);
    size_t to = Index(rows.begin, linePixels, columns.begin);
    for (int64_t row = rows.begin; row < rows.end; ++row) {
        if (transparent == 0) {
            std::memcpy(dest + to, pixels + from, count * 2);
        } else {
            BlendRow(dest + to, pixels + from, count);
        }
        from += spriteWidth;
        to += static_cast<size_t>(linePixels);
    }
    return 1;
}
