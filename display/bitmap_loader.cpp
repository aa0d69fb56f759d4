#include "display/bitmap_loader.h"

#include "display/display_device.h"
#include "platform/file.h"

#include <cstdlib>
#include <cstring>

namespace {

uint16_t Le16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t Le32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

BitmapFileHeader DecodeFileHeader(const uint8_t* bytes)
{
    return {Le16(bytes), Le32(bytes + 2), Le16(bytes + 6), Le16(bytes + 8), Le32(bytes + 10)};
}

BitmapInfoHeader DecodeInfoHeader(const uint8_t* bytes)
{
    BitmapInfoHeader info{};
    info.biSize = Le32(bytes);
    info.biWidth = static_cast<int32_t>(Le32(bytes + 4));
    info.biHeight = static_cast<int32_t>(Le32(bytes + 8));
    info.biPlanes = Le16(bytes + 12);
    info.biBitCount = Le16(bytes + 14);
    info.biCompression = Le32(bytes + 16);
    info.biSizeImage = Le32(bytes + 20);
    info.biXPelsPerMeter = static_cast<int32_t>(Le32(bytes + 24));
    info.biYPelsPerMeter = static_cast<int32_t>(Le32(bytes + 28));
    info.biClrUsed = Le32(bytes + 32);
    info.biClrImportant = Le32(bytes + 36);
    return info;
}

// Everything a load needs, read and converted, before the record is touched.
struct PendingImage {
    BitmapFileHeader fileHeader;
    BitmapInfoHeader infoHeader;
    PlatPaletteEntry palette[256];
    uint8_t* pixels;
};

bool ReadExactly(PlatFile* file, void* buffer, size_t size)
{
    return PlatFileRead(file, buffer, size) == size;
}

// Bytes one row takes in the file: rows are padded to 4 bytes. The game's own
// pictures are sized so that no row needs padding.
int64_t StoredRowBytes(const BitmapInfoHeader& info)
{
    return (int64_t{info.biWidth} * (info.biBitCount / 8) + 3) / 4 * 4;
}

// The data size the headers declare. Uncompressed pictures may leave the field
// 0, and several editors do: then the padded rows give it.
int64_t DeclaredPixelBytes(const BitmapInfoHeader& info)
{
    if (info.biSizeImage != 0 || info.biCompression != BITMAP_UNCOMPRESSED) {
        return info.biSizeImage;
    }
    return StoredRowBytes(info) * info.biHeight;
}

// The bytes the padded rows take in the file, or 0 when the headers describe
// no image this loader can read safely: the dimensions, the declared data size
// and the file's real length must all agree before any buffer is sized from them.
int64_t UsedPixelBytes(const BitmapInfoHeader& info, int64_t fileSize)
{
    if (info.biBitCount != 8 && info.biBitCount != 16 && info.biBitCount != 24) {
        return 0;
    }
    if (info.biWidth <= 0 || info.biWidth > BITMAP_MAX_SIDE || info.biHeight <= 0 ||
        info.biHeight > BITMAP_MAX_SIDE) {
        return 0;
    }
    int64_t used = StoredRowBytes(info) * info.biHeight;
    if (DeclaredPixelBytes(info) < used) {
        return 0;
    }
    int64_t headers = BITMAP_FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES +
                      (info.biBitCount == 8 ? BITMAP_PALETTE_BYTES : 0);
    if (fileSize >= 0 && fileSize < headers + used) {
        return 0;
    }
    return used;
}

// Stored blue, green, red, reserved; kept as red, green, blue, flags.
bool ReadPalette(PlatFile* file, PendingImage* image)
{
    uint8_t stored[BITMAP_PALETTE_BYTES];
    if (!ReadExactly(file, stored, sizeof stored)) {
        return false;
    }
    for (int i = 0; i < 256; ++i) {
        image->palette[i] = {stored[4 * i + 2], stored[4 * i + 1], stored[4 * i],
                             PLAT_PC_NOCOLLAPSE};
    }
    return true;
}

// Blue, green, red bytes to 16-bit pixels of the display's format; 5.6.5
// unless the display reports 5.5.5.
void ConvertToPixel16(const uint8_t* source, uint8_t* target, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        int32_t blue = source[3 * i];
        int32_t green = source[3 * i + 1];
        int32_t red = source[3 * i + 2];
        auto value = static_cast<uint16_t>(g_pixelFormat == PIXEL_FORMAT_555
                                               ? PackRGB555(red, green, blue)
                                               : PackRGB565(red, green, blue));
        std::memcpy(target + 2 * i, &value, sizeof value);
    }
}

