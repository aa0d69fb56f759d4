// The music seam on the component system and the native music performance.
// Nothing is ever played; the game only sets the performance up and tears it
// down, and where the system has no performance the set-up just fails.
#include "platform/music.h"
#include "platform/win32/win32_internal.h"

#include <objbase.h>
#include <dmusici.h>

// What each handle of this family stands for (see Win32Native).
IDirectMusicPerformance* Win32NativeOf(PlatMusicPerformance);
IDirectMusicLoader* Win32NativeOf(PlatMusicLoader);
IDirectMusicSegment* Win32NativeOf(PlatMusicSegment);
IDirectMusicSegmentState* Win32NativeOf(PlatMusicSegmentState);
// The sound device a performance plays through, as win32_audio.cpp has it.
IDirectSound* Win32NativeOf(PlatSoundDevice);

namespace {

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
        Win32Native(performance)->Init(nullptr, Win32Native(device), Win32Window(window)));
}

int PlatMusicPerformanceAddPort(PlatMusicPerformance performance)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(Win32Native(performance)->AddPort(nullptr));
}

int PlatMusicPerformanceStop(PlatMusicPerformance performance, PlatMusicSegment segment,
                             PlatMusicSegmentState state, int32_t time, uint32_t flags)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(
        Win32Native(performance)->Stop(Win32Native(segment), Win32Native(state), time, flags));
}

int PlatMusicPerformanceCloseDown(PlatMusicPerformance performance)
{
    if (performance == nullptr) {
        return NO_OBJECT;
    }
    return Win32Result(Win32Native(performance)->CloseDown());
}

void PlatMusicPerformanceRelease(PlatMusicPerformance performance)
{
    Win32Release(performance);
}

void PlatMusicLoaderRelease(PlatMusicLoader loader)
{
    Win32Release(loader);
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
        Win32Native(segment)->SetParam(which, groupBits, index, time, Win32Native(performance)));
}

void PlatMusicSegmentRelease(PlatMusicSegment segment)
{
    Win32Release(segment);
}
