// The back buffer as the screens use it: colour fills, the lock that hands
// out its pixels, and showing it by a flip or a copy into the window.
#include "window/game_window.h"
#include "display/display_device.h"

int32_t SurfaceFill(PlatSurface surface, int32_t colour, const PlatRect* rect)
{
    // Screens fill every frame even when the display never opened.
    if (surface != nullptr) {
        PlatVideoColorFill(surface, rect, PLAT_BLT_COLORFILL | PLAT_BLT_WAIT,
                           static_cast<uint32_t>(colour) & 0xFFFFu);
    }
    return 1;
}

void BackBufferLock()
{
    if (g_backBits != nullptr || g_backSurface == nullptr) {
        return;
    }
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    if (PlatVideoLock(g_backSurface, nullptr, &desc, PLAT_LOCK_WAIT) < 0) {
        return;
    }
    g_backBits = static_cast<uint16_t*>(desc.surface);
    g_backPitch = g_backBits != nullptr ? desc.pitch : 0;
}

int32_t BackBufferUnlock()
{
    if (g_backBits == nullptr) {
        return 0;
    }
    PlatVideoUnlock(g_backSurface, nullptr);
    g_backBits = nullptr;
    g_backPitch = 0;
    return 1;
}

namespace {

// The platform may take the display away (another program in front); its
// flips are refused until the surfaces are restored, so a refused flip is
// tried a few times and then the frame is given up.
int32_t FlipFullScreen()
{
    for (int attempt = 0; attempt < FLIP_ATTEMPTS; ++attempt) {
        if (PlatVideoFlip(g_primarySurface, nullptr, PLAT_FLIP_WAIT) >= 0) {
            return 1;
        }
    }
    PlatVideoRestoreAllSurfaces(g_directDraw);
    return 0;
}

// A windowed display only: the game opens full screen, so this runs only for a
// caller that asks for a window.
int32_t CopyToWindow()
{
    PlatRect window{};
    PlatGetWindowRect(g_mainWindow, &window);
    // Full size: right and bottom are exclusive, so the copy is not stretched.
    PlatRect dest{window.left, window.top, window.left + g_screenWidth,
                  window.top + g_screenHeight};
    return PlatVideoBlt(g_primarySurface, &dest, g_backSurface, nullptr, PLAT_BLT_WAIT) >= 0 ? 1
                                                                                             : 0;
}

} // namespace

int32_t DisplayFlip()
{
    if (g_backBits != nullptr || g_primarySurface == nullptr || g_backSurface == nullptr) {
        return 0;
    }
    return g_windowed != 0 ? CopyToWindow() : FlipFullScreen();
}
