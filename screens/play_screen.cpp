#include "screens/play_screen.h"

#include "window/game_window.h"
#include "screens/frame_clock.h"
#include "display/display_device.h"
#include "display/text.h"
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "screens/entry_screen.h"
#include "screens/screen_drawing.h"
#include "sound/sound_effects.h"

int32_t g_cursorX = CURSOR_START;
int32_t g_cursorY = CURSOR_START;
bool g_inMenu = false;
bool g_fieldWon = false;
Sprite g_fieldBackdrop{};

void PlayScreenReset()
{
    g_cursorX = CURSOR_START;
    g_cursorY = CURSOR_START;
    g_inMenu = false;
    g_fieldWon = false;
    SpriteDestroy(&g_fieldBackdrop);
}

namespace {

struct FrameInput {
    bool previousLeft;
    bool previousRight;
    bool left;
    bool right;
};

void MoveCursor()
{
    g_cursorX = WrappingAdd(g_cursorX, g_mouseState.dx);
    g_cursorY = WrappingAdd(g_cursorY, g_mouseState.dy);
    int32_t fieldPixels = fieldSize * CELL_PITCH;
    if (g_cursorY < -HOTSPOT_OFFSET) {
        g_cursorY = -HOTSPOT_OFFSET;
    }
    if (g_cursorX < -HOTSPOT_OFFSET) {
        g_cursorX = -HOTSPOT_OFFSET;
    }
    g_inMenu = g_cursorX > fieldPixels;
    // Over the menu the arrow reaches at least as low as beside the smallest
    // new field, so every button stays in reach beside a small loaded board.
    int32_t bottom = g_inMenu && fieldPixels < MENU_REACH ? MENU_REACH : fieldPixels;
    if (g_cursorY > bottom - HOTSPOT_OFFSET) {
        g_cursorY = bottom - HOTSPOT_OFFSET;
    }
}

// The cell under the lamp's hot spot; 64-bit because nothing bounds the
// cursor on the right.
int64_t HotCell(int32_t cursor)
{
    return (static_cast<int64_t>(cursor) + HOTSPOT_OFFSET) / CELL_PITCH;
}

void DrawMenuPanel()
{
    for (const MenuButton& button : MENU_BUTTONS) {
        DrawAtlasPiece(button.piece, MENU_X, button.screenY);
    }
}

void DrawWinMessage()
{
    if (!g_fieldWon) {
        if (!IsFieldCleared()) {
            return;
        }
        SoundPlay(g_sndWellDone, 0);
        g_fieldWon = true;
    }
    DrawTextAt(WIN_MESSAGE_X, WIN_MESSAGE_Y, WIN_MESSAGE);
}

// Numbers show only in the 3 x 3 cells around the hot spot.
void DrawLampWindow(int64_t column, int64_t row)
{
    int64_t firstColumn = column - 1 < 0 ? 0 : column - 1;
    int64_t lastColumn = column + 2 > fieldSize ? fieldSize : column + 2;
    int64_t firstRow = row - 1 < 0 ? 0 : row - 1;
    int64_t lastRow = row + 2 > fieldSize ? fieldSize : row + 2;
    for (auto i = static_cast<int32_t>(firstColumn); i < lastColumn; ++i) {
        for (auto j = static_cast<int32_t>(firstRow); j < lastRow; ++j) {
            int32_t value = cellValue[i][j];
            bool open = StateIsOpen(cellState[i][j]);
            if (open && value >= 1 && value <= 8) {
                DrawAtlasPiece(AtlasNumber(value), i * CELL_PITCH, j * CELL_PITCH);
            }
            if (open && value == 0) {
                DrawAtlasPiece(ATLAS_OPENED_CELL, i * CELL_PITCH, j * CELL_PITCH);
            }
            if (cellState[i][j] == STATE_FLAGGED) {
                DrawAtlasPiece(ATLAS_FLAG, i * CELL_PITCH, j * CELL_PITCH);
            }
        }
    }
}

// Flags and opened mines show everywhere.
void DrawWholeField()
{
    for (int32_t i = 0; i < fieldSize; ++i) {
        for (int32_t j = 0; j < fieldSize; ++j) {
            if (cellValue[i][j] == MINE && StateIsOpen(cellState[i][j])) {
                DrawAtlasPiece(ATLAS_OPENED_MINE, i * CELL_PITCH, j * CELL_PITCH);
            } else if (cellState[i][j] == STATE_FLAGGED) {
                DrawAtlasPiece(ATLAS_FLAG, i * CELL_PITCH, j * CELL_PITCH);
            }
        }
    }
}

bool CursorOver(int button)
{
    const MenuButton& b = MENU_BUTTONS[button];
    return g_cursorX > MENU_X && g_cursorX < MENU_X + b.piece.w && g_cursorY > b.screenY &&
           g_cursorY < b.screenY + b.piece.h;
}

// The menu reacts to the left button being held, not to a click. True when
// an action ran and the frame must end at once.
bool RunMenu()
{
    if (g_mouseState.buttons[0] == 0) {
        return false;
    }
    if (CursorOver(MENU_QUIT)) {
        RequestQuit(); // the frame goes on; the quit comes through the queue
        return false;
    }
    if (CursorOver(MENU_NEW)) {
        NewGameDialog();
        return true;
    }
    if (CursorOver(MENU_LOAD)) {
        LoadGame();
        return true;
    }
    if (CursorOver(MENU_SAVE)) {
        SaveGame();
        return true;
    }
    return false;
}

void DrawLamp()
{
    if (g_cursorY >= 0) {
        DrawAtlasPiece(ATLAS_LAMP, g_cursorX, g_cursorY);
    } else {
        // Cropped at the top by grabbing lower in the atlas.
        DrawAtlasPiece(ATLAS_LAMP.x, ATLAS_LAMP.y - g_cursorY, ATLAS_LAMP.w,
                       ATLAS_LAMP.h + g_cursorY, g_cursorX, 0);
    }
}

void PlayClickGuarded()
{
    // The opening must happen whatever the sound does.
    try {
        SoundPlay(g_sndClick, 0);
    } catch (...) {}
}

void ApplyFieldClick(const FrameInput& input, int64_t column, int64_t row)
{
    if (column >= fieldSize) {
        column = fieldSize - 1; // hot spot right of the field, cursor still over it
    }
    bool inside = column >= 0 && row >= 0 && column < fieldSize && row < fieldSize;
    auto x = static_cast<int32_t>(column);
    auto y = static_cast<int32_t>(row);
    if (input.previousLeft && !input.left) {
        if (!inside) {
            return;
        }
        if (cellState[x][y] != STATE_FLAGGED) {
            if (cellValue[x][y] == MINE) {
                SoundPlay(g_sndBang, 0);
                OpenAroundMine(x, y);
            } else {
                PlayClickGuarded();
                FloodOpen(x, y);
            }
            return;
        }
    }
    if (input.previousRight && !input.right) {
        SoundPlay(g_sndClick, 0);
        if (inside) {
            ToggleFlag(x, y);
        }
    }
}

} // namespace

