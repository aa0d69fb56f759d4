#include "app/app_shell.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "platform/fake/fake_input.h"
#include "tests/test_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class InputTest : public GameTest {
protected:
    void OpenAll()
    {
        ASSERT_EQ(InputOpen(), 1);
        ASSERT_EQ(KeyboardOpen(), 1);
        ASSERT_EQ(MouseOpen(), 1);
    }

    void CloseAll()
    {
        KeyboardClose();
        MouseClose();
        InputClose();
    }

    // The calls whose names start with `prefix`, in order.
    static std::vector<std::string> CallsOf(const std::string& prefix)
    {
        std::vector<std::string> calls;
        for (const std::string& call : FakeCallLog()) {
            if (call.rfind(prefix, 0) == 0) {
                calls.push_back(call);
            }
        }
        return calls;
    }

    static void Scribble()
    {
        std::memset(g_keyState, 0x5A, sizeof(g_keyState));
        g_mouseState = MouseState{7, -7, 3, {0x80, 0x80, 0x80, 0x80}};
    }

    static bool KeysAllZero()
    {
        for (uint8_t byte : g_keyState) {
            if (byte != 0) {
                return false;
            }
        }
        return true;
    }

    static bool MouseAllZero()
    {
        const MouseState zero{};
        return std::memcmp(&g_mouseState, &zero, sizeof(zero)) == 0;
    }
};

TEST_F(InputTest, OpenRunsTheFourStepsInOrderAndCloseUndoesThem)
{
    OpenAll();
    EXPECT_EQ(CallsOf("Keyboard"),
              (std::vector<std::string>{"KeyboardCreateDevice", "KeyboardSetCooperativeLevel",
                                        "KeyboardSetDataFormat", "KeyboardAcquire"}));
    EXPECT_TRUE(FakeInputKeyboardAcquired());
    EXPECT_TRUE(FakeInputMouseAcquired());
    FakeClearCallLog();
    CloseAll();
    EXPECT_EQ(FakeCallLog(),
              (std::vector<std::string>{"KeyboardUnacquire", "KeyboardRelease", "MouseUnacquire",
                                        "MouseRelease", "InputRelease"}));
    EXPECT_EQ(g_input, nullptr);
    EXPECT_EQ(g_keyboardDevice, nullptr);
    EXPECT_EQ(g_mouseDevice, nullptr);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    // The handles are forgotten, so closing again does nothing.
    CloseAll();
    EXPECT_EQ(FakeCallCount("InputRelease"), 1);
}

// Only a plain 0 succeeds: a positive "done, but" code fails the open, the
// steps after it do not run, and the device stays held until its close.
TEST_F(InputTest, AnyNonZeroStepResultFailsTheOpenAndKeepsTheDevice)
{
    const char* steps[] = {"CreateDevice", "SetCooperativeLevel", "SetDataFormat", "Acquire"};
    for (int failing = 0; failing < 4; ++failing) {
        for (int result : {1, -2147024809}) {
            SCOPED_TRACE(std::string(steps[failing]) + " gives " + std::to_string(result));
            ResetHeadlessGame();
            ASSERT_EQ(InputOpen(), 1);
            FakeFailCall(std::string("Mouse") + steps[failing], result);
            EXPECT_EQ(MouseOpen(), 0);
            std::vector<std::string> expected;
            for (int step = 0; step <= failing; ++step) {
                expected.push_back(std::string("Mouse") + steps[step]);
            }
            EXPECT_EQ(CallsOf("Mouse"), expected);
            bool created = failing > 0 || result > 0;
            EXPECT_EQ(g_mouseDevice != nullptr, created);
            EXPECT_FALSE(FakeInputMouseAcquired());

            // The held device reads nothing, and its close releases it.
            Scribble();
            EXPECT_EQ(MouseRead(), 0);
            EXPECT_EQ(g_mouseState.dx, created ? 7 : 0);
            CloseAll();
            EXPECT_EQ(FakeInputLiveObjects(), 0);
        }
    }
}

