// The rules that change cell states during play, and the cleared test.
#pragma once

#include <cstdint>

// Opens a hidden cell; a cell of value 0 opens its surroundings, depth first.
// Cells outside the board, flagged and open cells are left alone.
void FloodOpen(int32_t x, int32_t y);
// Opens a mine and its neighbours that are not mines, without flooding.
void OpenAroundMine(int32_t x, int32_t y);
void ToggleFlag(int32_t x, int32_t y);
// True when every mine is flagged or open and no flag stands on a cell without one.
bool IsFieldCleared();
