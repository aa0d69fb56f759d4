// One whole frame the way the screens build it, saved as a picture to look at
// (<build>/tests/display_frame.png).
#include "display/display_device.h"
#include "display/sprite.h"
#include "display/text.h"
#include "platform/fake/fake_video.h"
#include "tests/test_support.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// Screen pattern: destroy, create, grab, draw, as every small graphic is drawn.
void DrawPiece(Sprite* scratch, const Bitmap& atlas, int32_t sx, int32_t sy, int32_t w, int32_t h,
               int32_t x, int32_t y)
{
    SpriteDestroy(scratch);
    SpriteCreate(scratch, x, y, w, h, 16);
    SpriteGrab(scratch, &atlas, sx, sy, GRAB_PIXEL);
    SpriteDraw(scratch, g_backBits, g_backPitch, 1);
}

class FrameTest : public GameTest {};

TEST_F(FrameTest, FrameWithSpritesAndTextIsPresented)
{
    ASSERT_EQ(DisplayOpen(800, 600, 16, 0), 1);
    // Backdrop: a gradient; atlas: a tile at (0, 0), a ring lamp at (0, 24), an arrow at (120, 24).
    Bitmap backdrop = MakePicture(575, 575, [](int32_t x, int32_t y) {
        return PackRGB(40 + x * 100 / 575, 30, 60 + y * 120 / 575);
    });
    Bitmap atlas = MakePicture(240, 144, [](int32_t x, int32_t y) {
        if (y < 24) {
            bool border = x % 24 == 0 || y == 0 || x % 24 == 23 || y == 23;
            return border ? PackRGB(200, 200, 200) : PackRGB(90, 90, 110);
        }
        if (x < 120) {
            double distance = std::hypot(x - 59.5, y - 24 - 59.5);
            return distance > 45 && distance < 60 ? PackRGB(230, 200, 60) : 0;
        }
        int32_t ax = x - 120;
        int32_t ay = y - 24;
        return ay < 24 && ax <= ay && ax < 24 - ay / 2 ? PackRGB(255, 255, 255) : 0;
    });
    Sprite field{};
    SpriteCreate(&field, 0, 0, 575, 575, 16);
    SpriteGrab(&field, &backdrop, 0, 0, GRAB_PIXEL);
    Sprite scratch{};

    SurfaceFill(g_backSurface, PackRGB(10, 10, 20), nullptr);
    BackBufferLock();
    SpriteDraw(&field, g_backBits, g_backPitch, 1);
    for (int32_t i = 0; i < 6; ++i) {
        DrawPiece(&scratch, atlas, 0, 0, 24, 24, 23 * (i + 2), 23 * 3);
    }
    DrawPiece(&scratch, atlas, 0, 24, 120, 120, -50, 520); // lamp over two edges
    DrawPiece(&scratch, atlas, 120, 24, 24, 24, 790, 590); // arrow over the corner
    DrawTextAt(635, 260, "Well done!!");
    BackBufferUnlock();
    DrawTextAt(100, 30, "Size of the field (11-25):");
    DrawTextAt(100, 50, "17");
    ASSERT_EQ(DisplayFlip(), 1);

    std::span<const uint16_t> frame = FakeVideoPresentedFrame();
    ASSERT_EQ(frame.size(), 800u * 600u);
    EXPECT_EQ(frame[static_cast<size_t>((3 * 23 + 5) * 800 + 2 * 23 + 5)], PackRGB(90, 90, 110));
    EXPECT_EQ(frame[599 * 800 + 799], PackRGB(255, 255, 255)); // the arrow's tip
    EXPECT_EQ(frame[300 * 800 + 700], PackRGB(10, 10, 20));    // beside the field
    const auto green = static_cast<uint16_t>(PackRGB(TEXT_RED, TEXT_GREEN, TEXT_BLUE));
    int textPixels = 0;
    for (int32_t y = 260; y < 276; ++y) {
        for (int32_t x = 635; x < 800; ++x) {
            textPixels += frame[static_cast<size_t>(y * 800 + x)] == green;
        }
    }
    EXPECT_GT(textPixels, 20);

    std::filesystem::path pictures = std::filesystem::path(DELLOMAR_BUILD_DIR) / "tests";
    std::filesystem::create_directories(pictures);
    EXPECT_TRUE(FakeSavePresentedPng((pictures / "display_frame.png").string()));
    SpriteDestroy(&scratch);
    SpriteDestroy(&field);
    BitmapUnload(&atlas);
    BitmapUnload(&backdrop);
    DisplayClose();
}

} // namespace
