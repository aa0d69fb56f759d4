// What the SDL backend's device families share among themselves.
#pragma once

#include <SDL.h>

// The game's one window, or null before it is created.
SDL_Window* SdlMainWindow();
// Drains SDL's event queue; a close request from the desktop, SIGINT, SIGTERM
// and SIGHUP become the game's own quit request here.
void SdlPumpEvents();
// Remembers the reason for a failure, for PlatLastError().
void SdlSetLastError(const char* what);
// SIGINT, SIGTERM and SIGHUP end the game through its quit path; call before AppMain.
void SdlInstallSignalHandlers();
