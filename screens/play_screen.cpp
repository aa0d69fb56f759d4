#include "screens/play_screen.h"

#include "app/frame_clock.h"

bool g_fieldWon = false;

int PlayFrame()
{
    FrameClockStart();
    FrameClockWait(10);
    return 1;
}

void LoadFieldGraphics() {}
