// Drawing helpers shared by the play screen and the number-entry screen.
#pragma once

#include "display/bitmap_loader.h"
#include "display/sprite.h"
#include "screens/screen_layout.h"

#include <cstdint>

extern Bitmap g_tileAtlas;
extern Sprite g_scratchSprite;

// The atlas and the scratch sprite freed.
void ScreenDrawingReset();

// Copies the atlas rectangle (sx, sy, w, h) to screen (x, y) through the
// scratch sprite, colour 0 transparent, into the locked back buffer.
void DrawAtlasPiece(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t x, int32_t y);

// Copies a whole atlas piece to screen (x, y).
void DrawAtlasPiece(const AtlasPiece& piece, int32_t x, int32_t y);

void DrawArrowCursor(int32_t x, int32_t y);

// The cursor moves by mouse deltas with wrap-around rather than overflow:
// nothing bounds it on the right, and the clamps bring a wrapped value back.
inline int32_t WrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
