#include "display/bitmap_loader.h"
#include "display/display_device.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_file.h"
#include "tests/test_support.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A file in the loader's layout: headers, the palette for 8 bits, the rows
// bottom-up exactly as given.
struct BmpFile {
    int32_t width = 4;
    int32_t height = 2;
    uint16_t bitCount = 24;
    std::vector<uint8_t> palette; // 1024 bytes for 8 bits
    std::vector<uint8_t> rows;    // as stored
    int64_t sizeImage = -1;       // -1: the size of `rows`
    uint32_t compression = 0;
    uint16_t magic = 0x4D42;

    std::vector<uint8_t> Bytes() const
    {
        // Sized once and filled in place: growing it by insert() makes GCC 12
        // at -O3 warn about a copy past the headers that never happens.
        std::vector<uint8_t> out(54 + palette.size() + rows.size(), 0);
        PutLe(out, 0, magic, 2);
        PutLe(out, 10, 54, 4);
        PutLe(out, 14, 40, 4);
        PutLe(out, 18, static_cast<uint32_t>(width), 4);
        PutLe(out, 22, static_cast<uint32_t>(height), 4);
        PutLe(out, 26, 1, 2);
        PutLe(out, 28, bitCount, 2);
        PutLe(out, 30, compression, 4);
        PutLe(out, 34, static_cast<uint32_t>(sizeImage < 0 ? rows.size() : sizeImage), 4);
        const auto body = std::copy(palette.begin(), palette.end(), out.begin() + 54);
        std::copy(rows.begin(), rows.end(), body);
        return out;
    }
};

std::vector<uint8_t> Repeat(std::vector<uint8_t> pixel, int count)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < count; ++i) {
        out.insert(out.end(), pixel.begin(), pixel.end());
    }
    return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string StdPath(std::string gamePath)
{
    for (char& c : gamePath) {
        c = c == '\\' ? '/' : c;
    }
    return gamePath;
}

uint16_t Pixel16(const Bitmap& bitmap, int index)
{
    uint16_t value = 0;
    std::memcpy(&value, bitmap.pixels + 2 * index, 2);
    return value;
}

class BitmapTest : public GameTest {
protected:
    void TearDown() override
    {
        BitmapUnload(&bitmap_);
        GameTest::TearDown();
    }

    int32_t Load(const std::vector<uint8_t>& bytes)
    {
        FakeFileSetContents("Textures\\pic.txr", bytes);
        return BitmapLoad(&bitmap_, "Textures\\pic.txr");
    }

    // A loaded 16-bit 2 × 2 picture whose record later failures must leave alone.
    void LoadKnownPicture()
    {
        BmpFile file;
        file.width = 2;
        file.height = 2;
        file.bitCount = 16;
        file.rows = {1, 0, 2, 0, 3, 0, 4, 0};
        ASSERT_EQ(Load(file.Bytes()), 1);
        std::memcpy(&before_, &bitmap_, sizeof before_);
        pixelsBefore_.assign(bitmap_.pixels, bitmap_.pixels + 8);
    }

    void ExpectKnownPictureKept()
    {
        EXPECT_EQ(bitmap_.pixels, before_.pixels);
        EXPECT_EQ(std::memcmp(&bitmap_.infoHeader, &before_.infoHeader, sizeof before_.infoHeader),
                  0);
        EXPECT_EQ(std::memcmp(bitmap_.palette, before_.palette, sizeof before_.palette), 0);
        ASSERT_NE(bitmap_.pixels, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(bitmap_.pixels, bitmap_.pixels + 8), pixelsBefore_);
    }

    Bitmap bitmap_{};
    Bitmap before_{};
    std::vector<uint8_t> pixelsBefore_;
};

