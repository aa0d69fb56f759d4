// The generated tile atlas and backdrop, checked against what the game's BMP
// loader reads (pixel rows straight after the 54 header bytes, no row padding,
// 24-bit pixels packed to 16 bits with colour 0 see-through) and against where
// the play screen cuts and draws each piece.
#include "screens/screen_layout.h"
#include "tests/data_files.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // top row first
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

bool IsTransparent(Rgb c)
{
    return c.r == 0 && c.g == 0 && c.b == 0;
}

// The loader's two packings; 0 is the see-through colour.
unsigned Pack565(Rgb c)
{
    return (static_cast<unsigned>(c.r) >> 3u << 11u) | (static_cast<unsigned>(c.g) >> 2u << 5u) |
           (static_cast<unsigned>(c.b) >> 3u);
}

unsigned Pack555(Rgb c)
{
    return (static_cast<unsigned>(c.r) >> 3u << 10u) | (static_cast<unsigned>(c.g) >> 3u << 5u) |
           (static_cast<unsigned>(c.b) >> 3u);
}

Picture ParsePicture(const std::string& name)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(GameDataPath(name));
    Picture picture;
    EXPECT_GE(bytes.size(), 54u) << name;
    EXPECT_EQ(ReadTag(bytes, 0).substr(0, 2), "BM");
    EXPECT_EQ(ReadLe(bytes, 2, 4), bytes.size()) << "bfSize";
    EXPECT_EQ(ReadLe(bytes, 10, 4), 54u) << "bfOffBits";
    EXPECT_EQ(ReadLe(bytes, 14, 4), 40u) << "biSize";
    const auto width = static_cast<int32_t>(ReadLe(bytes, 18, 4));
    const auto height = static_cast<int32_t>(ReadLe(bytes, 22, 4));
    EXPECT_GT(height, 0) << "rows must be stored bottom-up";
    EXPECT_EQ(ReadLe(bytes, 26, 2), 1u) << "biPlanes";
    EXPECT_EQ(ReadLe(bytes, 28, 2), 24u) << "biBitCount";
    EXPECT_EQ(ReadLe(bytes, 30, 4), 0u) << "biCompression";
    // The loader reads the rows as one run of width * 3 bytes each.
    EXPECT_EQ((static_cast<int64_t>(width) * 3) % 4, 0) << "rows would carry padding";
    const int64_t pixelBytes = static_cast<int64_t>(width) * height * 3;
    EXPECT_EQ(static_cast<int64_t>(ReadLe(bytes, 34, 4)), pixelBytes) << "biSizeImage";
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), 54 + pixelBytes);
    if (testing::Test::HasFailure() || width <= 0 || height <= 0) {
        return picture;
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(pixelBytes / 3));
    for (int y = 0; y < height; ++y) {
        const size_t row = 54 + static_cast<size_t>((height - 1 - y) * width * 3);
        for (int x = 0; x < width; ++x) {
            const size_t at = row + static_cast<size_t>(x * 3);
            picture.pixels[static_cast<size_t>(y * width + x)] = Rgb{bytes[at + 2], bytes[at + 1],
                                                                     bytes[at]};
        }
    }
    return picture;
}

// A piece of the atlas as the play screen cuts it.
Picture Cut(const Picture& atlas, int x, int y, int w, int h)
{
    Picture piece{w, h, {}};
    for (int yy = 0; yy < h; ++yy) {
        for (int xx = 0; xx < w; ++xx) {
            piece.pixels.push_back(atlas.At(x + xx, y + yy));
        }
    }
    return piece;
}

int CountDifferent(const Picture& a, const Picture& b)
{
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const Rgb p = a.pixels[i];
        const Rgb q = b.pixels[i];
        count += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 48;
    }
    return count;
}

int CountTransparent(const Picture& piece)
{
    int count = 0;
    for (const Rgb& c : piece.pixels) {
        count += IsTransparent(c);
    }
    return count;
}

class DataAtlas : public testing::Test {
protected:
    static void SetUpTestSuite() { atlas_ = ParsePicture("Textures/txtr.txr"); }
    void SetUp() override { ASSERT_GE(atlas_.width, 248) << "atlas missing or unreadable"; }

    static Picture Number(int v) { return Cut(atlas_, v * 24, 0, 24, 24); }
    static Picture OpenedCell() { return Cut(atlas_, 48, 24, 24, 24); }

