#include "screens/frame_clock.h"

#include "platform/system.h"

uint32_t g_frameStartTick = 0;

void FrameClockReset()
{
    g_frameStartTick = 0;
}

uint32_t FrameClockStart()
{
    g_frameStartTick = PlatGetTickCount();
    return g_frameStartTick;
}

void FrameClockWait(uint32_t milliseconds)
{
    // A spin, not a sleep: the frame must not give its time slice away. The
    // unsigned difference stays right when the counter wraps mid-frame.
    while (PlatGetTickCount() - g_frameStartTick < milliseconds) {}
}