TEST_F(BitmapTest, TwentyFourBitRowsBecomeTopDownPixelsOfTheDisplayFormat)
{
    BmpFile file;
    const std::vector<uint8_t> blue = {255, 0, 0};
    const std::vector<uint8_t> red = {0, 0, 255};
    // Stored bottom row first: blue below, red on top.
    file.rows = Concat(Repeat(blue, 4), Repeat(red, 4));
    for (int32_t format : {16, 15}) {
        g_pixelFormat = format;
        ASSERT_EQ(Load(file.Bytes()), 1);
        EXPECT_EQ(bitmap_.infoHeader.biBitCount, 16);
        EXPECT_EQ(bitmap_.infoHeader.biSizeImage, 24u); // still the file's value
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Pixel16(bitmap_, i), format == 16 ? 0xF800 : 0x7C00) << i;
            EXPECT_EQ(Pixel16(bitmap_, 4 + i), 0x001F) << i;
        }
    }

    // Blue 8, green 4, red 8 keeps the top bits of each channel.
    file.rows = Repeat({8, 4, 8}, 8);
    g_pixelFormat = 16;
    ASSERT_EQ(Load(file.Bytes()), 1);
    EXPECT_EQ(Pixel16(bitmap_, 0), 0x0821);
    g_pixelFormat = 15;
    ASSERT_EQ(Load(file.Bytes()), 1);
    EXPECT_EQ(Pixel16(bitmap_, 0), 0x0401);
    // No format defined for other values: 5.6.5, like the display's packing.
    g_pixelFormat = 0;
    ASSERT_EQ(Load(file.Bytes()), 1);
    EXPECT_EQ(Pixel16(bitmap_, 0), 0x0821);
}

TEST_F(BitmapTest, EightBitPaletteIsSwappedToRedGreenBlue)
{
    BmpFile file;
    file.bitCount = 8;
    file.palette.assign(1024, 0);
    file.palette[0] = 10; // blue
    file.palette[1] = 20; // green
    file.palette[2] = 30; // red
    file.palette[1023] = 77;
    file.rows = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(Load(file.Bytes()), 1);
    EXPECT_EQ(bitmap_.palette[0].red, 30);
    EXPECT_EQ(bitmap_.palette[0].green, 20);
    EXPECT_EQ(bitmap_.palette[0].blue, 10);
    EXPECT_EQ(bitmap_.palette[0].flags, 4);
    EXPECT_EQ(bitmap_.palette[255].flags, 4);
    EXPECT_EQ(bitmap_.infoHeader.biBitCount, 8);
    const std::vector<uint8_t> topDown = {5, 6, 7, 8, 1, 2, 3, 4};
    EXPECT_EQ(std::vector<uint8_t>(bitmap_.pixels, bitmap_.pixels + 8), topDown);
}

TEST_F(BitmapTest, SixteenBitPixelsArriveUnchangedInReversedRowOrder)
{
    BmpFile file;
    file.width = 2;
    file.height = 3;
    file.bitCount = 16;
    file.rows = {0x01, 0x10, 0x02, 0x20, 0x03, 0x30, 0x04, 0x40, 0x05, 0x50, 0x06, 0x60};
    // Extra bytes after the pixel data are not read.
    std::vector<uint8_t> bytes = file.Bytes();
    bytes.insert(bytes.end(), {0xEE, 0xEE, 0xEE});
    g_pixelFormat = 15; // not converted whatever the display says
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ(Pixel16(bitmap_, 0), 0x5005);
    EXPECT_EQ(Pixel16(bitmap_, 1), 0x6006);
    EXPECT_EQ(Pixel16(bitmap_, 2), 0x3003);
    EXPECT_EQ(Pixel16(bitmap_, 3), 0x4004);
    EXPECT_EQ(Pixel16(bitmap_, 4), 0x1001);
    EXPECT_EQ(Pixel16(bitmap_, 5), 0x2002);
}

// An editor pads every row to 4 bytes; a picture of odd width must not shear.
TEST_F(BitmapTest, PaddedRowsOfAnOddWidthLoadStraight)
{
    BmpFile file;
    file.width = 3; // 9 bytes a row, stored as 12
    const std::vector<uint8_t> pad = {0xEE, 0xEE, 0xEE};
    file.rows = Concat(Concat(Repeat({255, 0, 0}, 3), pad), Concat(Repeat({0, 0, 255}, 3), pad));
    g_pixelFormat = 16;
    ASSERT_EQ(Load(file.Bytes()), 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Pixel16(bitmap_, i), 0xF800) << i;     // red on top
        EXPECT_EQ(Pixel16(bitmap_, 3 + i), 0x001F) << i; // blue below
    }

    BmpFile eight;
    eight.width = 5; // 5 bytes a row, stored as 8
    eight.bitCount = 8;
    eight.palette.assign(1024, 0);
    eight.rows = {1, 2, 3, 4, 5, 0xEE, 0xEE, 0xEE, 6, 7, 8, 9, 10, 0xEE, 0xEE, 0xEE};
    ASSERT_EQ(Load(eight.Bytes()), 1);
    const std::vector<uint8_t> topDown = {6, 7, 8, 9, 10, 1, 2, 3, 4, 5};
    EXPECT_EQ(std::vector<uint8_t>(bitmap_.pixels, bitmap_.pixels + 10), topDown);
}

