// The device calls of the backends that draw into memory and scale the
// picture to their window instead of switching display modes (SDL, the web
// page). The window sits at the origin of the primary surface, which is the
// window's picture.
#include "platform/common/memory_surfaces.h"
#include "platform/video.h"

namespace {

constexpr int32_t DEFAULT_WIDTH = 800;
constexpr int32_t DEFAULT_HEIGHT = 600;

} // namespace

int PlatVideoCreate(PlatVideoDevice* device)
{
    if (MEMORY_VIDEO_HOOKS.canShow != nullptr && !MEMORY_VIDEO_HOOKS.canShow()) {
        return PLAT_VIDEO_REFUSED;
    }
    *device = MemoryNewDevice(DEFAULT_WIDTH, DEFAULT_HEIGHT);
    return 0;
}

int PlatVideoSetCooperativeLevel(PlatVideoDevice, PlatWindow, uint32_t)
{
    return 0;
}

// Any size is a mode; only the 16-bit pixels the backends show are offered.
int PlatVideoSetDisplayMode(PlatVideoDevice device, int32_t width, int32_t height, int32_t bpp,
                            int32_t, uint32_t)
{
    return MemorySetDisplayMode(device, width, height, bpp);
}

int PlatGetWindowRect(PlatWindow, PlatRect* rect)
{
    int width = 0;
    int height = 0;
    if (!MEMORY_VIDEO_HOOKS.windowSize(&width, &height)) {
        return PLAT_VIDEO_REFUSED;
    }
    *rect = {0, 0, width, height};
    return 0;
}
