#include "app/app_shell.h"
#include "display/display_device.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_video.h"
#include "tests/test_support.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class DisplayTest : public GameTest {
protected:
    // The calls made since `from`, video ones only.
    static std::vector<std::string> VideoCalls(size_t from = 0)
    {
        std::vector<std::string> calls;
        const std::vector<std::string>& log = FakeCallLog();
        for (size_t i = from; i < log.size(); ++i) {
            if (log[i].rfind("Video", 0) == 0 || log[i] == "GetWindowRect") {
                calls.push_back(log[i]);
            }
        }
        return calls;
    }

    static void ExpectAllReleased()
    {
        EXPECT_EQ(FakeVideoLiveObjects(), 0);
        EXPECT_EQ(FakeVideoBadReleases(), 0);
    }
};

bool SameRect(const PlatRect& a, const PlatRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PixelPackTest, PacksTheTopBitsOfEachChannel)
{
    EXPECT_EQ(PackRGB565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(PackRGB555(255, 255, 255), 0x7FFF);
    EXPECT_EQ(PackRGB565(8, 4, 8), 0x0821);
    EXPECT_EQ(PackRGB555(8, 8, 8), 0x0421);
    EXPECT_EQ(PackRGB565(7, 3, 7), 0);
    EXPECT_EQ(PackRGB565(255, 0, 0), 0xF800);
    EXPECT_EQ(PackRGB555(0, 255, 0), 0x03E0);
}

TEST_F(DisplayTest, FullScreenOpenTakesEveryStepInOrder)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    const std::vector<std::string> expected = {
        "VideoCreate",        "VideoSetCooperativeLevel", "VideoSetDisplayMode",
        "VideoCreateSurface", "VideoGetPixelFormat",      "VideoGetAttachedSurface",
        "VideoColorFill",     "VideoColorFill",           "VideoCreateClipper",
        "VideoSetClipList",   "VideoSetClipper"};
    EXPECT_EQ(VideoCalls(), expected);

    FakeVideoMode mode = FakeVideoModeSet();
    EXPECT_EQ(mode.cooperativeFlags, 0x453u);
    EXPECT_EQ(mode.width, 800);
    EXPECT_EQ(mode.height, 600);
    EXPECT_EQ(mode.bpp, 16);
    ASSERT_EQ(FakeVideoSurfaceDescs().size(), 1u);
    const PlatSurfaceDesc& primary = FakeVideoSurfaceDescs()[0];
    EXPECT_EQ(primary.size, 124u);
    EXPECT_EQ(primary.flags, 0x21u);
    EXPECT_EQ(primary.caps, 0x218u);
    EXPECT_EQ(primary.backBufferCount, 1u);

    EXPECT_EQ(g_screenWidth, 800);
    EXPECT_EQ(g_screenHeight, 600);
    EXPECT_EQ(g_screenBpp, 16);
    EXPECT_EQ(g_windowed, 0);
    EXPECT_EQ(g_pixelFormat, 16);
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_NE(g_backSurface, g_primarySurface);
    EXPECT_EQ(FakeVideoClipperOf(g_backSurface), g_backClipper);

    // The game's clip list: the whole screen, bounded by itself.
    FakeClipList list = FakeVideoClipListOf(g_backClipper);
    ASSERT_TRUE(list.set);
    EXPECT_EQ(list.header.size, 32u);
    EXPECT_EQ(list.header.type, 1u);
    EXPECT_EQ(list.header.count, 1u);
    EXPECT_EQ(list.header.regionSize, 16u);
    ASSERT_EQ(list.rects.size(), 1u);
    EXPECT_TRUE(SameRect(list.rects[0], {0, 0, 800, 600}));
    EXPECT_TRUE(SameRect(list.header.bound, {0, 0, 800, 600}));

    DisplayClose();
    const std::vector<std::string> released = {"clipper:list", "surface:back", "surface:primary",
                                               "device"};
    EXPECT_EQ(FakeVideoReleaseLog(), released);
    ExpectAllReleased();
    EXPECT_EQ(g_directDraw, nullptr);
    EXPECT_EQ(g_backSurface, nullptr);
}

