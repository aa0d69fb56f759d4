// What the SDL backend's device families share among themselves.
#pragma once

#include <SDL.h>

// The game's one window, or null before it is created.
SDL_Window* SdlMainWindow();
// Makes the window's renderer, chosen by what the machine has; false (with
// the reason for PlatLastError) when there is none.
bool SdlVideoOpenRenderer(SDL_Window* window);
// Drains SDL's event queue; a close request from the desktop, SIGINT, SIGTERM
// and SIGHUP become the game's own quit request here.
void SdlPumpEvents();
// Remembers the reason for a failure, for PlatLastError().
void SdlSetLastError(const char* what);
// SIGINT, SIGTERM and SIGHUP end the game through its quit path, and SIGXFSZ
// is ignored; call before AppMain.
void SdlInstallSignalHandlers();
// Notes the presses in an event for the next reads of the input devices and
// the live key state, and frees or takes the mouse as the window loses or
// gains the focus.
void SdlInputNoteEvent(const SDL_Event& event);
// Whether this live key went down since it was last asked; forgets it.
bool SdlTakeLivePress(int virtualKey);
