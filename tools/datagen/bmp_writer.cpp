#include "tools/datagen/bmp_writer.h"

#include "tools/datagen/byte_writer.h"

#include <cassert>
#include <stdexcept>

std::vector<uint8_t> EncodeBmp24(const Image& image)
{
    // The game's own pictures keep to widths whose rows need no padding, so
    // their rows are one unbroken run as the loader has always read them.
    if (image.width <= 0 || image.height <= 0 || (image.width * 3) % 4 != 0) {
        throw std::invalid_argument("picture width must be a positive multiple of 4");
    }
    const uint32_t pixelBytes = static_cast<uint32_t>(image.width) *
                                static_cast<uint32_t>(image.height) * 3u;
    const uint32_t headerBytes = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);

    PutU8(out, 'B');
    PutU8(out, 'M');
    PutU32(out, headerBytes + pixelBytes); // bfSize
    PutU16(out, 0);
    PutU16(out, 0);
    PutU32(out, headerBytes); // bfOffBits

    PutU32(out, 40); // biSize
    PutU32(out, static_cast<uint32_t>(image.width));
    PutU32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up rows
    PutU16(out, 1);                                   // planes
    PutU16(out, 24);
    PutU32(out, 0); // BI_RGB
    PutU32(out, pixelBytes);
    PutU32(out, 2835); // 72 dpi
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    assert(out.size() == headerBytes);

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = At(image, x, y);
            PutU8(out, c.b);
            PutU8(out, c.g);
            PutU8(out, c.r);
        }
    }
    assert(out.size() == headerBytes + pixelBytes);
    return out;
}
