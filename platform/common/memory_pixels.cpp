#include "platform/common/memory_pixels.h"

#include <algorithm>
#include <cstring>

namespace {

// A plain loop over 16-bit values is several times slower than memset, which
// serves whenever both bytes of the colour are equal (black, above all).
void FillRun(uint16_t* first, size_t count, uint16_t colour)
{
    if ((colour >> 8) == (colour & 0xFFu)) {
        std::memset(first, colour & 0xFF, count * 2);
    } else {
        std::fill(first, first + count, colour);
    }
}

void FillRect(uint16_t* pixels, int32_t width, int32_t height, PlatRect rect, uint16_t colour)
{
    if (!IntersectRect(&rect, {0, 0, width, height})) {
        return;
    }
    const auto rowPixels = static_cast<size_t>(width);
    const auto runPixels = static_cast<size_t>(rect.right - rect.left);
    uint16_t* first = pixels + static_cast<size_t>(rect.top) * rowPixels +
                      static_cast<size_t>(rect.left);
    if (runPixels == rowPixels) {
        // Whole rows lie back to back.
        FillRun(first, runPixels * static_cast<size_t>(rect.bottom - rect.top), colour);
        return;
    }
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        FillRun(first + static_cast<size_t>(y - rect.top) * rowPixels, runPixels, colour);
    }
}

} // namespace

bool IntersectRect(PlatRect* a, const PlatRect& b)
{
    a->left = std::max(a->left, b.left);
    a->top = std::max(a->top, b.top);
    a->right = std::min(a->right, b.right);
    a->bottom = std::min(a->bottom, b.bottom);
    return a->left < a->right && a->top < a->bottom;
}

void FillPixelArea(uint16_t* pixels, int32_t width, int32_t height, PlatRect area,
                   const std::vector<PlatRect>* clips, uint16_t colour)
{
    if (clips == nullptr) {
        FillRect(pixels, width, height, area, colour);
        return;
    }
    for (const PlatRect& clip : *clips) {
        PlatRect part = area;
        if (IntersectRect(&part, clip)) {
            FillRect(pixels, width, height, part, colour);
        }
    }
}