TEST_F(DisplayTest, ReportedBitCountChoosesThePixelFormat)
{
    for (uint32_t bits : {15u, 16u, 24u}) {
        FakeResetAll();
        FakeVideoSetBitCount(bits);
        DisplayOpen(800, 600, 16, 0);
        EXPECT_EQ(g_pixelFormat, static_cast<int32_t>(bits));
        EXPECT_EQ(PackRGB(255, 255, 255), bits == 15 ? 0x7FFF : 0xFFFF) << bits;
        DisplayClose();
    }
    // A refused query leaves the count 0, which packs as 5.6.5; the open goes on.
    FakeResetAll();
    FakeFailCall("VideoGetPixelFormat", -1);
    EXPECT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    EXPECT_EQ(g_pixelFormat, 0);
    EXPECT_EQ(PackRGB(255, 255, 255), 0xFFFF);
    DisplayClose();
}

TEST_F(DisplayTest, OpenStopsAtTheFirstRefusedStepAndCloseReleasesWhatExists)
{
    const std::vector<std::string> steps = {"VideoCreate", "VideoSetCooperativeLevel",
                                            "VideoSetDisplayMode", "VideoCreateSurface",
                                            "VideoGetAttachedSurface"};
    for (const std::string& step : steps) {
        FakeResetAll();
        FakeFailCall(step, -5);
        EXPECT_EQ(DisplayOpen(800, 600, 16, 0), 0) << step;
        std::vector<std::string> calls = VideoCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), step) << "went on after a refused " << step;
        DisplayClose();
        ExpectAllReleased();
    }
}

TEST_F(DisplayTest, WindowedOpenUsesAnOffscreenBackBufferAndTheWindowClipper)
{
    g_mainWindow = reinterpret_cast<PlatWindow>(uintptr_t{0x1234});
    ASSERT_EQ(DisplayOpen(640, 480, 16, 1), 1);
    EXPECT_EQ(FakeVideoModeSet().cooperativeFlags, 8u);
    EXPECT_EQ(FakeCallCount("VideoSetDisplayMode"), 0);
    ASSERT_EQ(FakeVideoSurfaceDescs().size(), 2u);
    EXPECT_EQ(FakeVideoSurfaceDescs()[0].flags, 0x1u);
    EXPECT_EQ(FakeVideoSurfaceDescs()[0].caps, 0x200u);
    const PlatSurfaceDesc& back = FakeVideoSurfaceDescs()[1];
    EXPECT_EQ(back.flags, 0x7u);
    EXPECT_EQ(back.caps, 0x840u);
    EXPECT_EQ(back.width, 640u);
    EXPECT_EQ(back.height, 480u);
    FakeColorKey key = FakeVideoColorKeyOf(g_backSurface);
    EXPECT_EQ(key.flags, 0x8u);
    EXPECT_EQ(key.low, 0u);
    EXPECT_EQ(key.high, 0u);
    EXPECT_EQ(FakeCallCount("VideoColorFill"), 1); // the back surface only
    EXPECT_EQ(FakeVideoClipperOf(g_primarySurface), g_windowClipper);
    EXPECT_EQ(FakeVideoClipperWindow(g_windowClipper), g_mainWindow);

    DisplayClose();
    const std::vector<std::string> released = {"clipper:list", "clipper:window",
                                               "surface:offscreen", "surface:primary", "device"};
    EXPECT_EQ(FakeVideoReleaseLog(), released);
    ExpectAllReleased();
}

TEST_F(DisplayTest, WindowedOpenFailsWhenTheWindowCannotBeBound)
{
    // The second clipper is the window's; skip the back buffer's calls.
    struct Case {
        const char* call;
        int skip;
    };
    for (Case c : {Case{"VideoCreateClipper", 1}, Case{"VideoSetClipperWindow", 0},
                   Case{"VideoSetClipper", 1}, Case{"VideoCreateSurface", 1}}) {
        FakeResetAll();
        FakeFailCall(c.call, -1, c.skip);
        EXPECT_EQ(DisplayOpen(640, 480, 16, 1), 0) << c.call;
        DisplayClose();
        ExpectAllReleased();
    }
}

