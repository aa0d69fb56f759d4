// The icon writers produce files other programs must read: PNG chunks with
// correct CRCs around a zlib stream of filtered rows, and Windows icon
// directories pointing at bitmaps or PNGs. And the backdrop, which the web
// page paints a few rows at a time, comes out as the one picture.
#include "tools/datagen/backdrop_painter.h"
#include "tools/datagen/bmp_writer.h"
#include "tools/datagen/ico_writer.h"
#include "tools/datagen/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

namespace {

uint32_t Be32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t{b.at(at)} << 24u) | (uint32_t{b.at(at + 1)} << 16u) |
           (uint32_t{b.at(at + 2)} << 8u) | uint32_t{b.at(at + 3)};
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t{b.at(at)} | (uint32_t{b.at(at + 1)} << 8u) | (uint32_t{b.at(at + 2)} << 16u) |
           (uint32_t{b.at(at + 3)} << 24u);
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8u));
}

// Undoes ZlibStored, checking every field a decoder checks.
std::vector<uint8_t> InflateStored(const std::vector<uint8_t>& z)
{
    EXPECT_EQ((z.at(0) * 256u + z.at(1)) % 31u, 0u) << "zlib header check bits";
    EXPECT_EQ(z.at(0) & 0x0Fu, 8u) << "deflate";
    std::vector<uint8_t> out;
    size_t at = 2;
    bool last = false;
    while (!last) {
        last = (z.at(at) & 1u) != 0;
        EXPECT_EQ(z.at(at) >> 1u, 0u) << "stored block";
        const uint16_t len = Le16(z, at + 1);
        EXPECT_EQ(static_cast<uint16_t>(~len), Le16(z, at + 3));
        out.insert(out.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   z.begin() + static_cast<std::ptrdiff_t>(at + 5 + len));
        at += 5 + len;
    }
    EXPECT_EQ(Be32(z, at), Adler32(out.data(), out.size()));
    EXPECT_EQ(at + 4, z.size());
    return out;
}

// Undoes the PNG row filters as a decoder does, from each row's type byte.
std::vector<uint8_t> Unfilter(const std::vector<uint8_t>& raw, size_t width, size_t height)
{
    const size_t rowBytes = width * 4;
    EXPECT_EQ(raw.size(), height * (rowBytes + 1));
    std::vector<uint8_t> out(rowBytes * height);
    for (size_t y = 0; y < height && raw.size() == height * (rowBytes + 1); ++y) {
        const uint8_t type = raw[y * (rowBytes + 1)];
        EXPECT_LE(type, 4) << "filter byte of row " << y;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 4 ? out[y * rowBytes + i - 4] : 0;
            const int b = y > 0 ? out[(y - 1) * rowBytes + i] : 0;
            const int c = i >= 4 && y > 0 ? out[(y - 1) * rowBytes + i - 4] : 0;
            const int p = a + b - c;
            const int paeth = std::abs(p - a) <= std::abs(p - b) &&
                                      std::abs(p - a) <= std::abs(p - c)
                                  ? a
                                  : (std::abs(p - b) <= std::abs(p - c) ? b : c);
            const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
            out[y * rowBytes + i] = static_cast<uint8_t>(raw[y * (rowBytes + 1) + 1 + i] +
                                                         predicted[type % 5]);
        }
    }
    return out;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z, size_t size)
{
    std::vector<uint8_t> out(size + 1);
    uLongf got = static_cast<uLongf>(out.size());
    EXPECT_EQ(uncompress(out.data(), &got, z.data(), static_cast<uLong>(z.size())), Z_OK);
    out.resize(got);
    return out;
}

RgbaImage Checker(int side)
{
    RgbaImage image{side, side, std::vector<uint8_t>(static_cast<size_t>(side * side) * 4u)};
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        const size_t pixel = i / 4;
        image.rgba[i] = static_cast<uint8_t>(pixel * 7);
        image.rgba[i + 1] = static_cast<uint8_t>(pixel * 3);
        image.rgba[i + 2] = static_cast<uint8_t>(pixel);
        image.rgba[i + 3] = (pixel % 3 == 0) ? 0 : 255;
    }
    return image;
}

