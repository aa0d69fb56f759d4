#include "field/mine_field.h"
#include "field/saved_game.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_system.h"
#include "screens/play_screen.h"
#include "tests/test_support.h"

#include <filesystem>

namespace {

class SavedGameTest : public GameTest {
protected:
    // Every value and state, x outer and y inner, the way the file lists them.
    static std::vector<int32_t> Snapshot()
    {
        std::vector<int32_t> cells;
        for (int32_t x = 0; x < fieldSize; ++x) {
            for (int32_t y = 0; y < fieldSize; ++y) {
                cells.push_back(cellValue[x][y]);
                cells.push_back(cellState[x][y]);
            }
        }
        return cells;
    }

    static std::string SaveFile(const std::string& header, const std::string& body)
    {
        return header + body;
    }

    static std::string Body(int32_t n, const std::string& record)
    {
        std::string body;
        for (int32_t i = 0; i < n * n; ++i)
            body += record;
        return body;
    }
};

TEST_F(SavedGameTest, SaveThenLoadGivesBackEveryValueAndState)
{
    GenerateField();
    // Every state, the one only files carry included.
    cellState[0][0] = STATE_OPEN_ALT;
    cellState[0][1] = STATE_FLAGGED;
    cellState[1][0] = STATE_OPEN;
    std::vector<int32_t> before = Snapshot();
    SaveGame();

    auto bytes = ReadFileBytes("save.gm");
    ASSERT_EQ(bytes.size(), 1254u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "25\r\n");
    EXPECT_EQ(bytes[4], '0' + cellValue[0][0]);
    EXPECT_EQ(bytes[5], '1');
    EXPECT_EQ(bytes[7], '2');              // record 1 is (0, 1): y runs inside x
    EXPECT_EQ(bytes[4 + 2 * 25 + 1], '3'); // record 25 is (1, 0)
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{SAVE_FILE_NAME});

    FreeField();
    fieldSize = 11;
    g_mineCount = 5;
    GenerateField();
    LoadGame();
    EXPECT_EQ(fieldSize, 25);
    EXPECT_EQ(g_mineCount, 1);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(SavedGameTest, LoadReadsTheBodyTwoCharactersPerCellWhateverTheyAre)
{
    // An 11 side written with a lone LF; a bad value byte and a bad state byte
    // use up their places without moving later records.
    std::string body = Body(11, "33");
    body[0] = 'x';
    body[3] = '5';
    WriteFileBytes("save.gm", SaveFile("11\n", body));
    g_fieldWon = true;
    LoadGame();
    ASSERT_EQ(fieldSize, 11);
    EXPECT_FALSE(g_fieldWon);
    EXPECT_NE(cellValue[0][0], 3); // kept from the generated board (0, 1 or MINE)
    EXPECT_EQ(cellState[0][0], STATE_OPEN);
    EXPECT_EQ(cellValue[0][1], 3);
    EXPECT_EQ(cellState[0][1], STATE_HIDDEN);
    EXPECT_EQ(cellValue[10][10], 3);
    EXPECT_EQ(cellState[10][10], STATE_OPEN);
}

TEST_F(SavedGameTest, AShortFileKeepsTheGeneratedBoardForTheRest)
{
    WriteFileBytes("save.gm", "12\r\n9233");
    LoadGame();
    ASSERT_EQ(fieldSize, 12);
    EXPECT_EQ(cellValue[0][0], MINE);
    EXPECT_EQ(cellState[0][0], STATE_FLAGGED);
    EXPECT_EQ(cellState[0][1], STATE_OPEN);
    int mines = 0;
    for (int x = 0; x < 12; ++x) {
        for (int y = 0; y < 12; ++y) {
            if (x == 0 && y < 2)
                continue;
            EXPECT_EQ(cellState[x][y], STATE_HIDDEN);
            mines += cellValue[x][y] == MINE;
        }
    }
    EXPECT_EQ(mines, 1); // the one placement of the stand-in board
}

TEST_F(SavedGameTest, UnusableFilesLeaveTheGameExactlyAsItWas)
{
    GenerateField();
    cellState[3][3] = STATE_FLAGGED;
    g_fieldWon = true;
    std::vector<int32_t> before = Snapshot();
    int32_t** grid = cellValue;

    auto expectUntouched = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(fieldSize, 25);
        EXPECT_EQ(g_mineCount, 84);
        EXPECT_TRUE(g_fieldWon);
        EXPECT_EQ(cellValue, grid);
        EXPECT_EQ(Snapshot(), before);
    };
    LoadGame();
    expectUntouched("missing");
    for (const char* bad :
         {"", "\r\n0000", "ab\r\n", "2\r\n00", "26\r\n", "0\r\n", "-25\r\n", "99999", "+1\r\n"}) {
        WriteFileBytes("save.gm", bad);
        LoadGame();
        expectUntouched(bad);
    }
}

TEST_F(SavedGameTest, SignsAndBlanksBeforeTheSideAreAccepted)
{
    WriteFileBytes("save.gm", " +3\n" + Body(3, "00"));
    LoadGame();
    EXPECT_EQ(fieldSize, 3);
    EXPECT_EQ(cellValue[1][1], 0);
}

TEST_F(SavedGameTest, AFailedSaveLeavesThePreviousSaveAsItWas)
{
    WriteFileBytes("save.gm", "11\r\n" + Body(11, "92"));
    const std::vector<uint8_t> previous = ReadFileBytes("save.gm");
    GenerateField();
    // Refuse, in turn, opening, the first and a later write, the flush, the
    // close and the rename.
    struct Fault {
        const char* call;
        int skip;
    };
    for (Fault fault : {Fault{"FileOpenWrite", 0}, Fault{"FileWrite", 0}, Fault{"FileWrite", 7},
                        Fault{"FileWrite", 25}, Fault{"FileFlush", 0}, Fault{"FileClose", 0},
                        Fault{"FileRename", 0}}) {
        SCOPED_TRACE(testing::Message() << fault.call << " after " << fault.skip);
        FakeClearFailures();
        FakeFailCall(fault.call, -1, fault.skip, 1);
        SaveGame();
        EXPECT_EQ(ReadFileBytes("save.gm"), previous);
        EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{SAVE_FILE_NAME});
    }
    FakeClearFailures();
    SaveGame();
    EXPECT_EQ(ReadFileBytes("save.gm").size(), 1254u);
}

} // namespace
