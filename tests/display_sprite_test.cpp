#include "display/display_device.h"
#include "display/sprite.h"
#include "tests/test_support.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr uint16_t GUARD = 0xDEAD;

uint16_t Coded(int32_t x, int32_t y)
{
    return static_cast<uint16_t>(0x4000 + y * 128 + x);
}

// A destination of width × height pixels inside a frame of guard pixels, so
// that any write outside the destination shows.
struct GuardedBuffer {
    static constexpr int32_t BAND = 64;
    int32_t width;
    int32_t height;
    int32_t stride;
    std::vector<uint16_t> all;

    GuardedBuffer(int32_t w, int32_t h)
        : width(w),
          height(h),
          stride(w + 2 * BAND),
          all(static_cast<size_t>(stride * (h + 2 * BAND)), GUARD)
    {
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                At(x, y) = 0;
            }
        }
    }
    uint16_t& At(int32_t x, int32_t y)
    {
        return all[static_cast<size_t>((y + BAND) * stride + x + BAND)];
    }
    uint16_t* Origin() { return &At(0, 0); }
    int32_t Pitch() const { return stride * 2; }
    bool GuardsIntact()
    {
        for (int32_t y = -BAND; y < height + BAND; ++y) {
            for (int32_t x = -BAND; x < stride - BAND; ++x) {
                bool inside = x >= 0 && x < width && y >= 0 && y < height;
                if (!inside && At(x, y) != GUARD) {
                    return false;
                }
            }
        }
        return true;
    }
};

class SpriteTest : public GameTest {
protected:
    void TearDown() override
    {
        SpriteDestroy(&sprite_);
        BitmapUnload(&picture_);
        GameTest::TearDown();
    }

    Sprite sprite_{};
    Bitmap picture_{};
};

TEST_F(SpriteTest, CreateGivesAZeroedUnloadedBufferAndDestroyEmptiesOnce)
{
    ASSERT_EQ(SpriteCreate(&sprite_, 3, 4, 120, 120, 16), 1);
    EXPECT_EQ(sprite_.sizeBytes, 28800);
    EXPECT_EQ(sprite_.created, 1);
    EXPECT_EQ(sprite_.flags, 0u);
    EXPECT_EQ(sprite_.x, 3);
    EXPECT_EQ(sprite_.y, 4);
    EXPECT_EQ(sprite_.bpp, 16);
    for (int i = 0; i < 120 * 120; ++i) {
        ASSERT_EQ(sprite_.pixels[i], 0);
    }
    EXPECT_EQ(SpriteDestroy(&sprite_), 1);
    EXPECT_EQ(sprite_.pixels, nullptr);
    EXPECT_EQ(sprite_.created, 0);
    EXPECT_EQ(sprite_.width, 0);
    EXPECT_EQ(SpriteDestroy(&sprite_), 0);
    EXPECT_EQ(SpriteDestroy(nullptr), 0);

    // Sizes no buffer can have fail like a refused allocation.
    Sprite bad{};
    bad.width = 7;
    EXPECT_EQ(SpriteCreate(&bad, 0, 0, -1, 10, 16), 0);
    EXPECT_EQ(bad.pixels, nullptr);
    EXPECT_EQ(bad.width, 7);
}