// Drops the padding at the end of every stored row, in place.
void PackRows(uint8_t* bytes, int64_t storedRow, int64_t row, int64_t rows)
{
    for (int64_t i = 1; storedRow != row && i < rows; ++i) {
        std::memmove(bytes + i * row, bytes + i * storedRow, static_cast<size_t>(row));
    }
}

bool ReadPixels(PlatFile* file, int64_t usedBytes, PendingImage* image)
{
    const BitmapInfoHeader& info = image->infoHeader;
    const int64_t storedRow = StoredRowBytes(info);
    const int64_t row = int64_t{info.biWidth} * (info.biBitCount / 8);
    if (info.biBitCount != 24) {
        image->pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(usedBytes)));
        if (image->pixels == nullptr ||
            !ReadExactly(file, image->pixels, static_cast<size_t>(usedBytes))) {
            return false;
        }
        PackRows(image->pixels, storedRow, row, info.biHeight);
        return true;
    }
    int64_t count = int64_t{info.biWidth} * info.biHeight;
    auto* scratch = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(usedBytes)));
    image->pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(count * 2)));
    bool read = scratch != nullptr && image->pixels != nullptr &&
                ReadExactly(file, scratch, static_cast<size_t>(usedBytes));
    if (read) {
        PackRows(scratch, storedRow, row, info.biHeight);
        ConvertToPixel16(scratch, image->pixels, count);
        image->infoHeader.biBitCount = 16;
    }
    std::free(scratch);
    return read;
}

// 0: rejected, and bitmap->fileHeader holds what was read if it was not "BM".
bool ReadImage(PlatFile* file, Bitmap* bitmap, PendingImage* image)
{
    uint8_t bytes[BITMAP_FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES];
    if (!ReadExactly(file, bytes, BITMAP_FILE_HEADER_BYTES)) {
        return false;
    }
    image->fileHeader = DecodeFileHeader(bytes);
    if (image->fileHeader.bfType != BITMAP_MAGIC) {
        bitmap->fileHeader = image->fileHeader;
        return false;
    }
    if (!ReadExactly(file, bytes + BITMAP_FILE_HEADER_BYTES, BITMAP_INFO_HEADER_BYTES)) {
        return false;
    }
    image->infoHeader = DecodeInfoHeader(bytes + BITMAP_FILE_HEADER_BYTES);
    int64_t usedBytes = UsedPixelBytes(image->infoHeader, PlatFileSize(file));
    if (usedBytes == 0) {
        return false;
    }
    if (image->infoHeader.biBitCount == 8 && !ReadPalette(file, image)) {
        return false;
    }
    return ReadPixels(file, usedBytes, image);
}

} // namespace

int32_t BitmapLoad(Bitmap* bitmap, const char* path)
{
    if (bitmap == nullptr) {
        return 0;
    }
    PlatFile* file = PlatFileOpen(path, PlatFileMode::Read);
    if (file == nullptr) {
        return 0;
    }
    PendingImage image{};
    bool loaded = ReadImage(file, bitmap, &image);
    PlatFileClose(file);
    if (loaded) {
        BitmapUnload(bitmap);
        bitmap->fileHeader = image.fileHeader;
        bitmap->infoHeader = image.infoHeader;
        if (image.infoHeader.biBitCount == 8) {
            std::memcpy(bitmap->palette, image.palette, sizeof bitmap->palette);
        }
        bitmap->pixels = image.pixels;
        const BitmapInfoHeader& info = bitmap->infoHeader;
        FlipBitmapRows(bitmap->pixels, info.biBitCount / 8 * info.biWidth, info.biHeight);
    } else {
        std::free(image.pixels);
    }
    return loaded ? 1 : 0;
}

int32_t BitmapUnload(Bitmap* bitmap)
{
    if (bitmap != nullptr && bitmap->pixels != nullptr) {
        std::free(bitmap->pixels);
        bitmap->pixels = nullptr;
    }
    return 1;
}

int32_t FlipBitmapRows(void* pixels, int32_t rowBytes, int32_t rows)
{
    if (pixels == nullptr || rowBytes < 0 || rows < 0) {
        return 0;
    }
    auto* scratch = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(rowBytes) + 1));
    if (scratch == nullptr) {
        return 0;
    }
    auto* bytes = static_cast<uint8_t*>(pixels);
    const auto rowSize = static_cast<size_t>(rowBytes);
    for (int32_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        uint8_t* upper = bytes + rowSize * static_cast<size_t>(top);
        uint8_t* lower = bytes + rowSize * static_cast<size_t>(bottom);
        std::memcpy(scratch, upper, rowSize);
        std::memcpy(upper, lower, rowSize);
        std::memcpy(lower, scratch, rowSize);
    }
    std::free(scratch);
    return 1;
}
