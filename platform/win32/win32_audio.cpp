// The sound seam on the native sound device and its secondary buffers.
#include "platform/audio.h"
#include "platform/win32/win32_internal.h"

#include <mmsystem.h>
#include <dsound.h>

// What each handle of this family stands for (see Win32Native).
IDirectSound* Win32NativeOf(PlatSoundDevice);
IDirectSoundBuffer* Win32NativeOf(PlatSoundBuffer);

namespace {

WAVEFORMATEX NativeFormat(const PlatWaveFormat& format)
{
    WAVEFORMATEX native{};
    native.wFormatTag = format.formatTag;
    native.nChannels = format.channels;
    native.nSamplesPerSec = format.samplesPerSecond;
    native.nAvgBytesPerSec = format.averageBytesPerSecond;
    native.nBlockAlign = format.blockAlign;
    native.wBitsPerSample = format.bitsPerSample;
    native.cbSize = format.extraSize;
    return native;
}

} // namespace

int PlatSoundDeviceCreate(PlatSoundDevice* device)
{
    IDirectSound* created = nullptr;
    HRESULT result = DirectSoundCreate(nullptr, &created, nullptr);
    *device = FAILED(result) ? nullptr : reinterpret_cast<PlatSoundDevice>(created);
    return Win32Result(result);
}

int PlatSoundSetCooperativeLevel(PlatSoundDevice device, PlatWindow window, uint32_t level)
{
    if (device == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(device)->SetCooperativeLevel(Win32Window(window), level));
}

int PlatSoundCreateBuffer(PlatSoundDevice device, const PlatSoundBufferDesc& desc,
                          PlatSoundBuffer* buffer)
{
    *buffer = nullptr;
    if (device == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    // The record's size field is the native one's, which is larger on 64-bit builds.
    WAVEFORMATEX format{};
    DSBUFFERDESC native{};
    native.dwSize = sizeof native;
    native.dwFlags = desc.flags;
    native.dwBufferBytes = desc.bufferBytes;
    native.dwReserved = desc.reserved;
    if (desc.format != nullptr) {
        format = NativeFormat(*desc.format);
        native.lpwfxFormat = &format;
    }
    IDirectSoundBuffer* created = nullptr;
    HRESULT result = Win32Native(device)->CreateSoundBuffer(&native, &created, nullptr);
    if (!FAILED(result)) {
        *buffer = reinterpret_cast<PlatSoundBuffer>(created);
    }
    return Win32Result(result);
}

int PlatSoundBufferLock(PlatSoundBuffer buffer, uint32_t offset, uint32_t bytes, void** region1,
                        uint32_t* length1, void** region2, uint32_t* length2, uint32_t flags)
{
    if (buffer == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    DWORD first = 0;
    DWORD second = 0;
    void* secondRegion = nullptr;
    HRESULT result = Win32Native(buffer)->Lock(offset, bytes, region1, &first, &secondRegion,
                                               &second, flags);
    *length1 = first;
    *region2 = secondRegion;
    *length2 = secondRegion != nullptr ? second : 0;
    return Win32Result(result);
}

int PlatSoundBufferUnlock(PlatSoundBuffer buffer, void* region1, uint32_t length1, void* region2,
                          uint32_t length2)
{
    if (buffer == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(buffer)->Unlock(region1, length1, region2, length2));
}

int PlatSoundBufferSetCurrentPosition(PlatSoundBuffer buffer, uint32_t position)
{
    if (buffer == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(buffer)->SetCurrentPosition(position));
}

int PlatSoundBufferPlay(PlatSoundBuffer buffer, uint32_t reserved, uint32_t priority,
                        uint32_t flags)
{
    if (buffer == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(buffer)->Play(reserved, priority, flags));
}

int PlatSoundBufferStop(PlatSoundBuffer buffer)
{
    if (buffer == nullptr) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    return Win32Result(Win32Native(buffer)->Stop());
}

void PlatSoundBufferRelease(PlatSoundBuffer buffer)
{
    Win32Release(buffer);
}

void PlatSoundDeviceRelease(PlatSoundDevice device)
{
    Win32Release(device);
}