TEST_F(SpriteTest, TransparentAndOpaqueCopies)
{
    picture_ = MakePicture(2, 1, [](int32_t x, int32_t) { return uint16_t(x == 0 ? 0 : 0x1234); });
    std::vector<uint16_t> screen(800 * 600, 0x7777);
    ASSERT_EQ(SpriteCreate(&sprite_, 5, 7, 2, 1, 16), 1);
    EXPECT_EQ(SpriteDraw(&sprite_, screen.data(), 1600, 1), 0); // not grabbed yet
    EXPECT_EQ(screen[7 * 800 + 6], 0x7777);

    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 0, 0, GRAB_PIXEL), 1);
    EXPECT_EQ(sprite_.flags, SPRITE_LOADED);
    EXPECT_EQ(SpriteDraw(&sprite_, nullptr, 1600, 1), 0);
    EXPECT_EQ(SpriteDraw(&sprite_, screen.data(), 1600, 1), 1);
    EXPECT_EQ(screen[7 * 800 + 5], 0x7777);
    EXPECT_EQ(screen[7 * 800 + 6], 0x1234);
    int changed = 0;
    for (uint16_t p : screen) {
        changed += p != 0x7777;
    }
    EXPECT_EQ(changed, 1);

    EXPECT_EQ(SpriteDraw(&sprite_, screen.data(), 1600, 0), 1);
    EXPECT_EQ(screen[7 * 800 + 5], 0x0000);
    EXPECT_EQ(screen[7 * 800 + 6], 0x1234);
}

TEST_F(SpriteTest, CellAndPixelModesPickTheirSource)
{
    picture_ = MakePicture(100, 60, Coded);
    ASSERT_EQ(SpriteCreate(&sprite_, 0, 0, 24, 24, 16), 1);
    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 2, 1, GRAB_CELL), 1);
    EXPECT_EQ(sprite_.pixels[0], Coded(51, 26));
    // Rows step by the picture's width, not the sprite's.
    EXPECT_EQ(sprite_.pixels[23 * 24 + 23], Coded(74, 49));

    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 2, 1, GRAB_PIXEL), 1);
    EXPECT_EQ(sprite_.pixels[0], Coded(2, 1));
    EXPECT_EQ(sprite_.pixels[1 * 24 + 0], Coded(2, 2));
    EXPECT_EQ(sprite_.pixels[5], Coded(7, 1));
}

TEST_F(SpriteTest, GrabTakesOnlyWhatLiesInsideThePicture)
{
    picture_ = MakePicture(30, 20, Coded);
    ASSERT_EQ(SpriteCreate(&sprite_, 0, 0, 10, 10, 16), 1);
    // Over the bottom-right corner: 5 × 5 pixels exist, the rest is transparent.
    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 25, 15, GRAB_PIXEL), 1);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            uint16_t expected = x < 5 && y < 5 ? Coded(25 + x, 15 + y) : 0;
            EXPECT_EQ(sprite_.pixels[y * 10 + x], expected) << x << "," << y;
        }
    }
    // Over the top-left corner.
    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, -3, -4, GRAB_PIXEL), 1);
    EXPECT_EQ(sprite_.pixels[0], 0);
    EXPECT_EQ(sprite_.pixels[4 * 10 + 3], Coded(0, 0));
    EXPECT_EQ(sprite_.pixels[9 * 10 + 9], Coded(6, 5));

    // Nothing inside: nothing copied.
    Sprite fresh{};
    ASSERT_EQ(SpriteCreate(&fresh, 0, 0, 10, 10, 16), 1);
    EXPECT_EQ(SpriteGrab(&fresh, &picture_, 30, 0, GRAB_PIXEL), 0);
    EXPECT_EQ(SpriteGrab(&fresh, &picture_, 0, -10, GRAB_PIXEL), 0);
    EXPECT_EQ(fresh.flags, 0u);
    SpriteDestroy(&fresh);
}

TEST_F(SpriteTest, GrabRefusesWhatItCannotReadAsSixteenBitPixels)
{
    picture_ = MakePicture(30, 20, Coded);
    Bitmap empty{};
    ASSERT_EQ(SpriteCreate(&sprite_, 0, 0, 4, 4, 16), 1);
    EXPECT_EQ(SpriteGrab(nullptr, &picture_, 0, 0, GRAB_PIXEL), 0);
    EXPECT_EQ(SpriteGrab(&sprite_, &empty, 0, 0, GRAB_PIXEL), 0);
    picture_.infoHeader.biBitCount = 8;
    EXPECT_EQ(SpriteGrab(&sprite_, &picture_, 0, 0, GRAB_PIXEL), 0);
    picture_.infoHeader.biBitCount = 16;
    // An 8-bit sprite's buffer is half what 16-bit pixels need.
    Sprite narrow{};
    ASSERT_EQ(SpriteCreate(&narrow, 0, 0, 4, 4, 8), 1);
    EXPECT_EQ(narrow.sizeBytes, 16);
    EXPECT_EQ(SpriteGrab(&narrow, &picture_, 0, 0, GRAB_PIXEL), 0);
    SpriteDestroy(&narrow);
    EXPECT_EQ(sprite_.flags, 0u);
}

