// What the SDL backend's device families share among themselves.
#pragma once

#include "platform/video.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

struct SdlCapturedFrame;

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
// The display learns of what the window went through: exposed, resized,
// moved to another screen. Such a window is shown whole at the next flip.
void SdlVideoNoteEvent(const SDL_Event& event);

// The window's own surface, where no renderer is used (sdl_window_surface.cpp).
// Makes the surface ready for a picture of this size; *fresh tells that it is
// new or laid out anew, and must be given the whole picture. False when the
// window has no surface.
bool SdlSurfacePrepare(SDL_Window* window, int32_t width, int32_t height, bool* fresh);
// Scales these bands of the picture (rows `pitch` pixels apart) onto the
// surface and puts them on the screen; `whole` puts the whole surface, bars
// and all. The screen pixels put, or -1 on failure.
int64_t SdlSurfacePut(SDL_Window* window, const uint16_t* picture, int32_t pitch,
                      const PlatRect* bands, size_t count, bool whole);
// The surface as it stands, with where the picture lies on it.
void SdlSurfaceCapture(SDL_Window* window, SdlCapturedFrame* frame);
// The surface will be laid out afresh (the device showing it closed).
void SdlSurfaceForget();
