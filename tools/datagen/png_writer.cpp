#include "tools/datagen/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1u) : c >> 1u;
        }
        table[n] = c;
    }
    return table;
}

void PutU32BE(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>((v >> static_cast<unsigned>(shift)) & 0xFFu));
    }
}

// Length, type, data, then the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data)
{
    PutU32BE(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutU32BE(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8u);
    }
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size)
{
    constexpr uint32_t ADLER_MOD = 65521;
    uint32_t a = 1;
    uint32_t b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % ADLER_MOD;
        b = (b + a) % ADLER_MOD;
    }
    return (b << 16u) | a;
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& data)
{
    constexpr size_t MAX_STORED_BLOCK = 65535;
    std::vector<uint8_t> out = {0x78, 0x01}; // deflate, 32 KiB window, no dictionary
    size_t at = 0;
    do {
        const size_t n = std::min(MAX_STORED_BLOCK, data.size() - at);
        const bool last = at + n == data.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00: stored
        const auto len = static_cast<uint16_t>(n);
        const auto nlen = static_cast<uint16_t>(~len);
        out.push_back(static_cast<uint8_t>(len & 0xFFu));
        out.push_back(static_cast<uint8_t>(len >> 8u));
        out.push_back(static_cast<uint8_t>(nlen & 0xFFu));
        out.push_back(static_cast<uint8_t>(nlen >> 8u));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < data.size());
    PutU32BE(out, Adler32(data.data(), data.size()));
    return out;
}

std::vector<uint8_t> ZlibDeflate(const std::vector<uint8_t>& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib could not compress the picture");
    }
    out.resize(size);
    return out;
}

namespace {

uint8_t Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return static_cast<uint8_t>(a);
    }
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The row as PNG filter `type` (0 None .. 4 Paeth) turns it, after its type byte.
void FilterRow(const uint8_t* row, const uint8_t* above, size_t n, uint8_t type,
               std::vector<uint8_t>& out)
{
    out.push_back(type);
    for (size_t i = 0; i < n; ++i) {
        const int a = i >= 4 ? row[i - 4] : 0;
        const int b = above[i];
        const int c = i >= 4 ? above[i - 4] : 0;
        int predicted = 0;
        switch (type) {
        case 1:
            predicted = a;
            break;
        case 2:
            predicted = b;
            break;
        case 3:
            predicted = (a + b) / 2;
            break;
        case 4:
            predicted = Paeth(a, b, c);
            break;
        default:
            break;
        }
        out.push_back(static_cast<uint8_t>(row[i] - predicted));
    }
}

// How far the filtered bytes are from zero, read as signed: the filter with
// the smallest sum usually compresses best.
long FilterCost(const std::vector<uint8_t>& bytes)
{
    long cost = 0;
    for (size_t i = 1; i < bytes.size(); ++i) {
        cost += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
    }
    return cost;
}

} // namespace

std::vector<uint8_t> FilterRows(const RgbaImage& image)
{
    const size_t rowBytes = static_cast<size_t>(image.width) * 4u;
    const std::vector<uint8_t> none(rowBytes, 0);
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(image.height));
    std::vector<uint8_t> best;
    std::vector<uint8_t> trial;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = &image.rgba[rowBytes * static_cast<size_t>(y)];
        const uint8_t* above = y > 0 ? row - rowBytes : none.data();
        best.clear();
        for (uint8_t type = 0; type <= 4; ++type) {
            trial.clear();
            FilterRow(row, above, rowBytes, type, trial);
            if (best.empty() || FilterCost(trial) < FilterCost(best)) {
                best.swap(trial);
            }
        }
        raw.insert(raw.end(), best.begin(), best.end());
    }
    return raw;
}

std::vector<uint8_t> EncodePng(const RgbaImage& image)
{
    const size_t rowBytes = static_cast<size_t>(image.width) * 4u;
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != rowBytes * static_cast<size_t>(image.height)) {
        throw std::invalid_argument("PNG picture with a wrong size");
    }
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<uint8_t> header;
    PutU32BE(header, static_cast<uint32_t>(image.width));
    PutU32BE(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(),
                  {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibDeflate(FilterRows(image)));
    PutChunk(out, "IEND", {});
    return out;
}
