#include "bench/bench_support.h"

#include "app/app_shell.h"
#include "display/display_device.h"
#include "display/glyph_table.h"
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "platform/fake/fake_system.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include "sound/music_performance.h"
#include "sound/sound_effects.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr uint32_t BOARD_SEED = 12345;
constexpr int32_t FIELD_SIDE = 25;
// Far more than the 10 ms the frame waits for, per read of the clock.
constexpr uint32_t TICK_STEP = 1000;

void NewBoard()
{
    FreeField();
    fieldSize = FIELD_SIDE;
    g_mineCount = DEFAULT_MINE_COUNT;
    // The board's seed comes from the clock.
    FakeSetTicks(BOARD_SEED);
    GenerateField();
    g_fieldWon = false;
}

// The cursor that puts the lamp's hot spot on cell (column, row).
void LampOver(int32_t column, int32_t row)
{
    g_cursorX = column * CELL_PITCH - HOTSPOT_OFFSET + CELL_PITCH / 2;
    g_cursorY = row * CELL_PITCH - HOTSPOT_OFFSET + CELL_PITCH / 2;
}

} // namespace

void BenchStartGame()
{
    // Every benchmark starts the game afresh, from program start.
    ResetHeadlessGame();
    if (chdir(DELLOMAR_GAME_DIR) != 0) {
        std::fprintf(stderr, "no game folder %s\n", DELLOMAR_GAME_DIR);
        std::exit(1);
    }
    fieldSize = FIELD_SIDE;
    g_mineCount = DEFAULT_MINE_COUNT;
    g_fieldWon = false;
    GameStartup();
    FakeSetTickStep(TICK_STEP);
    if (g_backSurface == nullptr || g_tileAtlas.pixels == nullptr) {
        std::fprintf(stderr, "the game did not start (display or pictures missing)\n");
        std::exit(1);
    }
}

void BenchStopGame()
{
    GameShutdown();
    FakeResetAll();
}

void BenchTypicalPosition()
{
    NewBoard();
    // Open the safe cells around a few places, then flag the first mines
    // still hidden.
    for (int32_t i = 0; i < fieldSize; i += 6) {
        for (int32_t j = 0; j < fieldSize; j += 6) {
            if (cellValue[i][j] != MINE) {
                FloodOpen(i, j);
            }
        }
    }
    int32_t flags = 0;
    for (int32_t i = 0; i < fieldSize && flags < 8; ++i) {
        for (int32_t j = 0; j < fieldSize && flags < 8; ++j) {
            if (cellValue[i][j] == MINE && cellState[i][j] == STATE_HIDDEN) {
                ToggleFlag(i, j);
                ++flags;
            }
        }
    }
    LampOver(10, 12);
}

void BenchWorstPosition()
{
    NewBoard();
    for (int32_t i = 0; i < fieldSize; ++i) {
        for (int32_t j = 0; j < fieldSize; ++j) {
            cellValue[i][j] = MINE;
            cellState[i][j] = (i + j) % 2 == 0 ? STATE_FLAGGED : STATE_OPEN;
        }
    }
    g_fieldWon = IsFieldCleared();
    LampOver(fieldSize / 2, fieldSize / 2);
}

FrameVolume WorstFrameVolume()
{
    FrameVolume volume{};
    const int64_t fieldPixels = int64_t{fieldSize} * CELL_PITCH;
    volume.backdrop = fieldPixels * fieldPixels;
    volume.buttons = 4 * BUTTON_WIDTH * BUTTON_HEIGHT;
    // Every cell, plus the flags the lamp window draws a second time.
    int64_t tiles = int64_t{fieldSize} * fieldSize;
    const int32_t middle = fieldSize / 2;
    for (int32_t i = middle - 1; i <= middle + 1; ++i) {
        for (int32_t j = middle - 1; j <= middle + 1; ++j) {
            tiles += cellState[i][j] == STATE_FLAGGED ? 1 : 0;
        }
    }
    volume.tiles = tiles * TILE_SIZE * TILE_SIZE;
    volume.lamp = LAMP_SIZE * LAMP_SIZE;
    for (const char* c = WIN_MESSAGE; *c != '\0'; ++c) {
        const Glyph& glyph = g_glyphs[*c - GLYPH_FIRST];
        volume.text += int64_t{glyph.width} * glyph.height;
    }
    return volume;
}
