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

// A call on a live object that does nothing but may be made to fail.
template <typename T>
int LiveCall(const T* object, const char* name)
{
    assert(object != nullptr && !object->released);
    int result = 0;
    return FakeCall(name, &result) ? result : 0;
}

template <typename T>
void Release(T* object, const char* name)
{
    assert(object != nullptr && !object->released);
    FakeNote(name);
    object->released = true;
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
    return LiveCall(performance, "MusicPerformanceAddPort");
}

int PlatMusicPerformanceStop(PlatMusicPerformance performance, PlatMusicSegment,
                             PlatMusicSegmentState, int32_t, uint32_t)
{
    return LiveCall(performance, "MusicPerformanceStop");
}

int PlatMusicPerformanceCloseDown(PlatMusicPerformance performance)
{
    return LiveCall(performance, "MusicPerformanceCloseDown");
}

void PlatMusicPerformanceRelease(PlatMusicPerformance performance)
{
    Release(performance, "MusicPerformanceRelease");
}

void PlatMusicLoaderRelease(PlatMusicLoader loader)
{
    Release(loader, "MusicLoaderRelease");
}

int PlatMusicSegmentSetParam(PlatMusicSegment segment, PlatMusicParam, uint32_t, uint32_t, int32_t,
                             PlatMusicPerformance)
{
    return LiveCall(segment, "MusicSegmentSetParam");
}

void PlatMusicSegmentRelease(PlatMusicSegment segment)
{
    Release(segment, "MusicSegmentRelease");
}
