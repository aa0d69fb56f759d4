#include "screens/screen_drawing.h"

#include "window/game_window.h"
#include "display/display_device.h"
#include "input/keyboard_mouse.h"

Bitmap g_tileAtlas{};
Sprite g_scratchSprite{};

void ScreenDrawingReset()
{
    SpriteDestroy(&g_scratchSprite);
    BitmapUnload(&g_tileAtlas);
    g_tileAtlas = Bitmap{};
}

void DrawAtlasPiece(int32_t sx, int32_t sy, int32_t w, int32_t h, int32_t x, int32_t y)
{
    // One scratch sprite per piece, made and grabbed afresh each time.
    SpriteDestroy(&g_scratchSprite);
    SpriteCreate(&g_scratchSprite, x, y, w, h, 16);
    SpriteGrab(&g_scratchSprite, &g_tileAtlas, sx, sy, GRAB_PIXEL);
    SpriteDraw(&g_scratchSprite, g_backBits, g_backPitch, 1);
}

void DrawAtlasPiece(const AtlasPiece& piece, int32_t x, int32_t y)
{
    DrawAtlasPiece(piece.x, piece.y, piece.w, piece.h, x, y);
}

void DrawArrowCursor(int32_t x, int32_t y)
{
    DrawAtlasPiece(ATLAS_ARROW, x, y);
}

void TestQuitKeys()
{
    if (AsyncKeyDown(VK_ESCAPE) || g_keyState[DIK_ESCAPE] != 0) {
        RequestQuit();
    }
    if (AsyncKeyDown(VK_MENU) || g_keyState[DIK_F4] != 0) {
        RequestQuit();
    }
}
