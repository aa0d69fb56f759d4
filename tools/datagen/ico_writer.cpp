#include "tools/datagen/ico_writer.h"

#include "tools/datagen/byte_writer.h"

#include <stdexcept>

namespace {

std::vector<uint8_t> EncodeIconBitmap(const RgbaImage& image)
{
    const auto w = static_cast<uint32_t>(image.width);
    const auto h = static_cast<uint32_t>(image.height);
    const uint32_t maskRow = (w + 31u) / 32u * 4u;
    std::vector<uint8_t> out;
    PutU32(out, 40);
    PutU32(out, w);
    PutU32(out, h * 2u); // colour rows and mask rows together
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, 0); // BI_RGB
    PutU32(out, w * h * 4u + maskRow * h);
    for (int i = 0; i < 4; ++i) {
        PutU32(out, 0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p =
                &image.rgba[(static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 4u];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    // The AND mask: set bits are see-through for readers that ignore alpha.
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRow, 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.rgba[(static_cast<size_t>(y) * w + static_cast<size_t>(x)) * 4u + 3u] < 128) {
                row[static_cast<size_t>(x) / 8u] |= static_cast<uint8_t>(
                    0x80u >> (static_cast<unsigned>(x) % 8u));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

std::vector<uint8_t> EncodeIco(const std::vector<RgbaImage>& images)
{
    std::vector<std::vector<uint8_t>> bodies;
    for (const RgbaImage& image : images) {
        if (image.width != image.height || image.width < 1 || image.width > 256) {
            throw std::invalid_argument("icon sizes are square, 1 to 256");
        }
        bodies.push_back(image.width == 256 ? EncodePng(image) : EncodeIconBitmap(image));
    }
    std::vector<uint8_t> out;
    PutU16(out, 0);
    PutU16(out, 1); // icon
    PutU16(out, static_cast<uint16_t>(images.size()));
    auto offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<uint8_t>(images[i].width & 0xFF); // 256 is written as 0
        PutU8(out, side);
        PutU8(out, side);
        PutU8(out, 0); // no palette
        PutU8(out, 0);
        PutU16(out, 1);
        PutU16(out, 32);
        PutU32(out, static_cast<uint32_t>(bodies[i].size()));
        PutU32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) {
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}