TEST_F(DisplayTest, EightBitModeLoadsAndAttachesThePalette)
{
    WriteFileBytes("PALDATA2.PAL", "1 2 3 0\n10 20 30 0\n");
    ASSERT_EQ(DisplayOpen(640, 480, 8, 0), 1);
    EXPECT_EQ(g_paletteEntries[1].red, 10);
    EXPECT_EQ(g_paletteEntries[1].blue, 30);
    EXPECT_EQ(g_paletteEntries[2].red, 0);
    ASSERT_NE(g_palette, nullptr);
    EXPECT_EQ(FakeVideoPaletteCaps(g_palette), 0x44u);
    EXPECT_EQ(FakeVideoPaletteOf(g_primarySurface), g_palette);
    EXPECT_EQ(g_paletteEntries[0].flags, 0); // the desktop keeps no entries
    DisplayClose();
    ExpectAllReleased();

    FakeResetAll();
    ASSERT_EQ(DisplayOpen(640, 480, 8, 1), 1);
    EXPECT_EQ(FakeVideoPaletteCaps(g_palette), 0x4u);
    for (int i : {0, 9, 246, 255}) {
        EXPECT_EQ(g_paletteEntries[i].flags, PLAT_PC_EXPLICIT) << i;
    }
    EXPECT_EQ(g_paletteEntries[10].flags, 0);
    EXPECT_EQ(g_paletteEntries[245].flags, 0);
    DisplayClose();
    const std::vector<std::string> released = {"clipper:list",      "clipper:window",  "palette",
                                               "surface:offscreen", "surface:primary", "device"};
    EXPECT_EQ(FakeVideoReleaseLog(), released);
    ExpectAllReleased();

    for (const char* step : {"VideoCreatePalette", "VideoSetPalette"}) {
        FakeResetAll();
        FakeFailCall(step, -1);
        EXPECT_EQ(DisplayOpen(640, 480, 8, 0), 0) << step;
        EXPECT_EQ(FakeCallCount("VideoColorFill"), 0) << step;
        DisplayClose();
        ExpectAllReleased();
    }
}

TEST_F(DisplayTest, ClipListBoundsItsRectanglesAndAnEmptyListKeepsTheStartBound)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    PlatSurface surface = CreateOffscreenSurface(100, 100, 0, 0);
    ASSERT_NE(surface, nullptr);

    PlatClipper empty = AttachClipper(surface, 0, nullptr);
    ASSERT_NE(empty, nullptr);
    FakeClipList list = FakeVideoClipListOf(empty);
    EXPECT_EQ(list.header.count, 0u);
    EXPECT_EQ(list.header.regionSize, 0u);
    EXPECT_TRUE(SameRect(list.header.bound, {64000, 64000, -64000, -64000}));

    const PlatRect rects[2] = {{10, 40, 20, 50}, {-5, 60, 8, 90}};
    PlatClipper two = AttachClipper(surface, 2, rects);
    ASSERT_NE(two, nullptr);
    list = FakeVideoClipListOf(two);
    EXPECT_EQ(list.header.regionSize, 32u);
    EXPECT_TRUE(SameRect(list.header.bound, {-5, 40, 20, 90}));
    ASSERT_EQ(list.rects.size(), 2u);
    EXPECT_TRUE(SameRect(list.rects[1], rects[1]));

    PlatVideoReleaseClipper(empty);
    PlatVideoReleaseClipper(two);
    PlatVideoReleaseSurface(surface);
    DisplayClose();
    ExpectAllReleased();
}

TEST_F(DisplayTest, RefusedClipListGivesNoClipperAndLeaksNone)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    const int live = FakeVideoLiveObjects();
    const PlatRect rect{0, 0, 10, 10};
    for (const char* step : {"VideoSetClipList", "VideoSetClipper"}) {
        FakeFailCall(step, -1, 0, 1);
        EXPECT_EQ(AttachClipper(g_backSurface, 1, &rect), nullptr) << step;
        EXPECT_EQ(FakeVideoLiveObjects(), live) << step;
    }
    FakeFailCall("VideoCreateClipper", -1, 0, 1);
    EXPECT_EQ(AttachClipper(g_backSurface, 1, &rect), nullptr);
    DisplayClose();
    ExpectAllReleased();
}

