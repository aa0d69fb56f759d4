// What the Windows backend's device families share among themselves.
#pragma once

#include "platform/system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <unknwn.h>

// The seam's handles are the native ones, passed through as they are.
inline HWND Win32Window(PlatWindow window)
{
    return reinterpret_cast<HWND>(window);
}

inline HINSTANCE Win32Instance(PlatInstance instance)
{
    return reinterpret_cast<HINSTANCE>(instance);
}

// The native calls' results go on as the seam's int results, unchanged.
inline int Win32Result(HRESULT result)
{
    return static_cast<int>(result);
}

// Releases an object the seam handed out: the count left, or `none` when
// there is no object.
inline int Win32Release(IUnknown* object, int none = 0)
{
    return object == nullptr ? none : static_cast<int>(object->Release());
}

// Remembers the reason for a failure, for PlatLastError(): `what`, followed by
// the system's text for `code` when it is non-zero.
void Win32SetLastError(const char* what, DWORD code);

// The tick counter, as the game reads it; the last reading is remembered as
// the start of the frame being built.
uint32_t Win32ReadTicks();
// Sleeps until this many milliseconds have passed since the game last read
// the tick counter (win32_pace.cpp).
void Win32SleepOutFrame(uint32_t milliseconds);
