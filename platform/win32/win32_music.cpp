// The music seam on the component system and the native music performance.
// Nothing is ever played; the game only sets the performance up and tears it
// down, and where the system has no performance the set-up just fails.
#include "platform/music.h"
#include "platform/win32/win32_internal.h"

#include <objbase.h>
#include <dmusici.h>

namespace {

IDirectMusicPerformance* Native(PlatMusicPerformance performance)
{
    return reinterpret_cast<IDirectMusicPerformance*>(performance);
}

IDirectMusicLoader* Native(PlatMusicLoader loader)
{
    return reinterpret_cast<IDirectMusicLoader*>(loader);
}

IDirectMusicSegment* Native(PlatMusicSegment segment)
{
    return reinterpret_cast<IDirectMusicSegment*>(segment);
}

IDirectMusicSegmentState* Native(PlatMusicSegmentState state)
{
    return reinterpret_cast<IDirectMusicSegmentState*>(state);
}

// E_POINTER: a call on an object the game never got.
constexpr int NO_OBJECT = static_cast<int>(0x80004003u);

} // namespace

int PlatComInitialize()
{
    return Win32Result(CoInitialize(nullptr));
}

void PlatComUninitialize()
{
    CoUninitialize();
}

int PlatMusicCreatePerformance(uint32_t classContext, PlatMusicPerformance* performance)
{
    void* created = nullptr;
    HRESULT result = CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, classContext,
                                      IID_IDirectMusicPerformance, &created);
    *performance = FAILED(result) ? nullptr : static_cast<PlatMusicPerformance>(created);
    return Win32Result(result);
}

int PlatMusicCreateLoader(uint32_t classContext, PlatMusicLoader* loader)
{
    void* created = nullptr;
    HRESULT result = CoCreateInstance(CLSID_DirectMusicLoader, nullptr, classContext,
                                      IID_IDirectMusicLoader, &created);
    *loader = FAILED(result) ? nullptr : static_cast<PlatMusicLoader>(created);
    return Win32Result(result);
}

int PlatMusicPerformanceInit(PlatMusicPerformance performance, PlatSoundDevice device,
                             PlatWindow window)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(
        Native(performance)
            ->Init(nullptr, reinterpret_cast<IDirectSound*>(device), Win32Window(window)));
}

int PlatMusicPerformanceAddPort(PlatMusicPerformance performance)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(Native(performance)->AddPort(nullptr));
}

int PlatMusicPerformanceStop(PlatMusicPerformance performance, PlatMusicSegment segment,
                             PlatMusicSegmentState state, int32_t time, uint32_t flags)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(Native(performance)->Stop(Native(segment), Native(state), time, flags));
}

int PlatMusicPerformanceCloseDown(PlatMusicPerformance performance)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(Native(performance)->CloseDown());
}

void PlatMusicPerformanceRelease(PlatMusicPerformance performance)
{
    Win32Release(Native(performance));
}

void PlatMusicLoaderRelease(PlatMusicLoader loader)
{
    Win32Release(Native(loader));
}

int PlatMusicSegmentSetParam(PlatMusicSegment segment, PlatMusicParam param, uint32_t groupBits,
                             uint32_t index, int32_t time, PlatMusicPerformance performance)
{
    if (segment == nullptr) {
        return NO_OBJECT;
    }
    // Unload is the one parameter the game sets.
    const GUID& which = GUID_Unload;
    static_cast<void>(param);
    return Win32Result(
        Native(segment)->SetParam(which, groupBits, index, time, Native(performance)));
}

void PlatMusicSegmentRelease(PlatMusicSegment segment)
{
    Win32Release(Native(segment));
}