TEST_F(DisplayTest, FillUsesTheLowSixteenBitsWithinTheClipList)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    std::span<uint16_t> back = FakeVideoPixels(g_backSurface);
    EXPECT_EQ(SurfaceFill(g_backSurface, 0x12345, nullptr), 1);
    EXPECT_TRUE(std::all_of(back.begin(), back.end(), [](uint16_t p) { return p == 0x2345; }));

    // Key and fill both keep only the low half.
    PlatSurface plain = CreateOffscreenSurface(8, 8, 0, 0x1ABCD);
    EXPECT_EQ(FakeVideoColorKeyOf(plain).low, 0xABCDu);
    EXPECT_EQ(FakeVideoColorKeyOf(plain).high, 0xABCDu);

    // A rectangle reaching past the clip list is cut to it.
    const PlatRect clip{2, 2, 6, 6};
    PlatClipper clipper = AttachClipper(plain, 1, &clip);
    const PlatRect area{0, 0, 4, 8};
    SurfaceFill(plain, 7, &area);
    std::span<const uint16_t> pixels = FakeVideoPixels(plain);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 4 && y >= 2 && y < 6;
            EXPECT_EQ(pixels[static_cast<size_t>(y * 8 + x)], inside ? 7 : 0) << x << "," << y;
        }
    }
    PlatVideoReleaseClipper(clipper);
    PlatVideoReleaseSurface(plain);

    // A refused fill or colour key is ignored.
    FakeFailCall("VideoColorFill", -1, 0, 1);
    EXPECT_EQ(SurfaceFill(g_backSurface, 1, nullptr), 1);
    FakeFailCall("VideoSetColorKey", -1, 0, 1);
    PlatSurface unkeyed = CreateOffscreenSurface(8, 8, 0, 0);
    EXPECT_NE(unkeyed, nullptr);
    PlatVideoReleaseSurface(unkeyed);
    DisplayClose();
    ExpectAllReleased();
}

TEST_F(DisplayTest, WithoutADisplayTheFrameCallsDoNothing)
{
    FakeFailCall("VideoCreate", -1);
    DisplayOpen(800, 600, 16, 0);
    FakeClearCallLog();
    EXPECT_EQ(SurfaceFill(g_backSurface, 0, nullptr), 1);
    BackBufferLock();
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_EQ(BackBufferUnlock(), 0);
    EXPECT_EQ(DisplayFlip(), 0);
    EXPECT_TRUE(VideoCalls().empty());
    DisplayClose();
}

TEST_F(DisplayTest, LockUnlockAndFlipFollowTheLockState)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    BackBufferLock();
    ASSERT_NE(g_backBits, nullptr);
    EXPECT_EQ(g_backPitch, 1600);
    uint16_t* bits = g_backBits;
    bits[599 * 800 + 799] = 0xBEEF;

    // Locking again changes nothing and asks the platform nothing.
    BackBufferLock();
    EXPECT_EQ(g_backBits, bits);
    EXPECT_EQ(g_backPitch, 1600);
    EXPECT_EQ(FakeCallCount("VideoLock"), 1);

    // No flip while locked.
    EXPECT_EQ(DisplayFlip(), 0);
    EXPECT_EQ(FakeCallCount("VideoFlip"), 0);
    EXPECT_EQ(FakeVideoPresentCount(), 0);

    EXPECT_EQ(BackBufferUnlock(), 1);
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_EQ(g_backPitch, 0);
    EXPECT_FALSE(FakeVideoLocked(g_backSurface));
    EXPECT_EQ(BackBufferUnlock(), 0);
    EXPECT_EQ(FakeCallCount("VideoUnlock"), 1);

    EXPECT_EQ(DisplayFlip(), 1);
    EXPECT_EQ(FakeVideoPresentCount(), 1);
    EXPECT_EQ(FakeVideoPresentedFrame()[599 * 800 + 799], 0xBEEF);

    // A refused lock leaves the unlocked state.
    FakeFailCall("VideoLock", -1, 0, 1);
    BackBufferLock();
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_EQ(g_backPitch, 0);

    // A refused unlock is ignored: the game's side is unlocked all the same.
    BackBufferLock();
    FakeFailCall("VideoUnlock", -1, 0, 1);
    EXPECT_EQ(BackBufferUnlock(), 1);
    EXPECT_EQ(g_backBits, nullptr);
    DisplayClose();
    ExpectAllReleased();
}

TEST_F(DisplayTest, CloseWhileLockedForgetsTheLock)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    BackBufferLock();
    DisplayClose();
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_EQ(g_backPitch, 0);
    ExpectAllReleased();
}

