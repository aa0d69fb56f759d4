#include "field/mine_field.h"

#include "field/field_random.h"
#include "platform/system.h"
#include "screens/play_screen.h"

int32_t fieldSize = DEFAULT_FIELD_SIZE;
int32_t g_mineCount = DEFAULT_MINE_COUNT;
int32_t** cellValue = nullptr;
int32_t** cellState = nullptr;

namespace {

// The grid's size is remembered with it: FreeField must release exactly the
// columns that were made, whatever fieldSize says by then.
int32_t s_heldSize = 0;

int32_t** AllocateGrid(int32_t size)
{
    auto** grid = new int32_t*[static_cast<size_t>(size)];
    for (int32_t x = 0; x < size; ++x) {
        grid[x] = new int32_t[static_cast<size_t>(size)](); // zeroed
    }
    return grid;
}

void ReleaseGrid(int32_t**& grid, int32_t size)
{
    if (grid == nullptr) {
        return;
    }
    for (int32_t x = 0; x < size; ++x) {
        delete[] grid[x];
    }
    delete[] grid;
    grid = nullptr;
}

void PlaceMines(int32_t size)
{
    // A board narrower than 3 has no inner cell to hold a mine.
    int32_t inner = size - 2;
    if (inner < 1) {
        return;
    }
    for (int32_t placement = 0; placement < g_mineCount; ++placement) {
        int32_t x = RandomNext() % inner + 1;
        int32_t y = RandomNext() % inner + 1;
        cellValue[x][y] = MINE;
    }
}

} // namespace

bool FieldHeld()
{
    return cellValue != nullptr && cellState != nullptr;
}

bool CellInside(int32_t x, int32_t y)
{
    return FieldHeld() && x >= 0 && y >= 0 && x < s_heldSize && y < s_heldSize;
}

void GenerateField()
{
    int32_t size = fieldSize < 0 ? 0 : fieldSize;
    cellValue = AllocateGrid(size);
    cellState = AllocateGrid(size);
    s_heldSize = size;

    RandomSeed(PlatGetTickCount() + static_cast<uint32_t>(g_mineCount) +
               static_cast<uint32_t>(size));
    PlaceMines(size);

    // Rewriting in place is safe: a count never reaches MINE, so a cell
    // already rewritten still reads as a mine exactly when it is one.
    for (int32_t x = 0; x < size; ++x) {
        for (int32_t y = 0; y < size; ++y) {
            cellValue[x][y] = CountAdjacentMines(x, y);
            cellState[x][y] = STATE_HIDDEN;
        }
    }
    g_fieldWon = false;
}

int32_t CountAdjacentMines(int32_t x, int32_t y)
{
    if (cellValue[x][y] == MINE) {
        return MINE;
    }
    int32_t count = 0;
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if ((dx != 0 || dy != 0) && CellInside(x + dx, y + dy) &&
                cellValue[x + dx][y + dy] == MINE) {
                ++count;
            }
        }
    }
    return count;
}

void FreeField()
{
    ReleaseGrid(cellValue, s_heldSize);
    ReleaseGrid(cellState, s_heldSize);
    s_heldSize = 0;
}

void MineFieldReset()
{
    FreeField();
    fieldSize = DEFAULT_FIELD_SIZE;
    g_mineCount = DEFAULT_MINE_COUNT;
}
