// Fingers on the fake backend, through the touch model the web page uses,
// into whole frames of the real game: each touch does what its own gesture
// says, however quickly touches follow each other.
#include "field/field_rules.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "platform/common/touch_model.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_input.h"
#include "screens/play_screen.h"
#include "tests/play_support.h"

#include <random>
#include <vector>

namespace {

// Picture pixels of places on the screen.
constexpr double MENU_EMPTY_X = 700; // below the buttons
constexpr double MENU_EMPTY_Y = 400;
constexpr double SAVE_X = 680;
constexpr double SAVE_Y = 150;
constexpr double NEW_Y = 50;

class TouchTest : public PlayTest {
protected:
    void SetUp() override
    {
        PlayTest::SetUp();
        // (4, 4) is next to a mine: opening it opens nothing else.
        MakeBoard(25, {{5, 5}, {20, 20}});
    }

    static void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            PlayFrame();
        }
    }

    static void Tap(double x, double y, long id = 1)
    {
        FakeTouchDown(id, x, y);
        FakeTouchUp(id);
    }

    static double CellMiddle(int cell) { return cell * CELL_PITCH + 11.0; }

    static int Touched()
    {
        int count = 0;
        for (int x = 0; x < fieldSize; ++x) {
            for (int y = 0; y < fieldSize; ++y) {
                count += cellState[x][y] != STATE_HIDDEN;
            }
        }
        return count;
    }

    static int Saves() { return FakeCallCount("FileRename"); }
    static bool LeftHeld() { return g_mouseState.buttons[MOUSE_BUTTON_LEFT] != 0; }
};

TEST_F(TouchTest, QuickTapsOnTheMenuThenTheFieldOpenNothingAndLoseNoSave)
{
    // Both taps before the game has read once: the menu's press must not
    // land where the field tap puts the lamp.
    Tap(MENU_EMPTY_X, MENU_EMPTY_Y);
    Tap(100, 100);
    Frames(10);
    EXPECT_EQ(Touched(), 0);
    EXPECT_FALSE(g_inMenu);
    EXPECT_FALSE(LeftHeld());

    Tap(SAVE_X, SAVE_Y);
    Tap(100, 100);
    Frames(10);
    EXPECT_EQ(Saves(), 1);
    EXPECT_EQ(Touched(), 0);
    EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME).size(), 1254u);
}

TEST_F(TouchTest, AfterTheMenuTheNextTouchBringsTheLampAndTheOneAfterOpensAtIt)
{
    Tap(MENU_EMPTY_X, MENU_EMPTY_Y);
    Frames(5);
    EXPECT_TRUE(g_inMenu);
    // The hot spot comes under the finger, on cell (4, 4); nothing opens yet.
    Tap(CellMiddle(4), CellMiddle(4));
    Frames(5);
    EXPECT_EQ(g_cursorX + HOTSPOT_OFFSET, static_cast<int32_t>(CellMiddle(4)));
    EXPECT_EQ(Touched(), 0);
    // A tap anywhere, with a wiggle short of a drag, opens exactly the lamp's cell.
    int32_t x = g_cursorX;
    int32_t y = g_cursorY;
    FakeTouchDown(1, 300, 300);
    FakeTouchMove(1, 309, 307);
    Frames(1);
    FakeTouchUp(1);
    Frames(3);
    EXPECT_EQ(g_cursorX, x);
    EXPECT_EQ(g_cursorY, y);
    EXPECT_EQ(Touched(), 1);
    EXPECT_TRUE(StateIsOpen(cellState[4][4]));
}

TEST_F(TouchTest, ADragMovesTheLampByTheFingerAndClicksNothing)
{
    AimAt(4, 4);
    int32_t x = g_cursorX;
    int32_t y = g_cursorY;
    FakeTouchDown(1, 300, 300);
    Frames(2);
    for (int step = 1; step <= 4; ++step) {
        FakeTouchMove(1, 300 + step * 23, 300 + step * 11.5);
        Frames(1);
    }
    FakeTouchUp(1);
    Frames(3);
    EXPECT_EQ(g_cursorX, x + 92);
    EXPECT_EQ(g_cursorY, y + 46);
    EXPECT_EQ(Touched(), 0);
}

TEST_F(TouchTest, ADragFromTheMenuOntoTheFieldOpensNothing)
{
    for (bool quick : {true, false}) {
        FakeTouchDown(1, MENU_EMPTY_X, MENU_EMPTY_Y);
        Frames(quick ? 0 : 4);
        EXPECT_EQ(LeftHeld(), !quick);
        for (double x : {660.0, 600.0, 300.0, 100.0}) {
            FakeTouchMove(1, x, MENU_EMPTY_Y - 200);
            Frames(quick ? 0 : 1);
        }
        FakeTouchUp(1);
        Frames(6);
        EXPECT_EQ(Touched(), 0) << quick;
        EXPECT_TRUE(g_inMenu) << "the arrow stays where the finger left the menu";
        EXPECT_FALSE(LeftHeld());
    }
}

TEST_F(TouchTest, AFingerHeldStillFlagsOnceAndALongTapFlagsToo)
{
    AimAt(4, 4);
    FakeTouchDown(1, 300, 300);
    Frames(2);
    FakeTouchWait(TOUCH_LONG_PRESS_MS);
    Frames(2);
    EXPECT_EQ(cellState[4][4], STATE_FLAGGED); // while the finger is still down
    FakeTouchWait(1000);
    FakeTouchUp(1);
    Frames(3);
    EXPECT_EQ(cellState[4][4], STATE_FLAGGED);
    EXPECT_EQ(Touched(), 1);

    // Held as long but let go before any read saw it: still a flag, not an opening.
    FakeTouchDown(1, 300, 300);
    FakeTouchWait(TOUCH_LONG_PRESS_MS);
    FakeTouchUp(1);
    Frames(3);
    EXPECT_EQ(cellState[4][4], STATE_HIDDEN);
    EXPECT_EQ(Touched(), 0);
}

