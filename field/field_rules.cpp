#include "field/field_rules.h"

#include "field/mine_field.h"

namespace {

// Left, above, right, below, below right, below left, above left, above right:
// the order decides which way a flood runs first.
constexpr int32_t NEIGHBOUR_DX[8] = {-1, 0, 1, 0, 1, -1, -1, 1};
constexpr int32_t NEIGHBOUR_DY[8] = {0, -1, 0, 1, 1, 1, -1, -1};

} // namespace

void FloodOpen(int32_t x, int32_t y)
{
    if (!CellInside(x, y) || cellState[x][y] != STATE_HIDDEN) {
        return;
    }
    cellState[x][y] = STATE_OPEN;
    if (cellValue[x][y] != 0) {
        return;
    }
    // Recursion depth is bounded by the cell count, at most 625.
    for (int i = 0; i < 8; ++i) {
        FloodOpen(x + NEIGHBOUR_DX[i], y + NEIGHBOUR_DY[i]);
    }
}

void OpenAroundMine(int32_t x, int32_t y)
{
    if (!CellInside(x, y)) {
        return;
    }
    cellState[x][y] = STATE_OPEN;
    for (int i = 0; i < 8; ++i) {
        int32_t nx = x + NEIGHBOUR_DX[i];
        int32_t ny = y + NEIGHBOUR_DY[i];
        // A saved game may put a mine on the border, so neighbours are checked.
        if (CellInside(nx, ny) && cellValue[nx][ny] != MINE) {
            cellState[nx][ny] = STATE_OPEN;
        }
    }
}

void ToggleFlag(int32_t x, int32_t y)
{
    if (!CellInside(x, y)) {
        return;
    }
    if (cellState[x][y] == STATE_HIDDEN) {
        cellState[x][y] = STATE_FLAGGED;
    } else if (cellState[x][y] == STATE_FLAGGED) {
        cellState[x][y] = STATE_HIDDEN;
    }
}

bool IsFieldCleared()
{
    if (!FieldHeld()) {
        return false;
    }
    for (int32_t x = 0; x < fieldSize; ++x) {
        for (int32_t y = 0; y < fieldSize; ++y) {
            bool mine = cellValue[x][y] == MINE;
            int32_t state = cellState[x][y];
            if ((state == STATE_FLAGGED && !mine) || (state == STATE_HIDDEN && mine)) {
                return false;
            }
        }
    }
    return true;
}
