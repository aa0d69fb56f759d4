#include "app/app_shell.h"
#include "display/display_device.h"
#include "display/glyph_table.h"
#include "display/text.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_video.h"
#include "tests/test_support.h"

#include <algorithm>
#include <vector>

namespace {

struct Box {
    int32_t left = INT32_MAX;
    int32_t top = INT32_MAX;
    int32_t right = INT32_MIN; // inclusive
    int32_t bottom = INT32_MIN;
    int count = 0;
};

// Where pixels differ from `background`.
Box Changed(std::span<const uint16_t> pixels, int32_t width, uint16_t background)
{
    Box box;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] == background) {
            continue;
        }
        const auto x = static_cast<int32_t>(i % static_cast<size_t>(width));
        const auto y = static_cast<int32_t>(i / static_cast<size_t>(width));
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
        ++box.count;
    }
    return box;
}

class TextTest : public GameTest {};

TEST_F(TextTest, TextAppearsInItsColourWithItsTopLeftAtThePoint)
{
    for (int32_t format : {16, 15}) {
        g_pixelFormat = format;
        std::vector<uint16_t> screen(800 * 600, 0);
        DrawTextInto(screen.data(), 1600, 800, 600, 635, 260, "Well done!!");
        Box box = Changed(screen, 800, 0);
        ASSERT_GT(box.count, 50);
        // Within the text's line, starting at its top-left corner.
        EXPECT_GE(box.left, 635);
        EXPECT_LE(box.left, 637);
        EXPECT_LE(box.right, 635 + TextWidth("Well done!!"));
        EXPECT_GE(box.right, 635 + TextWidth("Well done!!") - 6);
        EXPECT_GE(box.top, 260);
        EXPECT_LE(box.top, 265);
        EXPECT_LT(box.bottom, 260 + TextLineHeight());
        // Full coverage gives exactly the text colour; nothing is brighter.
        const auto full = static_cast<uint16_t>(PackRGB(TEXT_RED, TEXT_GREEN, TEXT_BLUE));
        EXPECT_GT(std::count(screen.begin(), screen.end(), full), 10) << format;
    }
    EXPECT_EQ(TextLineHeight(), 16);
}

TEST_F(TextTest, BackgroundShowsBetweenTheStrokes)
{
    g_pixelFormat = 16;
    const uint16_t backdrop = 0x39E7;
    std::vector<uint16_t> screen(200 * 40, backdrop);
    DrawTextInto(screen.data(), 400, 200, 40, 10, 10, "O");
    Box box = Changed(screen, 200, backdrop);
    ASSERT_GT(box.count, 0);
    // The middle of the O keeps the backdrop, and so does the margin.
    const int32_t midX = (box.left + box.right) / 2;
    const int32_t midY = (box.top + box.bottom) / 2;
    EXPECT_EQ(screen[static_cast<size_t>(midY * 200 + midX)], backdrop);
    EXPECT_EQ(screen[static_cast<size_t>(10 * 200 + 9)], backdrop);
}

TEST_F(TextTest, EveryCoveredPixelBecomesNonZero)
{
    // Faint edge pixels over black would round to 0, which reads as "empty".
    for (int32_t format : {16, 15}) {
        g_pixelFormat = format;
        for (char c : {'W', 'g', '@', 'e'}) {
            const Glyph& glyph = g_glyphs[c - GLYPH_FIRST];
            int covered = 0;
            for (uint32_t i = 0; i < uint32_t{glyph.width} * glyph.height; ++i) {
                covered += g_glyphCoverage[glyph.offset + i] != 0;
            }
            std::vector<uint16_t> screen(64 * 32, 0);
            const char text[2] = {c, '\0'};
            DrawTextInto(screen.data(), 128, 64, 32, 10, 5, text);
            EXPECT_EQ(Changed(screen, 64, 0).count, covered) << c << " in format " << format;
        }
    }
}

