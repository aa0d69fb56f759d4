// The play screen: one frame of the game per pass of the main loop.
#pragma once

#include "display/sprite.h"

#include <cstdint>

constexpr int32_t CELL_PITCH = 23;
constexpr int32_t TILE_SIZE = 24;
constexpr int32_t LAMP_SIZE = 120;
constexpr int32_t HOTSPOT_OFFSET = 57;
constexpr int32_t MENU_X = 635;
constexpr int32_t BUTTON_WIDTH = 103;
constexpr int32_t BUTTON_HEIGHT = 40;
constexpr int32_t WIN_MESSAGE_X = 635;
constexpr int32_t WIN_MESSAGE_Y = 260;
constexpr const char* WIN_MESSAGE = "Well done!!";
constexpr int32_t CURSOR_START = 10;

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
