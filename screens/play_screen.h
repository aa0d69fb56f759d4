// The play screen: one frame of the game per pass of the main loop.
#pragma once

#include "display/sprite.h"
#include "screens/screen_layout.h"

#include <cstdint>

constexpr const char* WIN_MESSAGE = "Well done!!";

extern int32_t g_cursorX;
extern int32_t g_cursorY;
extern bool g_inMenu;
extern bool g_fieldWon;
extern Sprite g_fieldBackdrop;

int PlayFrame();
// Cuts the field backdrop for the current size and loads the tile atlas.
void LoadFieldGraphics();
// Cursor, menu and won flags as at program start; the backdrop freed.
void PlayScreenReset();