TEST_F(TextTest, TextIsClippedAtEachEdge)
{
    constexpr int32_t W = 40;
    constexpr int32_t H = 20;
    constexpr int32_t BAND = 32;
    constexpr int32_t STRIDE = W + 2 * BAND;
    const int32_t points[][2] = {{-12, 4},   {W - 8, 4},       {4, -9},
                                 {4, H - 5}, {-30, -30},       {W + 3, 0},
                                 {0, H},     {-2000000000, 5}, {5, 2000000000}};
    for (const auto& point : points) {
        std::vector<uint16_t> all(static_cast<size_t>(STRIDE * (H + 2 * BAND)), 0xDEAD);
        uint16_t* origin = all.data() + BAND * STRIDE + BAND;
        for (int32_t y = 0; y < H; ++y) {
            std::fill(origin + y * STRIDE, origin + y * STRIDE + W, uint16_t{0});
        }
        DrawTextInto(origin, STRIDE * 2, W, H, point[0], point[1], "Mg@W");
        int inside = 0;
        for (int32_t y = -BAND; y < H + BAND; ++y) {
            for (int32_t x = -BAND; x < W + BAND; ++x) {
                uint16_t pixel = origin[y * STRIDE + x];
                bool in = x >= 0 && x < W && y >= 0 && y < H;
                if (!in) {
                    ASSERT_EQ(pixel, 0xDEAD)
                        << x << "," << y << " from " << point[0] << "," << point[1];
                }
                inside += in && pixel != 0;
            }
        }
        bool visible = point[0] + TextWidth("Mg@W") > 0 && point[0] < W &&
                       point[1] + TextLineHeight() > 0 && point[1] < H;
        EXPECT_EQ(inside > 0, visible) << point[0] << "," << point[1];
    }
}

TEST_F(TextTest, DrawsIntoTheBackBufferLockedOrNot)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    std::span<uint16_t> back = FakeVideoPixels(g_backSurface);

    // Unlocked: the back surface is locked for the text alone.
    FakeClearCallLog();
    DrawTextAt(100, 30, "Size of the field?");
    EXPECT_EQ(FakeCallCount("VideoLock"), 1);
    EXPECT_EQ(FakeCallCount("VideoUnlock"), 1);
    EXPECT_EQ(g_backBits, nullptr);
    EXPECT_FALSE(FakeVideoLocked(g_backSurface));
    Box box = Changed(back, 800, 0);
    EXPECT_GE(box.left, 100);
    EXPECT_LT(box.bottom, 30 + 16);

    // Locked: straight into g_backBits, no platform call.
    SurfaceFill(g_backSurface, 0, nullptr);
    BackBufferLock();
    FakeClearCallLog();
    DrawTextAt(635, 260, "Well done!!");
    EXPECT_EQ(FakeCallCount("VideoLock"), 0);
    EXPECT_EQ(FakeCallCount("VideoUnlock"), 0);
    BackBufferUnlock();
    box = Changed(back, 800, 0);
    EXPECT_GE(box.left, 635);
    EXPECT_GE(box.top, 260);
    DisplayFlip();
    EXPECT_EQ(Changed(FakeVideoPresentedFrame(), 800, 0).count, box.count);
    DisplayClose();
}

TEST_F(TextTest, RefusedDrawingContextAsksTheGameToQuit)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    FakeFailCall("VideoLock", -1, 0, 1);
    DrawTextAt(100, 30, "x");
    PlatMessage message{};
    ASSERT_TRUE(PlatPeekMessage(&message));
    EXPECT_EQ(message.message, WM_DESTROY);
    EXPECT_EQ(message.window, g_mainWindow);
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 0);
    EXPECT_EQ(Changed(FakeVideoPixels(g_backSurface), 800, 0).count, 0);
    EXPECT_EQ(FakeCallCount("VideoUnlock"), 0);
    DisplayClose();
}

} // namespace