TEST(IconFiles, ChecksumsMatchTheirPublishedValues)
{
    const std::string check = "123456789";
    const auto* bytes = reinterpret_cast<const uint8_t*>(check.data());
    EXPECT_EQ(Crc32(bytes, check.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>("IEND"), 4), 0xAE426082u);
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>("Wikipedia"), 9), 0x11E60398u);
    // Adler-32 reduces its sums before they overflow on long runs of 0xFF.
    const std::vector<uint8_t> ones(100000, 0xFF);
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t v : ones) {
        a = (a + v) % 65521u;
        b = (b + a) % 65521u;
    }
    EXPECT_EQ(Adler32(ones.data(), ones.size()), (b << 16u) | a);
}

TEST(IconFiles, StoredBlocksSplitLongDataAndKeepEmptyData)
{
    std::vector<uint8_t> data(150000);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i * 31u);
    }
    const std::vector<uint8_t> z = ZlibStored(data);
    EXPECT_EQ(z.size(), 2 + 3 * 5 + data.size() + 4); // three blocks
    EXPECT_EQ(InflateStored(z), data);
    EXPECT_TRUE(InflateStored(ZlibStored({})).empty());
}

// Smooth ramps, flat runs and noise, so that each filter type wins some row.
RgbaImage Mixed(int side)
{
    RgbaImage image{side, side, std::vector<uint8_t>(static_cast<size_t>(side * side) * 4u)};
    uint32_t noise = 12345;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint8_t* p = &image.rgba[static_cast<size_t>(y * side + x) * 4u];
            p[0] = static_cast<uint8_t>(y % 3 == 0 ? noise >> 24u : x * 5 + y);
            p[1] = static_cast<uint8_t>(y * 9);
            p[2] = static_cast<uint8_t>(x > side / 2 ? 200 : x * y);
            p[3] = static_cast<uint8_t>(x < 2 ? 0 : 255);
        }
    }
    return image;
}

TEST(IconFiles, PngChunksCarryTheirCrcAndRowsThatUnfilterToThePicture)
{
    for (const RgbaImage& image : {Checker(5), Mixed(40)}) {
        const std::vector<uint8_t> png = EncodePng(image);
        ASSERT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
        std::vector<std::string> types;
        std::vector<uint8_t> idat;
        for (size_t at = 8; at < png.size();) {
            const uint32_t length = Be32(png, at);
            const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                   png.begin() + static_cast<std::ptrdiff_t>(at + 8));
            EXPECT_EQ(Be32(png, at + 8 + length), Crc32(&png.at(at + 4), length + 4)) << type;
            if (type == "IHDR") {
                EXPECT_EQ(Be32(png, at + 8), static_cast<uint32_t>(image.width));
                EXPECT_EQ(Be32(png, at + 12), static_cast<uint32_t>(image.height));
                EXPECT_EQ(png.at(at + 16), 8); // bits per channel
                EXPECT_EQ(png.at(at + 17), 6); // RGBA
            }
            if (type == "IDAT") {
                idat.insert(idat.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                            png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
            }
            types.push_back(type);
            at += 12 + length;
        }
        EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        const auto side = static_cast<size_t>(image.width);
        const std::vector<uint8_t> raw = Inflate(idat, side * (1 + side * 4));
        EXPECT_EQ(Unfilter(raw, side, side), image.rgba);
        std::set<uint8_t> filters;
        for (size_t y = 0; y < side && raw.size() == side * (1 + side * 4); ++y) {
            filters.insert(raw[y * (1 + side * 4)]);
        }
        EXPECT_TRUE(side < 40 || filters.size() >= 3) << "the mixed picture uses several filters";
    }
    EXPECT_THROW(EncodePng(RgbaImage{2, 2, std::vector<uint8_t>(15)}), std::invalid_argument);
    // A flat picture is what the web icons are mostly made of: it must shrink.
    const RgbaImage flat{256, 256, std::vector<uint8_t>(256u * 256u * 4u, 90)};
    EXPECT_LT(EncodePng(flat).size(), 2000u);
}

