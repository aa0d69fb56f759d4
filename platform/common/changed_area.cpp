#include "platform/common/changed_area.h"

#include <algorithm>
#include <cstring>

namespace {

size_t TakeWhole(ShownPicture* shown, const uint16_t* picture, int32_t pitch, int32_t width,
                 int32_t height, PlatRect* bands)
{
    shown->width = width;
    shown->height = height;
    shown->whole = false;
    shown->pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(shown->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                    picture + static_cast<ptrdiff_t>(y) * pitch,
                    static_cast<size_t>(width) * sizeof(uint16_t));
    }
    bands[0] = {0, 0, width, height};
    return 1;
}

// Whether two rows are the same, a word of four pixels at a time without a
// branch per word: the C library's byte-wise compare of some targets (the
// page's) costs more than the game's whole frame.
bool SameRow(const uint16_t* now, const uint16_t* was, int32_t width)
{
    const auto pixels = static_cast<size_t>(width);
    const size_t words = pixels / 4;
    uint64_t differ = 0;
    for (size_t i = 0; i < words; ++i) {
        uint64_t a = 0;
        uint64_t b = 0;
        std::memcpy(&a, now + 4 * i, sizeof a);
        std::memcpy(&b, was + 4 * i, sizeof b);
        differ |= a ^ b;
    }
    for (size_t i = 4 * words; i < pixels; ++i) {
        differ |= static_cast<uint64_t>(now[i] ^ was[i]);
    }
    return differ == 0;
}

// The first and one past the last pixel where the rows differ; the row
// compares unequal as a whole before this is asked.
void ChangedSpan(const uint16_t* now, const uint16_t* was, int32_t width, int32_t* left,
                 int32_t* right)
{
    int32_t first = 0;
    while (first < width && now[first] == was[first]) {
        ++first;
    }
    int32_t last = width;
    while (last > first && now[last - 1] == was[last - 1]) {
        --last;
    }
    *left = first;
    *right = last;
}

} // namespace

size_t TakeChangedArea(ShownPicture* shown, const uint16_t* picture, int32_t pitch, int32_t width,
                       int32_t height, PlatRect* bands, size_t maxBands)
{
    if (width <= 0 || height <= 0 || maxBands == 0) {
        return 0;
    }
    if (shown->whole || shown->width != width || shown->height != height) {
        return TakeWhole(shown, picture, pitch, width, height, bands);
    }
    size_t count = 0;
    for (int32_t y = 0; y < height; ++y) {
        const uint16_t* now = picture + static_cast<ptrdiff_t>(y) * pitch;
        uint16_t* was = shown->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        if (SameRow(now, was, width)) {
            continue;
        }
        int32_t left = 0;
        int32_t right = 0;
        ChangedSpan(now, was, width, &left, &right);
        std::memcpy(was + left, now + left, static_cast<size_t>(right - left) * sizeof(uint16_t));
        PlatRect* last = count > 0 ? &bands[count - 1] : nullptr;
        if (last != nullptr && (y - last->bottom < CHANGED_BAND_GAP || count == maxBands)) {
            last->left = std::min(last->left, left);
            last->right = std::max(last->right, right);
            last->bottom = y + 1;
        } else {
            bands[count++] = {left, y, right, y + 1};
        }
    }
    return count;
}
