#include "app/app_shell.h"
#include "screens/frame_clock.h"
#include "field/mine_field.h"
#include "platform/entry.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_system.h"
#include "tests/test_support.h"

#include <algorithm>

namespace {

class AppShellTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // Every tick read moves the clock a whole frame on, so frame waits end
        // at once and every frame start reads a new value.
        FakeSetTickStep(1000);
    }

    PlatInstance instance_ = reinterpret_cast<PlatInstance>(uintptr_t{0x400000});
};

TEST_F(AppShellTest, OneMessagePerPassAndAFrameOnEveryPassButTheQuittingOne)
{
    // Frame starts seen at each pass: a new value means a frame ran since the last pass.
    std::vector<uint32_t> frameStarts;
    std::vector<std::string> dispatched;
    FakeSetPeekHook([&](int pass) {
        frameStarts.push_back(g_frameStartTick);
        if (pass == 2) {
            // A burst of three: worked off one per pass.
            PlatPostMessage(g_mainWindow, 0x400, 0, 0);
            PlatPostMessage(g_mainWindow, 0x401, 0, 0);
            PlatPostMessage(g_mainWindow, WM_PAINT, 0, 0);
        }
        if (pass == 6) {
            RequestQuit();
        }
    });
    int exitCode = AppMain(instance_, nullptr, "", 0);
    EXPECT_EQ(exitCode, 0);

    // Posted before pass 6's peek, the request is dispatched in pass 6, which
    // still runs its frame; pass 7 removes the quit message and runs none.
    ASSERT_EQ(frameStarts.size(), 8u);
    for (size_t i = 1; i < frameStarts.size(); ++i) {
        EXPECT_NE(frameStarts[i], frameStarts[i - 1]) << "no frame before pass " << i;
    }
    EXPECT_EQ(g_frameStartTick, frameStarts.back()); // the quitting pass ran no frame
    EXPECT_EQ(FakeCallCount("DispatchMessage"), 4);
    EXPECT_EQ(FakeCallCount("DefWindowProc"), 2);
    EXPECT_EQ(FakeCallCount("BeginPaint"), 1);
    EXPECT_EQ(FakeCallCount("EndPaint"), 1);
    EXPECT_EQ(FakeCallCount("PostQuitMessage"), 1);
    EXPECT_FALSE(FieldHeld()); // the shut-down ran
}

TEST_F(AppShellTest, PiledUpQuitRequestsEndTheLoopOnce)
{
    int passes = 0;
    FakeSetPeekHook([&](int pass) {
        passes = pass + 1;
        if (pass == 0) {
            RequestQuit();
            RequestQuit();
            RequestQuit();
        }
    });
    EXPECT_EQ(AppMain(instance_, nullptr, "", 0), 0);
    EXPECT_EQ(passes, 4); // three dispatches, then the quit message
    EXPECT_EQ(FakeCallCount("PostQuitMessage"), 3);
}

TEST_F(AppShellTest, StartUpMakesTheDefaultFieldAndHidesTheCursor)
{
    FakeSetPeekHook([&](int pass) {
        if (pass == 0) {
            EXPECT_TRUE(FieldHeld());
            EXPECT_EQ(fieldSize, 25);
            EXPECT_EQ(FakeCursorShowCount(), -1);
            EXPECT_NE(g_mainWindow, nullptr);
            EXPECT_EQ(g_appInstance, instance_);
            RequestQuit();
        }
    });
    EXPECT_EQ(AppMain(instance_, nullptr, "", 0), 0);
}

TEST_F(AppShellTest, WithoutAWindowNothingOpensAndTheExitCodeSaysSo)
{
    for (bool failClass : {true, false}) {
        FakeResetAll();
        FakeFailWindowSetup(failClass, !failClass);
        testing::internal::CaptureStderr();
        int exitCode = AppMain(instance_, nullptr, "", 0);
        std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(exitCode, 0);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(FieldHeld());
        EXPECT_EQ(FakeCallCount("PeekMessage"), 0);
        EXPECT_EQ(FakeCursorShowCount(), 0);
    }
}

TEST_F(AppShellTest, FrameClockWaitsOnTheUnsignedDifference)
{
    FakeSetTickStep(0);
    FakeSetTicks(0xFFFFFFFAu); // 2^32 - 6
    FrameClockStart();
    FakeSetTicks(4);
    int before = FakeTickReads();
    FrameClockWait(10);
    EXPECT_EQ(FakeTickReads() - before, 1); // 4 - (2^32 - 6) = 10: done at once

    FakeSetTickStep(1);
    FakeSetTicks(0xFFFFFFFCu);
    FrameClockStart(); // reads ...FC, counter now at ...FD
    before = FakeTickReads();
    FrameClockWait(10);
    EXPECT_EQ(FakeTickReads() - before, 10); // spins across the wrap until 10 have passed

    before = FakeTickReads();
    FrameClockWait(0);
    EXPECT_EQ(FakeTickReads() - before, 1);
}

} // namespace