TEST(IconFiles, IconDirectoryPointsAtBitmapsAndAtThePngOf256)
{
    const RgbaImage small = Checker(20); // rows of 20 mask bits need padding to 32
    const RgbaImage large = Checker(256);
    const std::vector<uint8_t> ico = EncodeIco({small, large});
    EXPECT_EQ(Le16(ico, 2), 1);
    ASSERT_EQ(Le16(ico, 4), 2);
    EXPECT_EQ(ico.at(6), 20);
    EXPECT_EQ(ico.at(6 + 16), 0) << "256 is written as 0";

    const uint32_t bmpAt = Le32(ico, 6 + 12);
    const uint32_t bmpSize = Le32(ico, 6 + 8);
    EXPECT_EQ(Le32(ico, bmpAt), 40u);
    EXPECT_EQ(Le32(ico, bmpAt + 8), 40u) << "colour and mask rows";
    EXPECT_EQ(Le16(ico, bmpAt + 14), 32);
    EXPECT_EQ(bmpSize, 40u + 20 * 20 * 4 + 20 * 4);
    // The bottom row comes first; its first pixel (index 380) is opaque, BGRA.
    const size_t firstPixel = bmpAt + 40;
    EXPECT_EQ(ico.at(firstPixel), small.rgba[380 * 4 + 2]);
    EXPECT_EQ(ico.at(firstPixel + 3), 255);
    // Mask of the bottom row: pixels 381, 384, 387 (x = 1, 4, 7) are see-through.
    const size_t mask = firstPixel + 20 * 20 * 4;
    EXPECT_EQ(ico.at(mask), 0b0100'1001);

    const uint32_t pngAt = Le32(ico, 6 + 16 + 12);
    EXPECT_EQ(pngAt, bmpAt + bmpSize);
    EXPECT_EQ(std::memcmp(&ico.at(pngAt), "\x89PNG", 4), 0);
    EXPECT_EQ(pngAt + Le32(ico, 6 + 16 + 8), ico.size());
    EXPECT_THROW(EncodeIco({Checker(300)}), std::invalid_argument);
}

// The grain is drawn pixel by pixel in row order and the stars go on last:
// pieces of any size, an empty piece among them, give the same picture, and
// asking again once it is finished changes nothing.
TEST(IconFiles, BackdropPaintedInPiecesIsTheWholePicture)
{
    const Image whole = PaintBackdrop();
    BackdropPainting painting = StartBackdrop();
    EXPECT_FALSE(PaintBackdropRows(painting, 7));
    EXPECT_FALSE(PaintBackdropRows(painting, 0));
    int pieces = 2;
    while (!PaintBackdropRows(painting, 50)) {
        ++pieces;
    }
    EXPECT_EQ(pieces, 2 + (BACKDROP_SIZE - 7 + 49) / 50 - 1);
    EXPECT_TRUE(PaintBackdropRows(painting, 5));
    ASSERT_EQ(painting.image.pixels.size(), whole.pixels.size());
    EXPECT_TRUE(painting.image.pixels == whole.pixels);

    // The file too: rows bottom-up, whatever the pieces, the bytes the
    // native build writes, and a finished file stays as it is.
    const std::vector<uint8_t> file = EncodeBmp24(whole);
    BmpEncoding encoding = StartBmp24(whole);
    EXPECT_EQ(encoding.bytes.size(), 54u);
    EXPECT_FALSE(EncodeBmp24Rows(encoding, 0));
    EXPECT_FALSE(EncodeBmp24Rows(encoding, 1));
    EXPECT_EQ(encoding.bytes[54], At(whole, 0, BACKDROP_SIZE - 1).b);
    while (!EncodeBmp24Rows(encoding, 100)) {}
    EXPECT_TRUE(EncodeBmp24Rows(encoding, 3));
    EXPECT_TRUE(encoding.bytes == file);
    EXPECT_EQ(file.size(), 54u + size_t{BACKDROP_SIZE} * BACKDROP_SIZE * 3);
}

} // namespace
