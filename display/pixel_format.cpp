// Colours packed into the display's 16-bit pixels, 5.6.5 or 5.5.5 as the
// display reports.
#include "display/display_device.h"

int32_t PackRGB565(int32_t r, int32_t g, int32_t b)
{
    return ((r >> 3) & 31) << 11 | ((g >> 2) & 63) << 5 | ((b >> 3) & 31);
}

int32_t PackRGB555(int32_t r, int32_t g, int32_t b)
{
    return ((r >> 3) & 31) << 10 | ((g >> 3) & 31) << 5 | ((b >> 3) & 31);
}

int32_t PackRGB(int32_t r, int32_t g, int32_t b)
{
    return g_pixelFormat == PIXEL_FORMAT_555 ? PackRGB555(r, g, b) : PackRGB565(r, g, b);
}