    static inline Picture atlas_;
};

TEST(DataPictures, HeadersAreTheLayoutTheLoaderReads)
{
    const Picture atlas = ParsePicture("Textures/txtr.txr");
    EXPECT_GE(atlas.width, 248);
    EXPECT_GE(atlas.height, 192);
    // The largest field cuts 25 cells of 23 pixels from the backdrop.
    const Picture backdrop = ParsePicture("Textures/back.txr");
    EXPECT_GE(backdrop.width, 575);
    EXPECT_GE(backdrop.height, 575);
}

TEST(DataPictures, NoPixelMeantToBeSeenPacksToTheTransparentColour)
{
    const Picture atlas = ParsePicture("Textures/txtr.txr");
    ASSERT_FALSE(atlas.pixels.empty());
    for (int y = 0; y < atlas.height; ++y) {
        for (int x = 0; x < atlas.width; ++x) {
            const Rgb c = atlas.At(x, y);
            if (!IsTransparent(c)) {
                ASSERT_NE(Pack565(c), 0u) << "atlas pixel " << x << "," << y;
                ASSERT_NE(Pack555(c), 0u) << "atlas pixel " << x << "," << y;
            }
        }
    }
    // Every backdrop pixel is seen: a hole would show the black screen beneath.
    const Picture backdrop = ParsePicture("Textures/back.txr");
    ASSERT_FALSE(backdrop.pixels.empty());
    for (int y = 0; y < backdrop.height; ++y) {
        for (int x = 0; x < backdrop.width; ++x) {
            ASSERT_NE(Pack565(backdrop.At(x, y)), 0u) << "backdrop pixel " << x << "," << y;
            ASSERT_NE(Pack555(backdrop.At(x, y)), 0u) << "backdrop pixel " << x << "," << y;
        }
    }
}

TEST_F(DataAtlas, OpenedCellsCoverTheBackdropWhole)
{
    EXPECT_EQ(CountTransparent(Cut(atlas_, 0, 0, 24, 24)), 0) << "opened mine";
    EXPECT_EQ(CountTransparent(OpenedCell()), 0) << "opened cell";
    for (int v = 1; v <= 8; ++v) {
        EXPECT_EQ(CountTransparent(Number(v)), 0) << "number " << v;
    }
}

TEST_F(DataAtlas, EachNumberReadsDifferently)
{
    // Each digit differs from the plain cell, from every other digit, and in
    // its colour: the average of the pixels that differ from the plain cell.
    std::vector<Rgb> inks;
    for (int v = 1; v <= 8; ++v) {
        EXPECT_GE(CountDifferent(Number(v), OpenedCell()), 30) << "number " << v << " has no digit";
        for (int w = v + 1; w <= 8; ++w) {
            EXPECT_GE(CountDifferent(Number(v), Number(w)), 20) << v << " and " << w;
        }
        Rgb sum;
        int n = 0;
        const Picture tile = Number(v);
        const Picture plain = OpenedCell();
        for (size_t i = 0; i < tile.pixels.size(); ++i) {
            const Rgb p = tile.pixels[i];
            const Rgb q = plain.pixels[i];
            if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 200) {
                sum = Rgb{sum.r + p.r, sum.g + p.g, sum.b + p.b};
                ++n;
            }
        }
        ASSERT_GT(n, 0) << "number " << v;
        inks.push_back(Rgb{sum.r / n, sum.g / n, sum.b / n});
    }
    for (size_t i = 0; i < inks.size(); ++i) {
        for (size_t j = i + 1; j < inks.size(); ++j) {
            const int distance = std::abs(inks[i].r - inks[j].r) + std::abs(inks[i].g - inks[j].g) +
                                 std::abs(inks[i].b - inks[j].b);
            EXPECT_GE(distance, 40) << "numbers " << i + 1 << " and " << j + 1 << " share a colour";
        }
    }
}

