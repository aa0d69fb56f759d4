#include "app/app_shell.h"
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"
#include "sound/sound_effects.h"
#include "tests/play_support.h"

#include <filesystem>

namespace {

using PlayScreenTest = PlayTest;

int CountOpen()
{
    int count = 0;
    for (int x = 0; x < fieldSize; ++x)
        for (int y = 0; y < fieldSize; ++y)
            count += StateIsOpen(cellState[x][y]);
    return count;
}

TEST_F(PlayScreenTest, TheLampStartsOverCellTwoTwo)
{
    MakeBoard(25, {{3, 3}});
    EXPECT_EQ(g_cursorX, 10);
    EXPECT_EQ(g_cursorY, 10);
    LeftClick();
    EXPECT_EQ(cellState[2][2], STATE_OPEN);
    EXPECT_EQ(CountOpen(), 1); // a number: no flood
    EXPECT_EQ(Plays(g_sndClick), 1);
    EXPECT_EQ(Plays(g_sndBang), 0);
}

TEST_F(PlayScreenTest, AZeroFloodsAndAMineBangsAndOpensItsNeighbours)
{
    MakeBoard(25, {{5, 5}, {6, 5}});
    AimAt(5, 5);
    LeftClick();
    EXPECT_EQ(Plays(g_sndBang), 1);
    EXPECT_EQ(Plays(g_sndClick), 0);
    EXPECT_EQ(cellState[5][5], STATE_OPEN);
    EXPECT_EQ(cellState[4][4], STATE_OPEN);
    EXPECT_EQ(cellState[6][5], STATE_HIDDEN); // a neighbouring mine stays closed
    EXPECT_EQ(cellState[7][5], STATE_HIDDEN); // nothing beyond the neighbours
    EXPECT_EQ(CountOpen(), 8);

    AimAt(20, 20);
    LeftClick();
    EXPECT_EQ(Plays(g_sndClick), 1);
    EXPECT_EQ(cellState[0][0], STATE_OPEN);
    EXPECT_EQ(cellState[7][5], STATE_OPEN);
    EXPECT_EQ(CountOpen(), 625 - 1);
    EXPECT_FALSE(g_fieldWon);
}

TEST_F(PlayScreenTest, RightReleasesToggleFlagsAndALeftReleaseLeavesAFlagAlone)
{
    MakeBoard(25, {{5, 5}});
    AimAt(8, 8);
    RightClick();
    EXPECT_EQ(cellState[8][8], STATE_FLAGGED);
    EXPECT_EQ(Plays(g_sndClick), 1);
    LeftClick();
    EXPECT_EQ(cellState[8][8], STATE_FLAGGED);
    EXPECT_EQ(Plays(g_sndClick), 1); // the left release on a flag is silent
    RightClick();
    EXPECT_EQ(cellState[8][8], STATE_HIDDEN);

    // Held buttons do nothing until they are released.
    Frame(0, 0, false, true);
    Frame(0, 0, false, true);
    EXPECT_EQ(cellState[8][8], STATE_HIDDEN);
    Frame(0, 0, false, false);
    EXPECT_EQ(cellState[8][8], STATE_FLAGGED);
}

TEST_F(PlayScreenTest, BothButtonsReleasedTogetherOpenOrUnflagButNeverBoth)
{
    MakeBoard(25, {{5, 5}});
    AimAt(10, 10);
    Frame(0, 0, true, true);
    Frame(0, 0, false, false);
    EXPECT_EQ(cellState[10][10], STATE_OPEN); // opened, not flagged

    MakeBoard(25, {{5, 5}});
    cellState[10][10] = STATE_FLAGGED;
    Frame(0, 0, true, true);
    Frame(0, 0, false, false);
    EXPECT_EQ(cellState[10][10], STATE_HIDDEN); // the flag went, nothing opened
}

TEST_F(PlayScreenTest, TheCursorIsClampedLeftUpAndDownButNotRight)
{
    MakeBoard(25, {{12, 12}});
    Frame(-5000, -5000);
    EXPECT_EQ(g_cursorX, -57);
    EXPECT_EQ(g_cursorY, -57);
    LeftClick();
    EXPECT_EQ(cellState[0][0], STATE_OPEN);

    // As far down as it goes the target row is just below the field.
    MakeBoard(25, {{12, 12}});
    Frame(100, 5000);
    EXPECT_EQ(g_cursorY, 25 * 23 - 57);
    int clicks = Plays(g_sndClick);
    LeftClick();
    RightClick();
    EXPECT_EQ(CountOpen(), 0);
    EXPECT_EQ(Plays(g_sndClick), clicks + 1); // the right release still clicks

    // Hot spot right of the field, cursor over it: the last column is the target.
    MoveTo(25 * 23 - 5, 100);
    EXPECT_FALSE(g_inMenu);
    LeftClick();
    EXPECT_EQ(cellState[24][(100 + 57) / 23], STATE_OPEN);

    Frame(1000000, 0);
    Frame(2000000000, 0); // wraps instead of overflowing, then clamps
    EXPECT_GE(g_cursorX, -57);
}

TEST_F(PlayScreenTest, NumbersShowOnlyUnderTheLampWhileFlagsAndOpenMinesShowEverywhere)
{
    MakeBoard(25, {{12, 12}, {20, 5}});
    cellState[11][11] = STATE_OPEN;    // value 1, under the lamp
    cellState[2][20] = STATE_OPEN_ALT; // value 0, far away
    cellState[3][3] = STATE_FLAGGED;   // far away
    cellState[20][5] = STATE_OPEN;     // an opened mine, far away
    cellState[21][20] = STATE_OPEN;    // value 0, far away
    AimAt(11, 12);
    Frame(0, 0);
    EXPECT_TRUE(ShowsPiece(AtlasNumber(1), 11 * 23, 11 * 23));
    EXPECT_TRUE(ShowsBackdrop(2, 20));
    EXPECT_TRUE(ShowsBackdrop(21, 20));
    EXPECT_TRUE(ShowsPiece(ATLAS_FLAG, 3 * 23, 3 * 23));
    EXPECT_TRUE(ShowsPiece(ATLAS_OPENED_MINE, 20 * 23, 5 * 23));

    AimAt(2, 20);
    Frame(0, 0);
    EXPECT_TRUE(ShowsPiece(ATLAS_OPENED_CELL, 2 * 23, 20 * 23));
    EXPECT_TRUE(ShowsBackdrop(11, 11));
    EXPECT_TRUE(ShowsPiece(ATLAS_FLAG, 3 * 23, 3 * 23));
    EXPECT_TRUE(ShowsPiece(ATLAS_OPENED_MINE, 20 * 23, 5 * 23));
}

TEST_F(PlayScreenTest, AClearedFieldIsAnnouncedWithOneFanfareAndTheMessageStays)
{
    MakeBoard(25, {{5, 5}});
    Frame(0, 0);
    EXPECT_FALSE(g_fieldWon);
    EXPECT_EQ(TextPixels(635, 260, 150, 16), 0);
    cellState[5][5] = STATE_FLAGGED;
    Frame(0, 0);
    Frame(0, 0);
    EXPECT_TRUE(g_fieldWon);
    EXPECT_EQ(Plays(g_sndWellDone), 1);
    EXPECT_GT(TextPixels(635, 260, 150, 16), 20);
    EXPECT_EQ(TextPixels(600, 280, 200, 100), 0);
    EXPECT_EQ(TextPixels(600, 240, 200, 20), 0);
}

TEST_F(PlayScreenTest, HoldingSaveOrLoadRepeatsItEveryFrameWithoutPresenting)
{
    MakeBoard(25, {{5, 5}});
    MoveTo(680, 150);
    EXPECT_TRUE(g_inMenu);
    int presents = FakeVideoPresentCount();
    Frame(0, 0, true);
    Frame(0, 0, true);
    Frame(0, 0, true);
    EXPECT_EQ(FakeCallCount("FileRename"), 3);
    EXPECT_EQ(FakeVideoPresentCount(), presents); // each of those frames ended early
    Frame(0, 0, false);
    EXPECT_EQ(FakeVideoPresentCount(), presents + 1);
    EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME).size(), 1254u);

    MoveTo(680, 100);
    for (int side : {11, 12, 13}) {
        WriteFileBytes(SAVE_FILE_NAME, std::to_string(side) + "\r\n");
        Frame(0, 0, true);
        EXPECT_EQ(fieldSize, side);
        EXPECT_EQ(g_fieldBackdrop.width, side * 23);
    }
}

