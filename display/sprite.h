// Sprites: small blocks of 16-bit pixels cut from a loaded picture and copied
// into the locked back buffer, pixel value 0 being transparent.
#pragma once

#include "display/bitmap_loader.h"

#include <cstdint>

constexpr uint32_t SPRITE_LOADED = 0x80;

// Grab modes.
constexpr int32_t GRAB_CELL = 0;  // (cx, cy) is a cell of a grid with 1-pixel border lines
constexpr int32_t GRAB_PIXEL = 1; // (cx, cy) is a pixel of the picture

struct Sprite {
    int32_t created;
    uint32_t flags;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t sizeBytes;
    int32_t bpp;
    uint16_t* pixels; // rows top-down, `width` pixels each
};

// 1, or 0 when the buffer cannot be had (then `pixels` is null and the rest
// of the record unchanged). A buffer held before is not released.
int32_t SpriteCreate(Sprite* sprite, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t bpp);
// 0 when there is no buffer to release.
int32_t SpriteDestroy(Sprite* sprite);
// Frees the buffer kept for the next sprite of the same size.
void SpriteBuffersReset();
// Copies the part of the rectangle that lies inside the picture; the rest of
// the sprite becomes 0 (transparent). 0 when nothing could be copied.
int32_t SpriteGrab(Sprite* sprite, const Bitmap* bitmap, int32_t cx, int32_t cy, int32_t mode);
// Draws into a destination g_screenWidth × g_screenHeight pixels large,
// dropping what lies outside. 0 when the sprite is not loaded or dest is null.
int32_t SpriteDraw(const Sprite* sprite, uint16_t* dest, int32_t pitchBytes, int32_t transparent);
// The same into a destination of the given size.
int32_t SpriteDrawClipped(const Sprite* sprite, uint16_t* dest, int32_t pitchBytes,
                          int32_t destWidth, int32_t destHeight, int32_t transparent);
