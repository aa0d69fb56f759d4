// The platform seam for the window, its message queue, the millisecond tick
// counter and the live key state. Message numbers and virtual-key codes keep
// the values the game was designed around, so a native backend can pass them
// straight through; the names are our own so nothing clashes with system headers.
#pragma once

#include <cstdint>

struct PlatWindowTag;
struct PlatInstanceTag;
using PlatWindow = PlatWindowTag*;
using PlatInstance = PlatInstanceTag*;

using PlatWindowProc = intptr_t (*)(PlatWindow window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam);

constexpr uint32_t PLAT_MSG_CREATE = 0x0001;
constexpr uint32_t PLAT_MSG_DESTROY = 0x0002;
constexpr uint32_t PLAT_MSG_PAINT = 0x000F;
constexpr uint32_t PLAT_MSG_CLOSE = 0x0010;
constexpr uint32_t PLAT_MSG_QUIT = 0x0012;
constexpr uint32_t PLAT_MSG_KEYDOWN = 0x0100;
constexpr uint32_t PLAT_MSG_CHAR = 0x0102;

constexpr int PLAT_VK_MENU = 0x12;
constexpr int PLAT_VK_ESCAPE = 0x1B;

// Stock resources a window class can name; the backends map them to their own.
constexpr int PLAT_STOCK_ICON_APPLICATION = 32512;
constexpr int PLAT_STOCK_CURSOR_CROSS = 32515;
constexpr int PLAT_STOCK_BRUSH_BLACK = 4;

struct PlatWindowClass {
    uint32_t style;
    PlatWindowProc windowProc;
    int32_t classExtraBytes;
    int32_t windowExtraBytes;
    PlatInstance instance;
    int icon;       // PLAT_STOCK_ICON_*
    int smallIcon;  // PLAT_STOCK_ICON_*
    int cursor;     // PLAT_STOCK_CURSOR_*
    int background; // PLAT_STOCK_BRUSH_*
    const char* className;
};

constexpr uint32_t PLAT_WS_POPUP = 0x80000000u;
constexpr uint32_t PLAT_WS_VISIBLE = 0x10000000u;
constexpr uint32_t PLAT_CS_VREDRAW = 0x0001u;
constexpr uint32_t PLAT_CS_HREDRAW = 0x0002u;
constexpr uint32_t PLAT_CS_DBLCLKS = 0x0008u;
constexpr uint32_t PLAT_CS_OWNDC = 0x0020u;

struct PlatMessage {
    PlatWindow window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// 0 when the class could not be registered.
int PlatRegisterClass(const PlatWindowClass& windowClass);
// Null when the window could not be made; PlatLastError() then says why.
PlatWindow PlatCreateWindow(uint32_t exStyle, const char* className, const char* caption,
                            uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                            PlatInstance instance);
// Removes one pending message of this thread without waiting; false when none is pending.
bool PlatPeekMessage(PlatMessage* message);
void PlatTranslateMessage(const PlatMessage& message);
intptr_t PlatDispatchMessage(const PlatMessage& message);
intptr_t PlatDefWindowProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void PlatBeginPaint(PlatWindow window);
void PlatEndPaint(PlatWindow window);
void PlatPostQuitMessage(int exitCode);
// Non-zero when queued.
int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
int PlatShowCursor(bool show);

// Milliseconds since the system started; wraps at 2^32.
uint32_t PlatGetTickCount();
// Top bit set while the key is down.
int16_t PlatGetAsyncKeyState(int virtualKey);

// True once the system has asked the game to end from outside (a signal on
// POSIX); it stays true. The number-entry screen reads no messages, so it asks
// this to leave at once; the quit request itself still comes through the queue.
bool PlatEndRequested();

// A short human-readable reason for the last failure of this seam.
const char* PlatLastError();