TEST_F(TouchTest, ASecondFingerSpoilsTheTouchItJoins)
{
    FakeTouchDown(1, 300, 300);
    FakeTouchDown(2, 400, 300);
    FakeTouchUp(2);
    FakeTouchUp(1);
    FakeTouchDown(1, SAVE_X, SAVE_Y);
    FakeTouchDown(2, 300, 300);
    FakeTouchUp(1);
    FakeTouchUp(2);
    Frames(8);
    EXPECT_EQ(Touched(), 0);
    EXPECT_EQ(Saves(), 0);

    // Once Save is held, a second finger lets it go.
    FakeTouchDown(1, SAVE_X, SAVE_Y);
    Frames(3);
    EXPECT_EQ(Saves(), 1);
    FakeTouchDown(2, 300, 300);
    Frames(3);
    EXPECT_FALSE(LeftHeld());
    EXPECT_EQ(Saves(), 1);
    FakeTouchUp(2);
    FakeTouchUp(1);
    // Touches begun with no other finger down count again: the first brings
    // the lamp back from the menu, the second opens under it.
    Tap(CellMiddle(4), CellMiddle(4));
    Frames(3);
    Tap(CellMiddle(4), CellMiddle(4));
    Frames(3);
    EXPECT_EQ(Touched(), 1);
    EXPECT_TRUE(StateIsOpen(cellState[4][4]));
}

TEST_F(TouchTest, AHeldSaveStoresEveryFrameAndACancelLeavesNothingDown)
{
    FakeTouchDown(1, SAVE_X, SAVE_Y);
    Frames(5);
    EXPECT_EQ(Saves(), 3); // two reads bring the arrow, then one save a frame
    EXPECT_TRUE(LeftHeld());
    FakeTouchCancel(1);
    Frames(2);
    EXPECT_FALSE(LeftHeld());
    EXPECT_EQ(Saves(), 3);

    // Cancelled before any read saw it: no save, and no click on the field.
    FakeTouchDown(1, SAVE_X, SAVE_Y);
    FakeTouchCancel(1);
    FakeTouchDown(1, 300, 300);
    FakeTouchCancel(1);
    Frames(6);
    EXPECT_EQ(Saves(), 3);
    EXPECT_EQ(Touched(), 0);
    EXPECT_FALSE(LeftHeld());
}

TEST_F(TouchTest, AFingerHeldOnNewThroughTheDialogOpensNothingAfterIt)
{
    FakeTouchDown(1, SAVE_X, NEW_Y);
    Frames(2); // the arrow is brought to New
    // The next play frame's keys, then two empty answers, one key state an entry frame.
    for (uint8_t key : {uint8_t{0}, DIK_RETURN, uint8_t{0}, DIK_RETURN, uint8_t{0}}) {
        FakeInputQueueKeys(key != 0 ? std::vector<uint8_t>{key} : std::vector<uint8_t>{});
    }
    Frames(1);
    EXPECT_EQ(fieldSize, 11);
    EXPECT_EQ(FakeCallCount("StartTextInput"), 2);
    EXPECT_EQ(FakeCallCount("StopTextInput"), 2);
    EXPECT_FALSE(FakeInputTextInputOn());
    ASSERT_NE(FakeInputPointerAreas(), nullptr);
    EXPECT_EQ(FakeInputPointerAreas()->field.right, 11 * CELL_PITCH);

    // No mine: a click anywhere would open the whole field.
    FakeTouchMove(1, SAVE_X - 200, NEW_Y + 100);
    Frames(2);
    FakeTouchUp(1);
    Frames(3);
    EXPECT_EQ(Touched(), 0);
}

// However the touches that must do nothing follow each other, and however few
// frames run between them, nothing opens, flags or saves.
TEST_F(TouchTest, NoSequenceOfIdleGesturesActsOnTheField)
{
    std::mt19937 random(26);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int gesture = 0; gesture < 300; ++gesture) {
        double x = 100 + pick(400);
        double y = 100 + pick(400);
        switch (pick(4)) {
        case 0: // the menu's empty part, perhaps dragged onto the field
            FakeTouchDown(1, 745 + pick(50), 240 + pick(350));
            if (pick(2) == 0) {
                FakeTouchMove(1, x, y);
            }
            FakeTouchUp(1);
            break;
        case 1: // a drag on the field
            FakeTouchDown(1, x, y);
            FakeTouchMove(1, x + 30, y - 20);
            FakeTouchUp(1);
            break;
        case 2: // two fingers
            FakeTouchDown(1, x, y);
            FakeTouchDown(2, y, x);
            FakeTouchUp(pick(2) + 1);
            FakeTouchUp(1);
            FakeTouchUp(2);
            break;
        default: // taken away by the system
            FakeTouchDown(1, x, y);
            FakeTouchCancel(1);
            break;
        }
        Frames(pick(3));
    }
    Frames(40);
    EXPECT_EQ(Touched(), 0);
    EXPECT_EQ(Saves(), 0);
    EXPECT_FALSE(LeftHeld());
}

} // namespace