TEST_F(InputTest, WithoutTheInterfaceNoDeviceIsTriedAndReadsZeroTheRecords)
{
    FakeFailCall("InputCreate", -2147467259);
    EXPECT_EQ(InputOpen(), 0);
    EXPECT_EQ(g_input, nullptr);
    EXPECT_EQ(KeyboardOpen(), 0);
    EXPECT_EQ(MouseOpen(), 0);
    EXPECT_TRUE(CallsOf("Keyboard").empty());
    EXPECT_TRUE(CallsOf("Mouse").empty());
    FakeInputQueueKeys({DIK_ESCAPE});
    FakeInputQueueMouse(5, 5, true, true);
    for (int frame = 0; frame < 3; ++frame) {
        Scribble();
        EXPECT_EQ(KeyboardRead(), 0);
        EXPECT_EQ(MouseRead(), 0);
        EXPECT_TRUE(KeysAllZero());
        EXPECT_TRUE(MouseAllZero());
    }
    CloseAll();
    EXPECT_EQ(FakeCallCount("InputRelease"), 0);
}

// Unlike the device steps, the interface counts any non-negative result as success.
TEST_F(InputTest, TheInterfaceAcceptsAPositiveResult)
{
    FakeFailCall("InputCreate", 1);
    EXPECT_EQ(InputOpen(), 1);
    EXPECT_EQ(KeyboardOpen(), 1);
}

TEST_F(InputTest, AFailedReadOfAPresentDeviceLeavesTheRecordAlone)
{
    OpenAll();
    FakeInputQueueKeys({DIK_F4});
    FakeFailCall("KeyboardGetDeviceState", -2147024884, 0, 1);
    Scribble();
    EXPECT_EQ(KeyboardRead(), 0);
    EXPECT_EQ(g_keyState[DIK_1], 0x5A);
    // The scripted state was not used up by the failed read.
    EXPECT_EQ(KeyboardRead(), 1);
    EXPECT_EQ(g_keyState[DIK_F4], KEY_DOWN);
    EXPECT_EQ(g_keyState[DIK_1], 0);
}

TEST_F(InputTest, ReadsReportStateNotPresses)
{
    OpenAll();
    FakeInputQueueKeys({DIK_1, DIK_RETURN});
    FakeInputQueueKeys({DIK_1});
    EXPECT_EQ(KeyboardRead(), 1);
    EXPECT_EQ(g_keyState[DIK_1], KEY_DOWN);
    EXPECT_EQ(g_keyState[DIK_RETURN], KEY_DOWN);
    EXPECT_EQ(KeyboardRead(), 1);
    EXPECT_EQ(g_keyState[DIK_RETURN], 0);
    // Held across reads once the script has run out.
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(KeyboardRead(), 1);
        EXPECT_EQ(g_keyState[DIK_1], KEY_DOWN);
    }
    EXPECT_EQ(FakeInputKeyboardReads(), 5);
}

TEST_F(InputTest, MotionIsSinceThePreviousReadWhileButtonsStayHeld)
{
    OpenAll();
    FakeInputQueueMouse(120, -40, false, false);
    FakeInputQueueMouse(0, 0, true, false);
    EXPECT_EQ(MouseRead(), 1);
    EXPECT_EQ(g_mouseState.dx, 120);
    EXPECT_EQ(g_mouseState.dy, -40);
    EXPECT_EQ(g_mouseState.buttons[MOUSE_BUTTON_LEFT], 0);
    EXPECT_EQ(MouseRead(), 1);
    EXPECT_EQ(g_mouseState.buttons[MOUSE_BUTTON_LEFT], KEY_DOWN);
    EXPECT_EQ(g_mouseState.buttons[MOUSE_BUTTON_RIGHT], 0);
    // No more script: the mouse rests, the button is still down.
    EXPECT_EQ(MouseRead(), 1);
    EXPECT_EQ(g_mouseState.dx, 0);
    EXPECT_EQ(g_mouseState.dy, 0);
    EXPECT_EQ(g_mouseState.buttons[MOUSE_BUTTON_LEFT], KEY_DOWN);
    FakeMouseStep wheel;
    wheel.dz = -120;
    wheel.buttons[3] = true;
    FakeInputQueueMouseStep(wheel);
    EXPECT_EQ(MouseRead(), 1);
    EXPECT_EQ(g_mouseState.dz, -120);
    EXPECT_EQ(g_mouseState.buttons[MOUSE_BUTTON_LEFT], 0);
    EXPECT_EQ(g_mouseState.buttons[3], KEY_DOWN);
}

} // namespace