int PlayFrame()
{
    FrameClockStart();
    KeyboardRead();
    if (g_keyState[DIK_F12] != 0) {
        CreditsScreen();
        return 1;
    }
    SurfaceFill(g_backSurface, 0, nullptr);
    BackBufferLock();
    SpriteDraw(&g_fieldBackdrop, g_backBits, g_backPitch, 1);

    FrameInput input{};
    input.previousLeft = g_mouseState.buttons[0] != 0;
    input.previousRight = g_mouseState.buttons[1] != 0;
    MouseRead();
    input.left = g_mouseState.buttons[0] != 0;
    input.right = g_mouseState.buttons[1] != 0;
    MoveCursor();
    int64_t column = HotCell(g_cursorX);
    int64_t row = HotCell(g_cursorY);

    DrawMenuPanel();
    // After the credits no field exists; such frames show the menu and cursor only.
    if (FieldHeld()) {
        DrawWinMessage();
        DrawLampWindow(column, row);
        DrawWholeField();
    }
    if (g_inMenu) {
        if (RunMenu()) {
            return 1; // left locked and unpresented; the next lock reuses it
        }
        DrawArrowCursor(g_cursorX, g_cursorY);
    } else {
        DrawLamp();
        if (FieldHeld()) {
            ApplyFieldClick(input, column, row);
        }
    }

    BackBufferUnlock();
    DisplayFlip();
    FrameClockWait(10);
    TestQuitKeys();
    return 1;
}

namespace {

// The platform learns where the menu and the field lie from the game, so that
// a finger can act as the game would have a mouse act there.
void TellPointerAreas()
{
    int32_t fieldPixels = fieldSize * CELL_PITCH;
    PlatPointerAreas areas{};
    areas.menu = PlatArea{MENU_X, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    areas.field = PlatArea{0, 0, fieldPixels, fieldPixels};
    areas.hotSpotX = HOTSPOT_OFFSET;
    areas.hotSpotY = HOTSPOT_OFFSET;
    areas.cell = CELL_PITCH;
    PlatSetPointerAreas(areas);
}

} // namespace

void LoadFieldGraphics()
{
    bool backdropLoaded = BitmapLoad(&g_tileAtlas, "Textures\\back.txr") != 0;
    SpriteDestroy(&g_fieldBackdrop);
    SpriteCreate(&g_fieldBackdrop, 0, 0, fieldSize * CELL_PITCH, fieldSize * CELL_PITCH, 16);
    // Without its picture the backdrop stays empty rather than showing
    // whatever the atlas record held before.
    if (backdropLoaded) {
        SpriteGrab(&g_fieldBackdrop, &g_tileAtlas, 0, 0, GRAB_PIXEL);
    }
    BitmapLoad(&g_tileAtlas, "Textures\\txtr.txr");
    TellPointerAreas();
}