TEST_F(SpriteTest, DrawingAcrossEveryEdgeStaysInsideTheDestination)
{
    constexpr int32_t W = 50;
    constexpr int32_t H = 40;
    constexpr int32_t S = 24;
    picture_ = MakePicture(S, S, [](int32_t x, int32_t y) { return Coded(x, y); });
    g_screenWidth = W;
    g_screenHeight = H;
    const int32_t positions[][2] = {
        {-10, 5},   {W - 10, 5},    {5, -10},    {5, H - 10}, // each edge
        {-10, -10}, {W - 5, H - 5}, {-S, 0},     {W, 0},      // corners, just outside
        {0, H},     {-100000, 3},   {3, 100000}, {2000000000, 2000000000}};
    for (int32_t transparent : {1, 0}) {
        for (const auto& position : positions) {
            GuardedBuffer buffer(W, H);
            SpriteDestroy(&sprite_);
            ASSERT_EQ(SpriteCreate(&sprite_, position[0], position[1], S, S, 16), 1);
            ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 0, 0, GRAB_PIXEL), 1);
            EXPECT_EQ(SpriteDraw(&sprite_, buffer.Origin(), buffer.Pitch(), transparent), 1);
            EXPECT_TRUE(buffer.GuardsIntact()) << position[0] << "," << position[1];
            // The part inside is drawn where it belongs.
            for (int32_t y = 0; y < H; ++y) {
                for (int32_t x = 0; x < W; ++x) {
                    int64_t sx = int64_t{x} - position[0];
                    int64_t sy = int64_t{y} - position[1];
                    bool covered = sx >= 0 && sx < S && sy >= 0 && sy < S;
                    uint16_t expected = covered ? Coded(static_cast<int32_t>(sx),
                                                        static_cast<int32_t>(sy))
                                                : 0;
                    ASSERT_EQ(buffer.At(x, y), expected)
                        << x << "," << y << " for " << position[0] << "," << position[1];
                }
            }
        }
    }
}

TEST_F(SpriteTest, ClippedDrawUsesTheGivenSizeAndNeverPassesThePitch)
{
    picture_ = MakePicture(24, 24, Coded);
    ASSERT_EQ(SpriteCreate(&sprite_, 20, 10, 24, 24, 16), 1);
    ASSERT_EQ(SpriteGrab(&sprite_, &picture_, 0, 0, GRAB_PIXEL), 1);
    GuardedBuffer buffer(30, 20);
    // A claimed width wider than the lines are is cut to the line.
    EXPECT_EQ(SpriteDrawClipped(&sprite_, buffer.Origin(), buffer.Pitch(), 30, 20, 1), 1);
    EXPECT_TRUE(buffer.GuardsIntact());
    EXPECT_EQ(buffer.At(29, 19), Coded(9, 9));
    // Lines of exactly 30 pixels: a write past the pitch would leave the
    // vector (the sanitizer build catches that).
    std::vector<uint16_t> exact(30 * 20, 0);
    EXPECT_EQ(SpriteDrawClipped(&sprite_, exact.data(), 30 * 2, 1000, 20, 0), 1);
    EXPECT_EQ(exact[19 * 30 + 29], Coded(9, 9));
    EXPECT_EQ(exact[10 * 30 + 19], 0);
    EXPECT_EQ(SpriteDrawClipped(&sprite_, exact.data(), 0, 30, 20, 0), 0);
}

} // namespace
