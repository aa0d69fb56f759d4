#include "app/app_shell.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "platform/fake/fake_music.h"
#include "sound/music_performance.h"
#include "tests/test_support.h"

#include <string>
#include <vector>

namespace {

class MusicTest : public GameTest {};

const std::vector<std::string> OPEN_STEPS = {"ComInitialize", "MusicCreatePerformance",
                                             "MusicPerformanceInit", "MusicPerformanceAddPort",
                                             "MusicCreateLoader"};

TEST_F(MusicTest, OpenAndCloseRunTheirStepsInOrder)
{
    g_currentSegmentId = 5;
    g_musicSlots[9] = MusicSlot{nullptr, 1, 0, 7};
    EXPECT_EQ(MusicOpen(), 1);
    EXPECT_EQ(FakeCallLog(), OPEN_STEPS);
    EXPECT_EQ(g_currentSegmentId, MUSIC_NONE);
    for (int i = 0; i < MUSIC_SLOT_COUNT; ++i) {
        EXPECT_EQ(g_musicSlots[i].index, i);
        EXPECT_EQ(g_musicSlots[i].inUse, 0);
        EXPECT_EQ(g_musicSlots[i].aux, 0);
    }
    FakeClearCallLog();
    EXPECT_EQ(MusicUnloadAll(), 1);
    EXPECT_EQ(MusicClose(), 1);
    EXPECT_EQ(FakeCallLog(),
              (std::vector<std::string>{"MusicPerformanceStop", "MusicPerformanceCloseDown",
                                        "MusicPerformanceRelease", "MusicLoaderRelease",
                                        "ComUninitialize"}));
    EXPECT_EQ(g_musicPerformance, nullptr);
    EXPECT_EQ(g_musicLoader, nullptr);
    EXPECT_EQ(FakeMusicLiveObjects(), 0);
    EXPECT_EQ(FakeMusicComDepth(), 0);
}

// The first failing step ends the open; close releases what it made and
// always leaves the component system.
TEST_F(MusicTest, OpenStopsAtAFailingStepAndCloseReleasesWhatExists)
{
    for (size_t failing = 0; failing < OPEN_STEPS.size(); ++failing) {
        SCOPED_TRACE(OPEN_STEPS[failing]);
        ResetHeadlessGame();
        FakeFailCall(OPEN_STEPS[failing], -2147467259);
        EXPECT_EQ(MusicOpen(), 0);
        std::vector<std::string> ran(OPEN_STEPS.begin(),
                                     OPEN_STEPS.begin() + static_cast<ptrdiff_t>(failing) + 1);
        EXPECT_EQ(FakeCallLog(), ran);
        EXPECT_EQ(g_musicPerformance != nullptr, failing >= 2);
        EXPECT_EQ(g_musicLoader, nullptr);
        EXPECT_EQ(MusicClose(), 1);
        EXPECT_EQ(FakeMusicLiveObjects(), 0);
        EXPECT_EQ(FakeCallCount("ComUninitialize"), 1);
        EXPECT_EQ(FakeCallCount("MusicPerformanceCloseDown"), failing >= 2 ? 1 : 0);
    }
}

TEST_F(MusicTest, UnloadAllReleasesSegmentsAndKeepsTheNumbers)
{
    ASSERT_EQ(MusicOpen(), 1);
    g_musicSlots[3] = MusicSlot{FakeMusicMakeSegment(), 1, 3, 42};
    g_musicSlots[63] = MusicSlot{FakeMusicMakeSegment(), 1, 63, 1};
    FakeClearCallLog();
    EXPECT_EQ(MusicUnloadAll(), 1);
    EXPECT_EQ(FakeCallLog(),
              (std::vector<std::string>{"MusicSegmentSetParam", "MusicSegmentRelease",
                                        "MusicSegmentSetParam", "MusicSegmentRelease"}));
    for (int i : {3, 63}) {
        EXPECT_EQ(g_musicSlots[i].segment, nullptr);
        EXPECT_EQ(g_musicSlots[i].inUse, 0);
        EXPECT_EQ(g_musicSlots[i].aux, 0);
        EXPECT_EQ(g_musicSlots[i].index, i);
    }
    MusicClose();
    EXPECT_EQ(FakeMusicLiveObjects(), 0);
}

} // namespace
