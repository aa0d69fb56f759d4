// The pace of a frame on Windows. The game waits until 10 ms have passed
// since its frame began by reading the tick counter again and again; a flip
// that waits for the display's refresh spends that time asleep on a 60 Hz
// display, but above 100 Hz it returns early and the rest would be spun. The
// flip then sleeps out the rest itself, as finely as Windows lets a program
// sleep: a high-resolution waitable timer (Windows 10 1803 and later), else
// Sleep with the system timer set to 1 ms.
#include "platform/win32/win32_internal.h"

#include <mmsystem.h>

namespace {

// Not in every SDK's headers.
constexpr DWORD HIGH_RESOLUTION_TIMER = 0x00000002;

uint32_t s_lastTick = 0;
HANDLE s_timer = nullptr;
bool s_timerAsked = false;

HANDLE FineTimer()
{
    if (!s_timerAsked) {
        s_timerAsked = true;
        s_timer = CreateWaitableTimerExW(nullptr, nullptr, HIGH_RESOLUTION_TIMER, TIMER_ALL_ACCESS);
        if (s_timer == nullptr) {
            // Stays in effect until the game ends, when Windows resets it.
            timeBeginPeriod(1);
        }
    }
    return s_timer;
}

void SleepMs(uint32_t milliseconds)
{
    HANDLE timer = FineTimer();
    if (timer != nullptr) {
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(milliseconds) * 10000; // relative, in 100 ns
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE) != 0 &&
            WaitForSingleObject(timer, INFINITE) == WAIT_OBJECT_0) {
            return;
        }
    }
    Sleep(milliseconds);
}

} // namespace

uint32_t Win32ReadTicks()
{
    s_lastTick = GetTickCount();
    return s_lastTick;
}

void Win32SleepOutFrame(uint32_t milliseconds)
{
    // The counter may step in 10 to 16 ms; each pass sleeps at least 1 ms,
    // and the loop ends when the game's own wait would have.
    for (;;) {
        const uint32_t elapsed = GetTickCount() - s_lastTick;
        if (elapsed >= milliseconds) {
            return;
        }
        SleepMs(milliseconds - elapsed);
    }
}
