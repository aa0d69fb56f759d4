// The display device: a full-screen 16-bit display with one back buffer that
// the screens lock and draw into pixel by pixel, then present by flipping.
#pragma once

#include "platform/video.h"

#include <cstdint>
#include <cstdio>

// Pixel formats: 15 selects 5.5.5, every other value 5.6.5.
constexpr int32_t PIXEL_FORMAT_555 = 15;
constexpr int32_t PIXEL_FORMAT_565 = 16;

constexpr uint32_t COOPERATIVE_FULLSCREEN = PLAT_COOP_FULLSCREEN | PLAT_COOP_ALLOWREBOOT |
                                            PLAT_COOP_EXCLUSIVE | PLAT_COOP_ALLOWMODEX |
                                            PLAT_COOP_MULTITHREADED; // 0x453
constexpr uint32_t COOPERATIVE_WINDOWED = PLAT_COOP_NORMAL;          // 8

// A full-screen flip that keeps being refused (the display was taken away) is
// given up after this many tries; the surfaces are restored and the frame lost.
constexpr int FLIP_ATTEMPTS = 4;

extern PlatVideoDevice g_directDraw;
extern PlatSurface g_primarySurface;
extern PlatSurface g_backSurface;
extern PlatClipper g_backClipper;
extern PlatClipper g_windowClipper;
extern PlatPalette g_palette;
extern PlatPaletteEntry g_paletteEntries[256];
extern int32_t g_windowed;
extern int32_t g_screenWidth;
extern int32_t g_screenHeight;
extern int32_t g_screenBpp;
extern int32_t g_pixelFormat;
// Non-null exactly while the back buffer is locked.
extern uint16_t* g_backBits;
extern int32_t g_backPitch;
extern std::FILE* g_logFile;

// Stops at the first refused step and keeps what it created; DisplayClose
// releases it. 1 on success, 0 on failure.
int32_t DisplayOpen(int32_t width, int32_t height, int32_t bpp, int32_t windowed);
// Releases whatever exists, clipper first and device last.
int32_t DisplayClose();
// The records as at program start; handles are dropped, not released.
void DisplayReset();
// Null rect: the whole surface. Only the low 16 bits of the colour count.
int32_t SurfaceFill(PlatSurface surface, int32_t colour, const PlatRect* rect);
void BackBufferLock();
// 0 when nothing was locked.
int32_t BackBufferUnlock();
// 1 when the frame was presented.
int32_t DisplayFlip();
// The new clipper, or null when a step was refused.
PlatClipper AttachClipper(PlatSurface surface, int32_t count, const PlatRect* rects);
PlatSurface CreateOffscreenSurface(int32_t width, int32_t height, uint32_t caps, int32_t key);

int32_t PackRGB565(int32_t r, int32_t g, int32_t b);
int32_t PackRGB555(int32_t r, int32_t g, int32_t b);
// Packs for the display's format (g_pixelFormat).
int32_t PackRGB(int32_t r, int32_t g, int32_t b);

// Reads 256 lines of "red green blue flags"; 1 if the file could be opened.
int32_t LoadPaletteFile(const char* path, PlatPaletteEntry* entries256);
// Writes to g_logFile when it is open; 1 if written.
int32_t LogPrintf(const char* format, ...);
