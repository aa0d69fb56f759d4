// Where everything lies: the pieces of the tile atlas, and where the screens
// put them. The data generator paints the atlas to this layout and the screens
// cut it by position, so both, and the tests and benchmarks, read it here.
#pragma once

#include <cstdint>

struct AtlasPiece {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

constexpr int32_t ATLAS_WIDTH = 248; // 248 * 3 bytes: rows need no padding
constexpr int32_t ATLAS_HEIGHT = 192;
constexpr int32_t TILE_SIZE = 24;
constexpr int32_t CELL_PITCH = 23; // neighbouring tiles share one pixel
constexpr int32_t LAMP_SIZE = 120;
constexpr int32_t ARROW_SIZE = 24;
constexpr int32_t BUTTON_WIDTH = 103;
constexpr int32_t BUTTON_HEIGHT = 40;

constexpr AtlasPiece ATLAS_OPENED_MINE{0, 0, TILE_SIZE, TILE_SIZE};
constexpr AtlasPiece ATLAS_FLAG{216, 0, TILE_SIZE, TILE_SIZE};
constexpr AtlasPiece ATLAS_OPENED_CELL{48, 24, TILE_SIZE, TILE_SIZE};
constexpr AtlasPiece ATLAS_ARROW{24, 24, ARROW_SIZE, ARROW_SIZE};
constexpr AtlasPiece ATLAS_LAMP{0, 48, LAMP_SIZE, LAMP_SIZE};
// Number v (1..8) of an opened cell.
constexpr AtlasPiece AtlasNumber(int32_t v)
{
    return AtlasPiece{v * TILE_SIZE, 0, TILE_SIZE, TILE_SIZE};
}

// The lamp's hot spot lies this far right of and below the cursor.
constexpr int32_t HOTSPOT_OFFSET = 57;
constexpr int32_t CURSOR_START = 10;

// The menu right of the field; a held left button runs the button under the
// cursor (strictly inside its picture).
constexpr int32_t MENU_X = 635;
struct MenuButton {
    AtlasPiece piece;
    int32_t screenY;
};
constexpr int MENU_NEW = 0;
constexpr int MENU_LOAD = 1;
constexpr int MENU_SAVE = 2;
constexpr int MENU_QUIT = 3;
constexpr MenuButton MENU_BUTTONS[4] = {
    {{145, 24, BUTTON_WIDTH, BUTTON_HEIGHT}, 30},
    {{145, 68, BUTTON_WIDTH, BUTTON_HEIGHT}, 80},
    {{145, 110, BUTTON_WIDTH, BUTTON_HEIGHT}, 130},
    {{145, 152, BUTTON_WIDTH, BUTTON_HEIGHT}, 180},
};

// How far down the arrow reaches over the menu, as beside a field of 11 (the
// smallest new one): the hot spot's clamp there keeps Quit within reach.
constexpr int32_t MENU_REACH = 11 * CELL_PITCH;
static_assert(MENU_REACH - HOTSPOT_OFFSET > MENU_BUTTONS[MENU_QUIT].screenY,
              "every button must be reachable over the menu");

constexpr int32_t WIN_MESSAGE_X = 635;
constexpr int32_t WIN_MESSAGE_Y = 260;
constexpr int32_t ENTRY_PROMPT_X = 100;
constexpr int32_t ENTRY_PROMPT_Y = 30;
constexpr int32_t ENTRY_TEXT_X = 100;
constexpr int32_t ENTRY_TEXT_Y = 50;