TEST_F(DisplayTest, RefusedFlipIsRetriedButNotForever)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    // Refused a few times, then accepted: presented.
    FakeFailCall("VideoFlip", -1, 0, 2);
    EXPECT_EQ(DisplayFlip(), 1);
    EXPECT_EQ(FakeCallCount("VideoFlip"), 3);
    EXPECT_EQ(FakeVideoPresentCount(), 1);
    EXPECT_EQ(FakeCallCount("VideoRestoreAllSurfaces"), 0);

    // The display taken away for good: each frame gives up and restores.
    FakeClearCallLog();
    FakeFailCall("VideoFlip", -1);
    EXPECT_EQ(DisplayFlip(), 0);
    EXPECT_EQ(DisplayFlip(), 0);
    EXPECT_EQ(FakeCallCount("VideoFlip"), 2 * FLIP_ATTEMPTS);
    EXPECT_EQ(FakeCallCount("VideoRestoreAllSurfaces"), 2);
    EXPECT_EQ(FakeVideoPresentCount(), 1);

    // Given back: frames are shown again.
    FakeClearFailures();
    EXPECT_EQ(DisplayFlip(), 1);
    EXPECT_EQ(FakeVideoPresentCount(), 2);
    DisplayClose();
}

TEST_F(DisplayTest, WindowedFlipCopiesTheWholeBackBufferToTheWindow)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 1), 1);
    BackBufferLock();
    g_backBits[0] = 0x1111;
    g_backBits[599 * 800 + 799] = 0x2222;
    BackBufferUnlock();
    EXPECT_EQ(DisplayFlip(), 1);
    EXPECT_EQ(FakeCallCount("GetWindowRect"), 1);
    ASSERT_EQ(FakeVideoPresentCount(), 1);
    // The last row and column arrive too: the copy is not a pixel short.
    EXPECT_EQ(FakeVideoPresentedFrame()[0], 0x1111);
    EXPECT_EQ(FakeVideoPresentedFrame()[599 * 800 + 799], 0x2222);

    FakeFailCall("VideoBlt", -1, 0, 1);
    EXPECT_EQ(DisplayFlip(), 0);
    DisplayClose();
    ExpectAllReleased();
}

TEST_F(DisplayTest, PaletteFileFillsWhatItReachesAsBytes)
{
    PlatPaletteEntry entries[256];
    for (PlatPaletteEntry& entry : entries) {
        entry = {9, 9, 9, 9};
    }
    EXPECT_EQ(LoadPaletteFile("missing.pal", entries), 0);
    EXPECT_EQ(entries[0].red, 9);

    WriteFileBytes("short.pal", "300 -1 7 2\n  4 5\n");
    EXPECT_EQ(LoadPaletteFile("short.pal", entries), 1);
    EXPECT_EQ(entries[0].red, 300 & 0xFF);
    EXPECT_EQ(entries[0].green, 255);
    EXPECT_EQ(entries[0].blue, 7);
    EXPECT_EQ(entries[0].flags, 2);
    EXPECT_EQ(entries[1].red, 4);
    EXPECT_EQ(entries[1].green, 5);
    EXPECT_EQ(entries[1].blue, 9);
    EXPECT_EQ(entries[255].red, 9);

    // Reading stops at the first thing that is not a number.
    WriteFileBytes("broken.pal", "1 2 x 4 5 6 7 8\n");
    EXPECT_EQ(LoadPaletteFile("broken.pal", entries), 1);
    EXPECT_EQ(entries[0].green, 2);
    EXPECT_EQ(entries[0].blue, 7);
    EXPECT_EQ(entries[1].red, 4);
}

TEST_F(DisplayTest, LogWritesOnlyToAnOpenStream)
{
    EXPECT_EQ(LogPrintf("\npixel format = %d", 16), 0);
    EXPECT_EQ(LogPrintf(nullptr), 0);
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    g_logFile = stream;
    EXPECT_EQ(LogPrintf("\npixel format = %d", 15), 1);
    g_logFile = nullptr;
    std::rewind(stream);
    char text[64] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text - 1, stream), 18u);
    EXPECT_STREQ(text, "\npixel format = 15");
    std::fclose(stream);
}

} // namespace
