#include "app/app_shell.h"
#include "input/keyboard_mouse.h"
#include "platform/entry.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "tests/test_support.h"

namespace {

class QuitKeysTest : public GameTest {
protected:
    // Runs the game until it ends, with the quit key down for pass 3's frame;
    // gives the exit code and how many passes ran.
    int RunWithKeyAtPass3(uint8_t scanCode, int virtualKey, int* passes)
    {
        CopyGameData();
        FakeSetTickStep(1000);
        FakeSetPeekHook([=](int pass) {
            *passes = pass + 1;
            if (pass == 3 && scanCode != 0) {
                FakeInputQueueKeys({scanCode});
            }
            if (pass == 3 && virtualKey != 0) {
                FakeSetAsyncKey(virtualKey, true);
            }
            if (pass == 4) {
                FakeInputQueueKeys({});
                FakeSetAsyncKey(virtualKey, false);
            }
            if (pass == 50) {
                RequestQuit(); // a failing test still ends
            }
        });
        return AppMain(reinterpret_cast<PlatInstance>(uintptr_t{1}), nullptr, "", 0);
    }
};

TEST_F(QuitKeysTest, AHeldQuitKeyEndsTheGameOnceReleased)
{
    CopyGameData();
    FakeSetTickStep(1000);
    int passes = 0;
    FakeSetPeekHook([&](int pass) {
        passes = pass + 1;
        if (pass == 3) {
            FakeInputQueueKeys({DIK_F4}); // held from here...
        }
        if (pass == 20) {
            FakeInputQueueKeys({}); // ...to here
        }
    });
    EXPECT_EQ(AppMain(reinterpret_cast<PlatInstance>(uintptr_t{1}), nullptr, "", 0), 0);
    // Every held frame posts a request; each pass works off one, and the quit
    // message comes once they are all dispatched.
    EXPECT_GT(passes, 20);
}

TEST_F(QuitKeysTest, EscapeAltAndF4EachEndTheGameWithZero)
{
    struct Case {
        const char* name;
        uint8_t scanCode;
        int virtualKey;
    };
    for (Case c : {Case{"escape key", DIK_ESCAPE, 0}, Case{"live escape", 0, VK_ESCAPE},
                   Case{"alt", 0, VK_MENU}, Case{"f4", DIK_F4, 0}}) {
        SCOPED_TRACE(c.name);
        ResetHeadlessGame();
        int passes = 0;
        EXPECT_EQ(RunWithKeyAtPass3(c.scanCode, c.virtualKey, &passes), 0);
        // Pass 3's frame posts, pass 4 dispatches it and pass 5 meets the quit.
        EXPECT_EQ(passes, 6);
    }
}

} // namespace
