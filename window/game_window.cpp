#include "window/game_window.h"

PlatWindow g_mainWindow = nullptr;
PlatInstance g_appInstance = nullptr;

void GameWindowReset()
{
    g_mainWindow = nullptr;
    g_appInstance = nullptr;
}

void RequestQuit()
{
    // The window's own close path: it posts the quit message in turn.
    PlatPostMessage(g_mainWindow, PLAT_MSG_DESTROY, 0, 0);
}

bool AsyncKeyDown(int virtualKey)
{
    return (static_cast<uint16_t>(PlatGetAsyncKeyState(virtualKey)) & 0x8000u) != 0;
}
