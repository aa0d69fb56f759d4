#include "platform/common/changed_area.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int32_t W = 80;
constexpr int32_t H = 60;
// Rows wider than the picture, as a surface with padding would have them.
constexpr int32_t PITCH = 96;

struct Picture {
    std::vector<uint16_t> pixels = std::vector<uint16_t>(PITCH * H, 0x1234);
    uint16_t& at(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y * PITCH + x)]; }
};

size_t Take(ShownPicture* shown, const Picture& picture, std::vector<PlatRect>* bands,
            size_t maxBands = 16)
{
    bands->assign(maxBands, PlatRect{});
    const size_t count = TakeChangedArea(shown, picture.pixels.data(), PITCH, W, H, bands->data(),
                                         maxBands);
    bands->resize(count);
    return count;
}

bool Covered(const std::vector<PlatRect>& bands, int32_t x, int32_t y)
{
    for (const PlatRect& band : bands) {
        if (x >= band.left && x < band.right && y >= band.top && y < band.bottom) {
            return true;
        }
    }
    return false;
}

TEST(ChangedAreaTest, WholeFirstThenNothingThenOnlyWhatChanged)
{
    ShownPicture shown;
    Picture picture;
    std::vector<PlatRect> bands;
    ASSERT_EQ(Take(&shown, picture, &bands), 1u);
    EXPECT_EQ(bands[0].right, W);
    EXPECT_EQ(bands[0].bottom, H);
    EXPECT_EQ(Take(&shown, picture, &bands), 0u);
    // Pixels past the picture's width are no part of it.
    picture.at(W + 3, 10) = 0;
    EXPECT_EQ(Take(&shown, picture, &bands), 0u);

    picture.at(7, 20) = 1;
    ASSERT_EQ(Take(&shown, picture, &bands), 1u);
    EXPECT_EQ(bands[0].left, 7);
    EXPECT_EQ(bands[0].top, 20);
    EXPECT_EQ(bands[0].right, 8);
    EXPECT_EQ(bands[0].bottom, 21);
    // Taken as shown: the same picture again changes nothing.
    EXPECT_EQ(Take(&shown, picture, &bands), 0u);
    // Changing it back is a change too.
    picture.at(7, 20) = 0x1234;
    EXPECT_EQ(Take(&shown, picture, &bands), 1u);
}

TEST(ChangedAreaTest, NearRowsShareABandFarRowsDoNot)
{
    ShownPicture shown;
    Picture picture;
    std::vector<PlatRect> bands;
    Take(&shown, picture, &bands);
    picture.at(5, 2) = 9;
    picture.at(40, 2 + CHANGED_BAND_GAP - 1) = 9;
    picture.at(70, 50) = 9;
    ASSERT_EQ(Take(&shown, picture, &bands), 2u);
    EXPECT_EQ(bands[0].left, 5);
    EXPECT_EQ(bands[0].right, 41);
    EXPECT_EQ(bands[0].top, 2);
    EXPECT_EQ(bands[0].bottom, 2 + CHANGED_BAND_GAP);
    EXPECT_EQ(bands[1].left, 70);
    EXPECT_EQ(bands[1].top, 50);
}

TEST(ChangedAreaTest, ExposedOrResizedPicturesComeWhole)
{
    ShownPicture shown;
    Picture picture;
    std::vector<PlatRect> bands;
    Take(&shown, picture, &bands);
    shown.whole = true;
    ASSERT_EQ(Take(&shown, picture, &bands), 1u);
    EXPECT_EQ(bands[0].right - bands[0].left, W);
    EXPECT_EQ(Take(&shown, picture, &bands), 0u);
    PlatRect band{};
    EXPECT_EQ(TakeChangedArea(&shown, picture.pixels.data(), PITCH, W - 1, H, &band, 1), 1u);
    EXPECT_EQ(band.right, W - 1);
}

// Whatever changes and however few bands are allowed, every changed pixel lies
// in a band, and the bands run top to bottom without sharing a row.
TEST(ChangedAreaTest, EveryChangeIsCoveredWithinTheBandsAllowed)
{
    std::mt19937 random(25);
    for (size_t maxBands : {1u, 2u, 5u, 16u}) {
        ShownPicture shown;
        Picture picture;
        std::vector<PlatRect> bands;
        Take(&shown, picture, &bands, maxBands);
        for (int round = 0; round < 50; ++round) {
            Picture before = picture;
            const int changes = static_cast<int>(random() % 12);
            for (int i = 0; i < changes; ++i) {
                picture.at(static_cast<int32_t>(random() % W),
                           static_cast<int32_t>(random() % H)) = static_cast<uint16_t>(random());
            }
            const size_t count = Take(&shown, picture, &bands, maxBands);
            ASSERT_LE(count, maxBands);
            for (size_t i = 1; i < count; ++i) {
                ASSERT_LE(bands[i - 1].bottom, bands[i].top);
            }
            for (int32_t y = 0; y < H; ++y) {
                for (int32_t x = 0; x < W; ++x) {
                    if (picture.at(x, y) != before.at(x, y)) {
                        ASSERT_TRUE(Covered(bands, x, y)) << x << "," << y << " round " << round;
                    }
                }
            }
            ASSERT_EQ(Take(&shown, picture, &bands, maxBands), 0u);
        }
    }
}

} // namespace
