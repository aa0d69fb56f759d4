// The guard bands of the fake display catch a write just outside a surface,
// so the soak test's check of them is not an empty one.
#include "display/display_device.h"
#include "platform/fake/fake_video.h"
#include "tests/test_support.h"

namespace {

using FakeVideoGuardTest = GameTest;

TEST_F(FakeVideoGuardTest, AWriteJustOutsideTheBackBufferIsSeen)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    BackBufferLock();
    ASSERT_NE(g_backBits, nullptr);
    EXPECT_TRUE(FakeVideoGuardsIntact());
    const size_t pixels = static_cast<size_t>(g_backPitch / 2) * 600;

    g_backBits[0] = 1;
    g_backBits[pixels - 1] = 1;
    EXPECT_TRUE(FakeVideoGuardsIntact());
    // The bands lie in the same block as the pixels: these writes are in bounds.
    const uint16_t after = g_backBits[pixels];
    g_backBits[pixels] = static_cast<uint16_t>(after + 1);
    EXPECT_FALSE(FakeVideoGuardsIntact());
    g_backBits[pixels] = after;
    EXPECT_TRUE(FakeVideoGuardsIntact());
    const uint16_t before = g_backBits[-1];
    g_backBits[-1] = static_cast<uint16_t>(before + 1);
    EXPECT_FALSE(FakeVideoGuardsIntact());
    g_backBits[-1] = before;
    BackBufferUnlock();
    DisplayClose();
}

} // namespace
