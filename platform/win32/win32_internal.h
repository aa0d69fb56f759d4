// What the Windows backend's device families share among themselves.
#pragma once

#include "platform/system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <unknwn.h>

#include <string>

// The seam's handles are the native ones, passed through as they are.
inline HWND Win32Window(PlatWindow window)
{
    return reinterpret_cast<HWND>(window);
}

inline HINSTANCE Win32Instance(PlatInstance instance)
{
    return reinterpret_cast<HINSTANCE>(instance);
}

// The native object behind one of the seam's handles. Each family file says
// once which interface a handle stands for, by declaring (never defining) an
// overload such as
//     IDirectSound* Win32NativeOf(PlatSoundDevice);
// at file scope, beside the handles' own declarations, where the lookup of the
// call below finds it; in an unnamed namespace it is not found.
template <typename Handle>
auto Win32Native(Handle handle)
{
    return reinterpret_cast<decltype(Win32NativeOf(handle))>(handle);
}

// The native calls' results go on as the seam's int results, unchanged.
inline int Win32Result(HRESULT result)
{
    return static_cast<int>(result);
}

// Releases the object behind a handle the seam handed out: the count left, or
// `none` when there is no object.
template <typename Handle>
int Win32Release(Handle handle, int none = 0)
{
    IUnknown* object = Win32Native(handle);
    return object == nullptr ? none : static_cast<int>(object->Release());
}

// Remembers the reason for a failure, for PlatLastError(): `what`, followed by
// the system's text for `code` when it is non-zero.
void Win32SetLastError(const char* what, DWORD code);

// A UTF-8 name as UTF-16 and back; false (and nothing usable) for bytes or
// units that spell no character.
bool Win32Wide(const std::string& utf8, std::wstring* wide);
bool Win32Utf8(const std::wstring& wide, std::string* utf8);
// The name to hand to a file call: as it is when short, else whole and with
// the "\\?\" prefix that lifts the MAX_PATH limit.
std::wstring Win32ForCalls(const std::wstring& path);
// The executable's full name, however long; empty when it cannot be had.
std::wstring Win32ModulePath();

// A picture or sound that could not be read: one line on stderr at once, and
// a message box naming every such file when the main loop next looks for
// messages; each file is told once a run.
void Win32NoteUnreadable(const char* gamePath, const std::wstring& nativePath, DWORD code);
void Win32TellUnreadable();
// The backend's own checks open missing files on purpose: no message box then.
void Win32QuietUnreadable();

// The tick counter, as the game reads it; the last reading is remembered as
// the start of the frame being built.
uint32_t Win32ReadTicks();
// Sleeps until this many milliseconds have passed since the game last read
// the tick counter (win32_pace.cpp).
void Win32SleepOutFrame(uint32_t milliseconds);
