#include "platform/common/ring_lock.h"
#include "platform/fake/fake_audio.h"

#include "platform/fake/fake_core.h"

#include <cassert>
#include <memory>

struct PlatSoundDeviceTag {
    bool released = false;
};

struct PlatSoundBufferTag {
    FakeSoundBufferInfo info;
    uint32_t writeCursor = 0;
    bool locked = false;
};

namespace {

std::vector<std::unique_ptr<PlatSoundDeviceTag>> s_devices;
std::vector<std::unique_ptr<PlatSoundBufferTag>> s_buffers;
uint32_t s_writeCursor = 0;
int s_totalPlays = 0;

void CheckLive(PlatSoundBuffer buffer)
{
    assert(buffer != nullptr && !buffer->info.released);
    (void)buffer;
}

bool Known(PlatSoundBuffer buffer)
{
    for (const auto& owned : s_buffers) {
        if (owned.get() == buffer) {
            return true;
        }
    }
    return false;
}

} // namespace

void FakeAudioReset()
{
    s_devices.clear();
    s_buffers.clear();
    s_writeCursor = 0;
    s_totalPlays = 0;
}

const FakeSoundBufferInfo* FakeAudioBuffer(PlatSoundBuffer buffer)
{
    return Known(buffer) ? &buffer->info : nullptr;
}

int FakeAudioPlayCount(PlatSoundBuffer buffer)
{
    return Known(buffer) ? buffer->info.playCount : 0;
}

int FakeAudioTotalPlays()
{
    return s_totalPlays;
}
int FakeAudioDevicesCreated()
{
    return static_cast<int>(s_devices.size());
}

int FakeAudioLiveDevices()
{
    int live = 0;
    for (const auto& device : s_devices) {
        live += device->released ? 0 : 1;
    }
    return live;
}

int FakeAudioLiveBuffers()
{
    int live = 0;
    for (const auto& buffer : s_buffers) {
        live += buffer->info.released ? 0 : 1;
    }
    return live;
}

void FakeAudioSetWriteCursor(uint32_t offset)
{
    s_writeCursor = offset;
}

void FakeAudioFinishPlaying()
{
    for (const auto& buffer : s_buffers) {
        if (!buffer->info.looping) {
            buffer->info.playing = false;
        }
    }
}

int PlatSoundDeviceCreate(PlatSoundDevice* device)
{
    return FakeCreate("SoundDeviceCreate", s_devices, device);
}

int PlatSoundSetCooperativeLevel(PlatSoundDevice device, PlatWindow, uint32_t)
{
    assert(device != nullptr && !device->released);
    int result = 0;
    return FakeCall("SoundSetCooperativeLevel", &result) ? result : PLAT_SOUND_OK;
}

int PlatSoundCreateBuffer(PlatSoundDevice device, const PlatSoundBufferDesc& desc,
                          PlatSoundBuffer* buffer)
{
    assert(device != nullptr && !device->released);
    int result = 0;
    *buffer = nullptr;
    if (FakeCall("SoundCreateBuffer", &result) && result < 0) {
        return result;
    }
    if (desc.format == nullptr || desc.bufferBytes < PLAT_SOUND_BUFFER_MIN_BYTES ||
        desc.bufferBytes > PLAT_SOUND_BUFFER_MAX_BYTES) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    auto made = std::make_unique<PlatSoundBufferTag>();
    made->info.flags = desc.flags;
    made->info.format = *desc.format;
    made->info.bytes.assign(desc.bufferBytes, 0);
    made->writeCursor = desc.bufferBytes == 0 ? 0 : s_writeCursor % desc.bufferBytes;
    s_buffers.push_back(std::move(made));
    *buffer = s_buffers.back().get();
    return result;
}

int PlatSoundBufferLock(PlatSoundBuffer buffer, uint32_t offset, uint32_t bytes, void** region1,
                        uint32_t* length1, void** region2, uint32_t* length2, uint32_t flags)
{
    CheckLive(buffer);
    int result = 0;
    *region1 = *region2 = nullptr;
    *length1 = *length2 = 0;
    if (FakeCall("SoundBufferLock", &result)) {
        return result;
    }
    auto size = static_cast<uint32_t>(buffer->info.bytes.size());
    uint32_t start = (flags & PLAT_SOUND_LOCK_FROM_WRITE_CURSOR) != 0 ? buffer->writeCursor
                                                                      : offset;
    if (buffer->locked) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    result = LockRingRegions(buffer->info.bytes.data(), size, start, bytes, region1, length1,
                             region2, length2);
    buffer->locked = result == PLAT_SOUND_OK;
    return result;
}

int PlatSoundBufferUnlock(PlatSoundBuffer buffer, void*, uint32_t, void*, uint32_t)
{
    CheckLive(buffer);
    int result = 0;
    if (FakeCall("SoundBufferUnlock", &result)) {
        return result;
    }
    if (!buffer->locked) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    buffer->locked = false;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferSetCurrentPosition(PlatSoundBuffer buffer, uint32_t position)
{
    CheckLive(buffer);
    int result = 0;
    if (FakeCall("SoundBufferSetCurrentPosition", &result)) {
        return result;
    }
    if (position > buffer->info.bytes.size()) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    buffer->info.position = position;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferPlay(PlatSoundBuffer buffer, uint32_t, uint32_t, uint32_t flags)
{
    CheckLive(buffer);
    int result = 0;
    if (FakeCall("SoundBufferPlay", &result)) {
        return result;
    }
    buffer->info.playing = true;
    buffer->info.looping = (flags & PLAT_SOUND_PLAY_LOOPING) != 0;
    ++buffer->info.playCount;
    ++s_totalPlays;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferStop(PlatSoundBuffer buffer)
{
    CheckLive(buffer);
    int result = 0;
    if (FakeCall("SoundBufferStop", &result)) {
        return result;
    }
    buffer->info.playing = false;
    ++buffer->info.stopCount;
    return PLAT_SOUND_OK;
}

void PlatSoundBufferRelease(PlatSoundBuffer buffer)
{
    CheckLive(buffer);
    FakeNote("SoundBufferRelease");
    buffer->info.released = true;
    buffer->info.playing = false;
}

void PlatSoundDeviceRelease(PlatSoundDevice device)
{
    assert(device != nullptr && !device->released);
    FakeNote("SoundDeviceRelease");
    device->released = true;
}
