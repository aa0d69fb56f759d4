// The application shell: opens the window, runs the main loop, starts up and
// shuts down the game.
#pragma once

#include "platform/system.h"
#include "window/game_window.h"

#include <cstdint>

constexpr uint32_t WM_CREATE = PLAT_MSG_CREATE;
constexpr uint32_t WM_DESTROY = PLAT_MSG_DESTROY;
constexpr uint32_t WM_PAINT = PLAT_MSG_PAINT;
constexpr uint32_t WM_QUIT = PLAT_MSG_QUIT;

constexpr const char* WINDOW_CLASS_NAME = "WIN3DCLASS";
constexpr const char* WINDOW_CAPTION = "Dellomar ++";
constexpr uint32_t WINDOW_CLASS_STYLE = PLAT_CS_VREDRAW | PLAT_CS_HREDRAW | PLAT_CS_DBLCLKS |
                                        PLAT_CS_OWNDC;

// Exit code when the window cannot be had: the player is told why on stderr.
constexpr int EXIT_NO_WINDOW = 1;

// Registers the window class and opens the main window; 0 on success, else
// the exit code, with the reason told on stderr.
int OpenMainWindow(PlatInstance instance);
intptr_t MainWindowProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
int GameStartup();
int GameShutdown();
// Every global of the game back to its value at program start, module by
// module; memory the game holds is freed, handles into the platform are
// dropped without a call (the backend is reset on its own).
void GameReset();