TEST_F(BitmapTest, LoadingAgainReplacesThePicture)
{
    LoadKnownPicture();
    BmpFile file;
    file.rows = Repeat({0, 0, 0}, 8);
    ASSERT_EQ(Load(file.Bytes()), 1);
    EXPECT_EQ(bitmap_.infoHeader.biWidth, 4);
    EXPECT_EQ(Pixel16(bitmap_, 7), 0);
    // The sanitizer build reports the first picture's buffer if it leaked.
}

TEST_F(BitmapTest, UnsupportedDepthsAreRejectedAndTheRecordKept)
{
    LoadKnownPicture();
    for (uint16_t depth : {1, 4, 32, 0, 15}) {
        BmpFile file;
        file.bitCount = depth;
        file.rows.assign(64, 0xAB);
        EXPECT_EQ(Load(file.Bytes()), 0) << depth;
        ExpectKnownPictureKept();
    }
}

TEST_F(BitmapTest, MalformedHeadersAreRejectedBeforeAnythingIsSized)
{
    LoadKnownPicture();
    struct Case {
        const char* what;
        BmpFile file;
    };
    auto make = [](auto change) {
        BmpFile file;
        file.rows = Repeat({1, 2, 3}, 8);
        change(file);
        return file;
    };
    const std::vector<Case> cases = {
        {"zero width", make([](BmpFile& f) { f.width = 0; })},
        {"zero height", make([](BmpFile& f) { f.height = 0; })},
        {"negative width", make([](BmpFile& f) { f.width = -4; })},
        {"top-down rows", make([](BmpFile& f) { f.height = -2; })},
        {"huge width", make([](BmpFile& f) {
             f.width = 16385;
             f.sizeImage = 0x7FFFFFFF;
         })},
        {"huge height", make([](BmpFile& f) {
             f.height = 0x7FFFFFFF;
             f.sizeImage = 0xFFFFFFFF;
         })},
        {"width times height overflows 32 bits", make([](BmpFile& f) {
             f.width = 16384;
             f.height = 16384;
             f.sizeImage = 0xFFFFFFFF;
         })},
        {"data size smaller than the rows", make([](BmpFile& f) { f.sizeImage = 23; })},
        {"data size zero, compressed", make([](BmpFile& f) {
             f.sizeImage = 0;
             f.compression = 1;
         })},
        {"data size zero, rows cut short", make([](BmpFile& f) {
             f.sizeImage = 0;
             f.rows.resize(23);
         })},
        {"data size zero, huge", make([](BmpFile& f) {
             f.width = 16385;
             f.height = 16385;
             f.sizeImage = 0;
         })},
        {"rows cut short", make([](BmpFile& f) { f.rows.resize(20); })},
        {"declared larger than the file", make([](BmpFile& f) {
             f.width = 400;
             f.height = 400;
             f.sizeImage = 480000;
         })},
        {"8-bit without its palette", make([](BmpFile& f) { f.bitCount = 8; })},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.file.Bytes()), 0) << c.what;
        ExpectKnownPictureKept();
    }
    // Headers themselves cut short.
    std::vector<uint8_t> bytes = cases[0].file.Bytes();
    for (size_t length : {size_t{0}, size_t{10}, size_t{14}, size_t{53}}) {
        EXPECT_EQ(Load(std::vector<uint8_t>(bytes.begin(), bytes.begin() + length)), 0) << length;
        ExpectKnownPictureKept();
    }
}

