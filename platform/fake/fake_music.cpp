#include "platform/fake/fake_music.h"

#include "platform/fake/fake_core.h"

#include <cassert>
#include <memory>
#include <vector>

struct PlatMusicPerformanceTag {
    bool initialised = false;
    bool released = false;
};

struct PlatMusicLoaderTag {
    bool released = false;
};

struct PlatMusicSegmentTag {
    bool released = false;
};

namespace {

std::vector<std::unique_ptr<PlatMusicPerformanceTag>> s_performances;
std::vector<std::unique_ptr<PlatMusicLoaderTag>> s_loaders;
std::vector<std::unique_ptr<PlatMusicSegmentTag>> s_segments;
int s_comDepth = 0;

template <typename T>
int CountLive(const std::vector<std::unique_ptr<T>>& objects)
{
    int live = 0;
    for (const auto& object : objects) {
        live += object->released ? 0 : 1;
    }
    return live;
}

} // namespace

void FakeMusicReset()
{
    s_performances.clear();
    s_loaders.clear();
    s_segments.clear();
    s_comDepth = 0;
}

PlatMusicSegment FakeMusicMakeSegment()
{
    s_segments.push_back(std::make_unique<PlatMusicSegmentTag>());
    return s_segments.back().get();
}

int FakeMusicLiveObjects()
{
    return CountLive(s_performances) + CountLive(s_loaders) + CountLive(s_segments);
}

int FakeMusicComDepth()
{
    return s_comDepth;
}

int PlatComInitialize()
{
    int result = 0;
    if (FakeCall("ComInitialize", &result)) {
        return result;
    }
    // A second initialisation succeeds with "already done" and must be balanced too.
    return s_comDepth++ == 0 ? 0 : 1;
}

void PlatComUninitialize()
{
    FakeNote("ComUninitialize");
    --s_comDepth;
}

int PlatMusicCreatePerformance(uint32_t, PlatMusicPerformance* performance)
{
    return FakeCreate("MusicCreatePerformance", s_performances, performance);
}

int PlatMusicCreateLoader(uint32_t, PlatMusicLoader* loader)
{
    return FakeCreate("MusicCreateLoader", s_loaders, loader);
}

int PlatMusicPerformanceInit(PlatMusicPerformance performance, PlatSoundDevice, PlatWindow)
{
    assert(performance != nullptr && !performance->released);
    int result = 0;
    if (FakeCall("MusicPerformanceInit", &result)) {
        return result;
    }
    performance->initialised = true;
    return 0;
}

int PlatMusicPerformanceAddPort(PlatMusicPerformance performance)
{
    assert(performance != nullptr && !performance->released);
    int result = 0;
    return FakeCall("MusicPerformanceAddPort", &result) ? result : 0;
}

int PlatMusicPerformanceStop(PlatMusicPerformance performance, PlatMusicSegment,
                             PlatMusicSegmentState, int32_t, uint32_t)
{
    assert(performance != nullptr && !performance->released);
    int result = 0;
    return FakeCall("MusicPerformanceStop", &result) ? result : 0;
}

int PlatMusicPerformanceCloseDown(PlatMusicPerformance performance)
{
    assert(performance != nullptr && !performance->released);
    int result = 0;
    return FakeCall("MusicPerformanceCloseDown", &result) ? result : 0;
}

void PlatMusicPerformanceRelease(PlatMusicPerformance performance)
{
    assert(performance != nullptr && !performance->released);
    FakeNote("MusicPerformanceRelease");
    performance->released = true;
}

void PlatMusicLoaderRelease(PlatMusicLoader loader)
{
    assert(loader != nullptr && !loader->released);
    FakeNote("MusicLoaderRelease");
    loader->released = true;
}

int PlatMusicSegmentSetParam(PlatMusicSegment segment, PlatMusicParam, uint32_t, uint32_t, int32_t,
                             PlatMusicPerformance)
{
    assert(segment != nullptr && !segment->released);
    int result = 0;
    return FakeCall("MusicSegmentSetParam", &result) ? result : 0;
}

void PlatMusicSegmentRelease(PlatMusicSegment segment)
{
    assert(segment != nullptr && !segment->released);
    FakeNote("MusicSegmentRelease");
    segment->released = true;
}
