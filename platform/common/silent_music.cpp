// The music performance of the SDL and web backends: the game sets one up and
// never plays through it, so every object here is an empty token and every
// step succeeds. Built into those backends only; the fake records its own.
#include "platform/music.h"

struct PlatMusicPerformanceTag {
    int unused;
};

struct PlatMusicLoaderTag {
    int unused;
};

struct PlatMusicSegmentTag {
    int unused;
};

int PlatComInitialize()
{
    return 0;
}

void PlatComUninitialize() {}

int PlatMusicCreatePerformance(uint32_t, PlatMusicPerformance* performance)
{
    *performance = new PlatMusicPerformanceTag{};
    return 0;
}

int PlatMusicCreateLoader(uint32_t, PlatMusicLoader* loader)
{
    *loader = new PlatMusicLoaderTag{};
    return 0;
}

int PlatMusicPerformanceInit(PlatMusicPerformance, PlatSoundDevice, PlatWindow)
{
    return 0;
}

int PlatMusicPerformanceAddPort(PlatMusicPerformance)
{
    return 0;
}

int PlatMusicPerformanceStop(PlatMusicPerformance, PlatMusicSegment, PlatMusicSegmentState, int32_t,
                             uint32_t)
{
    return 0;
}

int PlatMusicPerformanceCloseDown(PlatMusicPerformance)
{
    return 0;
}

void PlatMusicPerformanceRelease(PlatMusicPerformance performance)
{
    delete performance;
}

void PlatMusicLoaderRelease(PlatMusicLoader loader)
{
    delete loader;
}

int PlatMusicSegmentSetParam(PlatMusicSegment, PlatMusicParam, uint32_t, uint32_t, int32_t,
                             PlatMusicPerformance)
{
    return 0;
}

void PlatMusicSegmentRelease(PlatMusicSegment segment)
{
    delete segment;
}