// A loaded board may be smaller than any new one; its field keeps its own
// clamp, but every menu button stays in reach.
TEST_F(PlayScreenTest, EveryMenuButtonWorksBesideASmallLoadedBoard)
{
    for (int side : {3, 9}) {
        MakeBoard(25, {{5, 5}});
        WriteFileBytes(SAVE_FILE_NAME, std::to_string(side) + "\r\n");
        LoadGame();
        ASSERT_EQ(fieldSize, side);
        MoveTo(10, 5000);
        EXPECT_EQ(g_cursorY, side * 23 - 57);

        auto press = [](int button) {
            MoveTo(680, MENU_BUTTONS[button].screenY + 10);
            EXPECT_TRUE(g_inMenu);
            EXPECT_EQ(g_cursorY, MENU_BUTTONS[button].screenY + 10);
            Frame(0, 0, true);
            Frame(0, 0, false);
        };
        int renames = FakeCallCount("FileRename");
        press(MENU_SAVE);
        EXPECT_EQ(FakeCallCount("FileRename"), renames + 1);
        EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME).size(), 3u + 2u * side * side);
        int loads = FakeCallCount("FileOpenRead");
        press(MENU_LOAD);
        EXPECT_GT(FakeCallCount("FileOpenRead"), loads);
        press(MENU_QUIT);
        PlatMessage message{};
        ASSERT_TRUE(PlatPeekMessage(&message));
        EXPECT_EQ(message.message, WM_DESTROY);
        // Back over the field, the field's own clamp holds again.
        MoveTo(10, 190);
        EXPECT_EQ(g_cursorY, side * 23 - 57);
        // The dialog answers nothing here: an outside end request leaves it at once.
        FakeRequestEnd();
        press(MENU_NEW);
        EXPECT_EQ(fieldSize, 11);
    }
}

TEST_F(PlayScreenTest, TheQuitButtonPostsTheQuitRequest)
{
    MoveTo(680, 200);
    Frame(0, 0, true);
    PlatMessage message{};
    ASSERT_TRUE(PlatPeekMessage(&message));
    EXPECT_EQ(message.message, WM_DESTROY);
    EXPECT_EQ(message.window, g_mainWindow);
}

} // namespace
