// The sprite copies work in fixed-size blocks with an overlapping last block,
// and reuse the last buffer given back; the fake display fills with memset and
// lets the primary surface take its copy of a flipped picture late. These
// check that every width, position and order still gives the plain results.
#include "display/display_device.h"
#include "display/sprite.h"
#include "platform/fake/fake_video.h"
#include "tests/test_support.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

// Mixed transparent and opaque pixels, no pattern a block size could hide.
uint16_t Pattern(int32_t x, int32_t y)
{
    const uint32_t hash = static_cast<uint32_t>(x * 73 + y * 151) * 2654435761u;
    return (hash >> 29) < 3 ? 0 : static_cast<uint16_t>((hash >> 8) | 1);
}

Bitmap PatternPicture(int32_t width, int32_t height)
{
    return MakePicture(width, height, Pattern);
}

class BlitBlocksTest : public GameTest {};

TEST_F(BlitBlocksTest, EveryWidthAndPlaceDrawsWhatAPixelByPixelCopyWould)
{
    constexpr int32_t W = 64;
    constexpr int32_t H = 12;
    constexpr uint16_t UNDER = 0x5A5A;
    Bitmap picture = PatternPicture(80, 10);
    for (int32_t width = 1; width <= 41; ++width) {
        for (int32_t x : {-9, -1, 0, 3, W - width, W - 5}) {
            Sprite sprite{};
            ASSERT_EQ(SpriteCreate(&sprite, x, 2, width, 3, 16), 1);
            ASSERT_EQ(SpriteGrab(&sprite, &picture, 7, 1, GRAB_PIXEL), 1);
            for (int32_t transparent : {1, 0}) {
                // One pixel of slack at the right of every line shows a write past it.
                std::vector<uint16_t> screen(static_cast<size_t>((W + 1) * H), UNDER);
                ASSERT_EQ(SpriteDrawClipped(&sprite, screen.data(), (W + 1) * 2, W, H, transparent),
                          1);
                for (int32_t row = 0; row < H; ++row) {
                    for (int32_t column = 0; column <= W; ++column) {
                        uint16_t expected = UNDER;
                        const int32_t sx = column - x;
                        const int32_t sy = row - 2;
                        if (column < W && sx >= 0 && sx < width && sy >= 0 && sy < 3) {
                            const uint16_t over = Pattern(7 + sx, 1 + sy);
                            expected = over != 0 || transparent == 0 ? over : UNDER;
                        }
                        ASSERT_EQ(screen[static_cast<size_t>(row * (W + 1) + column)], expected)
                            << "width " << width << " at " << x << ", pixel " << column << ","
                            << row << ", transparent " << transparent;
                    }
                }
            }
            SpriteDestroy(&sprite);
        }
    }
    BitmapUnload(&picture);
}

TEST_F(BlitBlocksTest, ARecreatedSpriteIsZeroedWhateverItsBufferHeldBefore)
{
    Bitmap picture = PatternPicture(40, 40);
    Sprite sprite{};
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_EQ(SpriteCreate(&sprite, 0, 0, 24, 24, 16), 1);
        for (int i = 0; i < 24 * 24; ++i) {
            ASSERT_EQ(sprite.pixels[i], 0) << "pass " << pass << ", pixel " << i;
        }
        EXPECT_EQ(sprite.flags, 0u);
        ASSERT_EQ(SpriteGrab(&sprite, &picture, 3, 4, GRAB_PIXEL), 1);
        EXPECT_EQ(sprite.pixels[0], Pattern(3, 4));
        ASSERT_EQ(SpriteDestroy(&sprite), 1);
        EXPECT_EQ(sprite.pixels, nullptr);
    }
    // A record whose size field was changed by hand still gives its buffer back
    // safely, and the next sprite of that size gets a whole zeroed buffer.
    ASSERT_EQ(SpriteCreate(&sprite, 0, 0, 4, 4, 16), 1);
    sprite.sizeBytes = 24 * 24 * 2;
    ASSERT_EQ(SpriteDestroy(&sprite), 1);
    ASSERT_EQ(SpriteCreate(&sprite, 0, 0, 24, 24, 16), 1);
    ASSERT_EQ(SpriteGrab(&sprite, &picture, 0, 0, GRAB_PIXEL), 1);
    EXPECT_EQ(sprite.pixels[24 * 24 - 1], Pattern(23, 23));
    SpriteDestroy(&sprite);
    BitmapUnload(&picture);
}

TEST_F(BlitBlocksTest, FillsOfEveryKindOfColourAndRectangle)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    std::span<uint16_t> back = FakeVideoPixels(g_backSurface);
    for (uint16_t colour : {uint16_t{0x0000}, uint16_t{0x4141}, uint16_t{0x1234}}) {
        SurfaceFill(g_backSurface, 0x7777, nullptr);
        const PlatRect area{5, 7, 13, 10};
        SurfaceFill(g_backSurface, colour, &area);
        for (int32_t y = 0; y < 12; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                const bool inside = x >= 5 && x < 13 && y >= 7 && y < 10;
                ASSERT_EQ(back[static_cast<size_t>(y * 800 + x)], inside ? colour : 0x7777)
                    << colour << " at " << x << "," << y;
            }
        }
    }
    DisplayClose();
}

TEST_F(BlitBlocksTest, TheFlippedPrimaryHoldsEachPresentedPicture)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    uint16_t older = 0;
    for (uint16_t colour : {uint16_t{0x1111}, uint16_t{0x2222}}) {
        SurfaceFill(g_backSurface, colour, nullptr);
        ASSERT_EQ(DisplayFlip(), 1);
        std::span<const uint16_t> presented = FakeVideoPresentedFrame();
        ASSERT_EQ(presented.size(), 800u * 600u);
        EXPECT_EQ(presented[599 * 800 + 799], colour);
        std::span<uint16_t> primary = FakeVideoPixels(g_primarySurface);
        std::span<uint16_t> backNow = FakeVideoPixels(g_backSurface);
        EXPECT_TRUE(std::equal(primary.begin(), primary.end(), presented.begin(), presented.end()));
        // The buffers traded places: the back buffer holds the picture before.
        EXPECT_TRUE(std::all_of(backNow.begin(), backNow.end(),
                                [older](uint16_t pixel) { return pixel == older; }));
        older = colour;
    }
    // Changing the primary afterwards leaves the presented picture alone, and
    // the next flip replaces both.
    const PlatRect corner{0, 0, 2, 2};
    SurfaceFill(g_primarySurface, 0x3333, &corner);
    EXPECT_EQ(FakeVideoPixels(g_primarySurface)[0], 0x3333);
    EXPECT_EQ(FakeVideoPixels(g_primarySurface)[2], 0x2222);
    EXPECT_EQ(FakeVideoPresentedFrame()[0], 0x2222);
    SurfaceFill(g_backSurface, 0x4444, nullptr);
    ASSERT_EQ(DisplayFlip(), 1);
    EXPECT_EQ(FakeVideoPixels(g_primarySurface)[0], 0x4444);
    EXPECT_EQ(FakeVideoPresentedFrame()[0], 0x4444);
    DisplayClose();
}

} // namespace