// Editors may write 0 as the data size of an uncompressed picture.
TEST_F(BitmapTest, DataSizeZeroLoadsLikeTheSameFileWithItsSize)
{
    BmpFile file;
    file.rows = Concat(Repeat({1, 2, 3}, 4), Repeat({200, 100, 50}, 4));
    BmpFile eight;
    eight.bitCount = 8;
    eight.palette.assign(1024, 9);
    eight.rows = {1, 2, 3, 4, 5, 6, 7, 8};
    BmpFile sixteen;
    sixteen.width = 3; // 6 bytes a row: the declared size pads it to 8
    sixteen.bitCount = 16;
    sixteen.rows = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 0xEE, 0xEE, 0xEE, 0xEE};
    auto paletteBytes = [this] {
        const auto* bytes = reinterpret_cast<const uint8_t*>(bitmap_.palette);
        return std::vector<uint8_t>(bytes, bytes + sizeof bitmap_.palette);
    };
    for (BmpFile* picture : {&file, &eight, &sixteen}) {
        ASSERT_EQ(Load(picture->Bytes()), 1) << picture->bitCount;
        BitmapInfoHeader sized = bitmap_.infoHeader;
        size_t bytes = static_cast<size_t>(sized.biWidth * sized.biHeight * sized.biBitCount / 8);
        std::vector<uint8_t> pixels(bitmap_.pixels, bitmap_.pixels + bytes);
        std::vector<uint8_t> palette = paletteBytes();

        picture->sizeImage = 0;
        ASSERT_EQ(Load(picture->Bytes()), 1) << picture->bitCount;
        EXPECT_EQ(std::vector<uint8_t>(bitmap_.pixels, bitmap_.pixels + bytes), pixels);
        EXPECT_EQ(paletteBytes(), palette);
        EXPECT_EQ(bitmap_.infoHeader.biWidth, sized.biWidth);
        EXPECT_EQ(bitmap_.infoHeader.biBitCount, sized.biBitCount);
        EXPECT_EQ(bitmap_.infoHeader.biSizeImage, 0u); // the file's value
    }
}

TEST_F(BitmapTest, FileNotStartingWithBmKeepsOnlyItsFileHeader)
{
    LoadKnownPicture();
    BmpFile file;
    file.magic = 0x5A4D;
    file.rows = Repeat({1, 2, 3}, 8);
    EXPECT_EQ(Load(file.Bytes()), 0);
    EXPECT_EQ(bitmap_.fileHeader.bfType, 0x5A4D);
    EXPECT_EQ(bitmap_.fileHeader.bfOffBits, 54u);
    ExpectKnownPictureKept();

    EXPECT_EQ(BitmapLoad(&bitmap_, "Textures\\missing.txr"), 0);
    ExpectKnownPictureKept();
}

TEST_F(BitmapTest, UnloadEmptiesTheRecordOnce)
{
    EXPECT_EQ(BitmapUnload(&bitmap_), 1);
    LoadKnownPicture();
    EXPECT_EQ(BitmapUnload(&bitmap_), 1);
    EXPECT_EQ(bitmap_.pixels, nullptr);
    EXPECT_EQ(bitmap_.infoHeader.biWidth, 2); // headers stay
    EXPECT_EQ(BitmapUnload(&bitmap_), 1);
}

TEST_F(BitmapTest, TheGamesOwnPicturesLoad)
{
    CopyGameData();
    g_pixelFormat = 16;
    for (const char* name : {"Textures\\back.txr", "Textures\\txtr.txr"}) {
        const std::vector<uint8_t> file = ReadFileBytes(StdPath(name));
        ASSERT_GT(file.size(), 54u) << name;
        ASSERT_EQ(BitmapLoad(&bitmap_, name), 1) << name;
        const BitmapInfoHeader& info = bitmap_.infoHeader;
        EXPECT_EQ(info.biBitCount, 16);
        // The top-left pixel is the first of the last row stored.
        const size_t top = 54 + 3 * static_cast<size_t>(info.biWidth) * (info.biHeight - 1);
        EXPECT_EQ(Pixel16(bitmap_, 0), PackRGB565(file[top + 2], file[top + 1], file[top])) << name;
    }
    // The last one loaded replaced the backdrop; reload it for its size.
    ASSERT_EQ(BitmapLoad(&bitmap_, "Textures\\back.txr"), 1);
    EXPECT_GE(bitmap_.infoHeader.biWidth, 575);
    EXPECT_GE(bitmap_.infoHeader.biHeight, 575);
}

TEST(FlipBitmapRowsTest, ReversesRowsAndLeavesASingleRowAlone)
{
    std::vector<uint8_t> one = {1, 2, 3};
    EXPECT_EQ(FlipBitmapRows(one.data(), 3, 1), 1);
    EXPECT_EQ(one, (std::vector<uint8_t>{1, 2, 3}));
    std::vector<uint8_t> three = {1, 1, 2, 2, 3, 3};
    EXPECT_EQ(FlipBitmapRows(three.data(), 2, 3), 1);
    EXPECT_EQ(three, (std::vector<uint8_t>{3, 3, 2, 2, 1, 1}));
    EXPECT_EQ(FlipBitmapRows(nullptr, 2, 3), 0);
}

} // namespace
