// The one game window as the devices see it: the window and instance they
// bind to, its size, the quit request and the live key state. It sits below
// display/, input/, sound/ and screens/; app/ opens the window and fills it in.
#pragma once

#include "platform/system.h"

#include <cstdint>

constexpr int VK_ESCAPE = PLAT_VK_ESCAPE;
constexpr int VK_MENU = PLAT_VK_MENU;

constexpr int32_t SCREEN_WIDTH = 800;
constexpr int32_t SCREEN_HEIGHT = 600;

extern PlatWindow g_mainWindow;
extern PlatInstance g_appInstance;

void GameWindowReset();
// Posts the quit request; the main loop turns it into the quit message.
void RequestQuit();
// True when the key is down by the live, asynchronous key state.
bool AsyncKeyDown(int virtualKey);
