#include "field/field_random.h"
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "platform/fake/fake_system.h"
#include "screens/play_screen.h"
#include "tests/test_support.h"

#include <set>
#include <utility>

namespace {

class FieldTest : public GameTest {
protected:
    int CountState(int32_t state)
    {
        int count = 0;
        for (int x = 0; x < fieldSize; ++x) {
            for (int y = 0; y < fieldSize; ++y) {
                count += cellState[x][y] == state;
            }
        }
        return count;
    }
};

TEST(RandomTest, DrawsFollowTheLinearCongruentialArithmetic)
{
    RandomSeed(1);
    EXPECT_EQ(RandomNext(), 41);
    EXPECT_EQ(RandomNext(), 18467);
    EXPECT_EQ(RandomNext(), 6334);
    RandomSeed(0);
    EXPECT_EQ(RandomNext(), 38);
    // The state wraps at 2^32 and only bits 16 to 30 are given out.
    RandomSeed(0xFFFFFFFFu);
    EXPECT_EQ(RandomNext(),
              static_cast<int32_t>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST_F(FieldTest, SeedIsTickPlusCountPlusSideSoTheFirstMineIsKnown)
{
    // Seed = ticks + 84 + 25 = 1 (wrapping), whose first draws are 41 and 18467.
    FakeSetTicks(1u - 109u);
    FreeField();
    GenerateField();
    EXPECT_EQ(cellValue[41 % 23 + 1][18467 % 23 + 1], MINE);

    // Same seed, size and count: the same board.
    std::vector<int32_t> first;
    for (int x = 0; x < 25; ++x)
        first.insert(first.end(), cellValue[x], cellValue[x] + 25);
    FreeField();
    FakeSetTicks(1u - 109u);
    GenerateField();
    std::vector<int32_t> second;
    for (int x = 0; x < 25; ++x)
        second.insert(second.end(), cellValue[x], cellValue[x] + 25);
    EXPECT_EQ(first, second);
}

TEST_F(FieldTest, GeneratedBoardsKeepTheirInvariants)
{
    for (int32_t n : {11, 17, 25}) {
        for (int32_t count : {0, 1, 84, 625}) {
            for (uint32_t ticks : {0u, 12345u, 0xFFFFFFF0u}) {
                FreeField();
                fieldSize = n;
                g_mineCount = count;
                g_fieldWon = true;
                FakeSetTicks(ticks);
                RandomSeed(ticks + static_cast<uint32_t>(count) + static_cast<uint32_t>(n));
                std::set<std::pair<int, int>> drawn;
                for (int i = 0; i < count; ++i) {
                    int x = RandomNext() % (n - 2) + 1;
                    int y = RandomNext() % (n - 2) + 1;
                    drawn.insert({x, y});
                }
                GenerateField();
                SCOPED_TRACE(testing::Message() << "n=" << n << " count=" << count);
                EXPECT_FALSE(g_fieldWon);
                int mines = 0;
                for (int x = 0; x < n; ++x) {
                    for (int y = 0; y < n; ++y) {
                        EXPECT_EQ(cellState[x][y], STATE_HIDDEN);
                        bool border = x == 0 || y == 0 || x == n - 1 || y == n - 1;
                        if (cellValue[x][y] == MINE) {
                            ++mines;
                            EXPECT_FALSE(border);
                            EXPECT_TRUE(drawn.count({x, y}));
                            continue;
                        }
                        int around = 0;
                        for (int dx = -1; dx <= 1; ++dx)
                            for (int dy = -1; dy <= 1; ++dy)
                                if ((dx || dy) && x + dx >= 0 && y + dy >= 0 && x + dx < n &&
                                    y + dy < n)
                                    around += cellValue[x + dx][y + dy] == MINE;
                        EXPECT_EQ(cellValue[x][y], around);
                    }
                }
                EXPECT_EQ(mines, static_cast<int>(drawn.size()));
                if (n == 11 && count == 625) {
                    EXPECT_EQ(mines, 81); // every inner cell: 625 draws cover all 81
                }
            }
        }
    }
}

TEST_F(FieldTest, CountsAroundAndFreeingTwiceIsHarmless)
{
    MakeBoard(5, {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}, {3, 3}});
    EXPECT_EQ(cellValue[2][2], 8);
    EXPECT_EQ(cellValue[0][0], 1);
    EXPECT_EQ(CountAdjacentMines(1, 1), MINE);
    FreeField();
    EXPECT_EQ(cellValue, nullptr);
    FreeField();
    EXPECT_FALSE(FieldHeld());
}

TEST_F(FieldTest, FloodOpensZerosAndTheirRimButStopsAtFlagsAndOpenCells)
{
    // One mine in the middle of a 7 x 7 board: every other cell is reachable.
    MakeBoard(7, {{3, 3}});
    cellState[0][6] = STATE_FLAGGED;
    FloodOpen(0, 0);
    EXPECT_EQ(cellState[0][6], STATE_FLAGGED);
    EXPECT_EQ(cellState[3][3], STATE_HIDDEN);
    EXPECT_EQ(CountState(STATE_OPEN), 47);

    // A wall of open cells is not passed through.
    MakeBoard(7, {});
    for (int y = 0; y < 7; ++y)
        cellState[3][y] = STATE_OPEN_ALT;
    FloodOpen(0, 0);
    EXPECT_EQ(cellState[2][6], STATE_OPEN);
    EXPECT_EQ(cellState[4][0], STATE_HIDDEN);
    EXPECT_EQ(cellState[3][0], STATE_OPEN_ALT);
}

TEST_F(FieldTest, FloodOnANumberOpensOneCellAndIgnoresWhatItCannotOpen)
{
    MakeBoard(7, {{3, 3}});
    FloodOpen(2, 2);
    EXPECT_EQ(CountState(STATE_OPEN), 1);
    cellState[0][0] = STATE_FLAGGED;
    FloodOpen(0, 0);
    FloodOpen(-1, 0);
    FloodOpen(0, 7);
    FloodOpen(2, 2);
    EXPECT_EQ(CountState(STATE_OPEN), 1);
    EXPECT_EQ(cellState[0][0], STATE_FLAGGED);
}

TEST_F(FieldTest, FloodOverAWholeEmptyBoardOpensEveryCell)
{
    MakeBoard(25, {});
    FloodOpen(12, 12);
    EXPECT_EQ(CountState(STATE_OPEN), 625);
}

TEST_F(FieldTest, OpeningAMineOpensItsNeighboursButNotBeyond)
{
    MakeBoard(7, {{2, 2}, {3, 3}});
    cellState[1][1] = STATE_FLAGGED; // no mine: the flag goes
    cellState[3][3] = STATE_FLAGGED; // a mine: the flag stays
    OpenAroundMine(2, 2);
    EXPECT_EQ(cellState[2][2], STATE_OPEN);
    EXPECT_EQ(cellState[1][1], STATE_OPEN);
    EXPECT_EQ(cellState[3][3], STATE_FLAGGED);
    EXPECT_EQ(cellValue[1][3], 1);
    EXPECT_EQ(cellState[0][0], STATE_HIDDEN); // (1,1) was a number, but (0,0) is beyond
    EXPECT_EQ(CountState(STATE_OPEN), 8);

    // A mine on the border (possible from a saved game) has fewer neighbours.
    MakeBoard(5, {{0, 0}});
    OpenAroundMine(0, 0);
    EXPECT_EQ(CountState(STATE_OPEN), 4);
}

TEST_F(FieldTest, FlagsToggleOnlyOnClosedCells)
{
    MakeBoard(5, {});
    ToggleFlag(1, 1);
    EXPECT_EQ(cellState[1][1], STATE_FLAGGED);
    ToggleFlag(1, 1);
    EXPECT_EQ(cellState[1][1], STATE_HIDDEN);
    cellState[2][2] = STATE_OPEN;
    cellState[3][3] = STATE_OPEN_ALT;
    ToggleFlag(2, 2);
    ToggleFlag(3, 3);
    EXPECT_EQ(cellState[2][2], STATE_OPEN);
    EXPECT_EQ(cellState[3][3], STATE_OPEN_ALT);
}

TEST_F(FieldTest, ClearedWhenEveryMineIsDealtWithAndNoFlagIsWrong)
{
    MakeBoard(7, {{2, 2}, {4, 4}});
    EXPECT_FALSE(IsFieldCleared());
    cellState[2][2] = STATE_FLAGGED;
    EXPECT_FALSE(IsFieldCleared());
    OpenAroundMine(4, 4);
    EXPECT_TRUE(IsFieldCleared());
    cellState[0][0] = STATE_FLAGGED;
    EXPECT_FALSE(IsFieldCleared());
    ToggleFlag(0, 0);
    EXPECT_TRUE(IsFieldCleared());

    MakeBoard(7, {});
    EXPECT_TRUE(IsFieldCleared()); // nothing to find: cleared at once
    FreeField();
    EXPECT_FALSE(IsFieldCleared()); // no board, nothing to announce
}

} // namespace
