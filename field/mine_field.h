// The board: its side, its mine placements and two grids of N columns of N
// cells, addressed [x][y] with x the column and y the row.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t MINE = 9;

constexpr int32_t STATE_HIDDEN = 0;
constexpr int32_t STATE_OPEN_ALT = 1; // only ever read from a saved game; counts as open
constexpr int32_t STATE_FLAGGED = 2;
constexpr int32_t STATE_OPEN = 3;

constexpr int32_t DEFAULT_FIELD_SIZE = 25;
constexpr int32_t DEFAULT_MINE_COUNT = 84;

extern int32_t fieldSize;
extern int32_t g_mineCount;
extern int32_t** cellValue;
extern int32_t** cellState;

// Makes a new board of side fieldSize with g_mineCount placements, none on the
// border. No grids may be held (FreeField first).
void GenerateField();
// MINE for a mine, else the number of neighbours inside the board holding one.
int32_t CountAdjacentMines(int32_t x, int32_t y);
// Releases both grids; with none held it does nothing.
void FreeField();
// No board, default size and count.
void MineFieldReset();

// True while the grids exist.
bool FieldHeld();
bool CellInside(int32_t x, int32_t y);
inline bool StateIsOpen(int32_t state)
{
    return state == STATE_OPEN || state == STATE_OPEN_ALT;
}
