#include "tools/datagen/bmp_writer.h"

#include "tools/datagen/byte_writer.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <utility>

BmpEncoding StartBmp24(const Image& image)
{
    // The game's own pictures keep to widths whose rows need no padding, so
    // their rows are one unbroken run as the loader has always read them.
    if (image.width <= 0 || image.height <= 0 || (image.width * 3) % 4 != 0) {
        throw std::invalid_argument("picture width must be a positive multiple of 4");
    }
    const uint32_t pixelBytes = static_cast<uint32_t>(image.width) *
                                static_cast<uint32_t>(image.height) * 3u;
    const uint32_t headerBytes = 14 + 40;
    BmpEncoding encoding{&image, {}, 0};
    std::vector<uint8_t>& out = encoding.bytes;
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
    return encoding;
}

bool EncodeBmp24Rows(BmpEncoding& encoding, int rows)
{
    const Image& image = *encoding.image;
    const int end = std::min(image.height, encoding.rowsWritten + std::max(rows, 0));
    std::vector<uint8_t>& out = encoding.bytes;
    // Bottom-up: the file's first row is the picture's last.
    size_t at = out.size();
    out.resize(at + static_cast<size_t>(end - encoding.rowsWritten) *
                        static_cast<size_t>(image.width) * 3u);
    for (int written = encoding.rowsWritten; written < end; ++written) {
        const int y = image.height - 1 - written;
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = At(image, x, y);
            out[at++] = c.b;
            out[at++] = c.g;
            out[at++] = c.r;
        }
    }
    encoding.rowsWritten = end;
    return end == image.height;
}

std::vector<uint8_t> EncodeBmp24(const Image& image)
{
    BmpEncoding encoding = StartBmp24(image);
    EncodeBmp24Rows(encoding, image.height);
    return std::move(encoding.bytes);
}