TEST_F(DataAtlas, LampShowsTheNumbersBeneathIt)
{
    const Picture lamp = Cut(atlas_, 0, 48, 120, 120);
    // Where any digit puts ink in its tile.
    std::vector<std::pair<int, int>> ink;
    const Picture plain = OpenedCell();
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            bool inked = false;
            for (int v = 1; v <= 8; ++v) {
                const Rgb p = Number(v).At(x, y);
                const Rgb q = plain.At(x, y);
                inked = inked ||
                        std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 48;
            }
            if (inked) {
                ink.emplace_back(x, y);
            }
        }
    }
    ASSERT_FALSE(ink.empty());
    // The hot spot is 57 pixels into the lamp, snapped down to the 23-pixel
    // grid: the target cell starts 57 - offset into the lamp, for every offset
    // the hot spot can have inside its cell. The target cell and the four
    // beside it always show their digits whole; a lamp that fits its 120
    // pixels cannot quite clear the far corner cells when the hot spot sits at
    // the edge of its cell, but they stay readable.
    int worstCorner = static_cast<int>(ink.size());
    for (int ox = 0; ox < 23; ++ox) {
        for (int oy = 0; oy < 23; ++oy) {
            for (int i = -1; i <= 1; ++i) {
                for (int j = -1; j <= 1; ++j) {
                    int shown = 0;
                    for (auto [x, y] : ink) {
                        const int lx = 57 - ox + i * 23 + x;
                        const int ly = 57 - oy + j * 23 + y;
                        shown += lx >= 120 || ly >= 120 || IsTransparent(lamp.At(lx, ly));
                    }
                    if (i == 0 || j == 0) {
                        ASSERT_EQ(shown, static_cast<int>(ink.size()))
                            << "offset " << ox << "," << oy << " cell " << i << "," << j;
                    } else {
                        worstCorner = std::min(worstCorner, shown);
                    }
                }
            }
        }
    }
    EXPECT_GE(worstCorner * 10, static_cast<int>(ink.size()) * 9)
        << worstCorner << " of " << ink.size();
}

TEST_F(DataAtlas, LampIsARingRoundItsOpenMiddle)
{
    const Picture lamp = Cut(atlas_, 0, 48, 120, 120);
    // With the hot spot in the middle of its cell the 3x3 block of tiles is
    // (23, 23) to (93, 93): all of it shows through.
    for (int y = 23; y < 93; ++y) {
        for (int x = 23; x < 93; ++x) {
            ASSERT_TRUE(IsTransparent(lamp.At(x, y))) << x << "," << y;
        }
    }
    // Something is drawn around it, and the corners stay open so that the lamp
    // does not look like a square.
    EXPECT_LT(CountTransparent(lamp), 120 * 120 - 1000);
    for (auto [x, y] : {std::pair{0, 0}, {119, 0}, {0, 119}, {119, 119}}) {
        EXPECT_TRUE(IsTransparent(lamp.At(x, y))) << x << "," << y;
    }
}

TEST_F(DataAtlas, ArrowPointsFromItsTopLeftPixel)
{
    // The arrow is drawn at the cursor position, so its tip is that pixel.
    const Picture arrow = Cut(atlas_, 24, 24, 24, 24);
    EXPECT_FALSE(IsTransparent(arrow.At(0, 0)));
    EXPECT_TRUE(IsTransparent(arrow.At(23, 0)));
    EXPECT_TRUE(IsTransparent(arrow.At(23, 23)));
    EXPECT_TRUE(IsTransparent(arrow.At(0, 23)));
    EXPECT_GT(CountTransparent(arrow), 24 * 24 / 2);
}

TEST_F(DataAtlas, FlagLetsTheBackdropShowAroundIt)
{
    const Picture flag = Cut(atlas_, ATLAS_FLAG.x, ATLAS_FLAG.y, ATLAS_FLAG.w, ATLAS_FLAG.h);
    int red = 0;
    for (const Rgb& c : flag.pixels) {
        red += c.r > 150 && c.g < 100 && c.b < 100;
    }
    EXPECT_GE(red, 20) << "no red cloth";
    EXPECT_GT(CountTransparent(flag), 24 * 24 / 3);
    EXPECT_LT(CountTransparent(flag), 24 * 24 - 60);
}

TEST_F(DataAtlas, ButtonsAreSolidAndCarryDifferentLabels)
{
    std::vector<Picture> buttons;
    for (const MenuButton& button : MENU_BUTTONS) {
        const AtlasPiece& piece = button.piece;
        const int top = piece.y;
        buttons.push_back(Cut(atlas_, piece.x, piece.y, piece.w, piece.h));
        // Only the rounded corners may be see-through.
        EXPECT_LT(CountTransparent(buttons.back()), 40) << "button at " << top;
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            EXPECT_GE(CountDifferent(buttons[i], buttons[j]), 40)
                << "buttons " << i << " and " << j;
        }
    }
}

} // namespace
