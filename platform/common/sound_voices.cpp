#include "platform/common/sound_voices.h"

#include "platform/common/ring_lock.h"

int PlatSoundSetCooperativeLevel(PlatSoundDevice device, PlatWindow, uint32_t)
{
    return device != nullptr ? PLAT_SOUND_OK : PLAT_SOUND_ERR_INVALID_PARAM;
}

bool VoiceUsable(const SoundVoice* voice)
{
    return voice != nullptr && voice->device != nullptr;
}

int PlatSoundCreateBuffer(PlatSoundDevice device, const PlatSoundBufferDesc& desc,
                          PlatSoundBuffer* buffer)
{
    *buffer = nullptr;
    if (device == nullptr || desc.format == nullptr ||
        desc.bufferBytes < PLAT_SOUND_BUFFER_MIN_BYTES ||
        desc.bufferBytes > PLAT_SOUND_BUFFER_MAX_BYTES) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    *buffer = VoiceNew(device, desc.bufferBytes);
    return PLAT_SOUND_OK;
}

void VoiceSilence(std::vector<uint8_t>* bytes, uint32_t count)
{
    bytes->assign(count, 0x80);
}

int VoiceLock(SoundVoice* voice, std::vector<uint8_t>* bytes, uint32_t playPosition,
              uint32_t offset, uint32_t count, void** region1, uint32_t* length1, void** region2,
              uint32_t* length2, uint32_t flags)
{
    *region1 = *region2 = nullptr;
    *length1 = *length2 = 0;
    if (!VoiceUsable(voice) || voice->locked) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    auto size = static_cast<uint32_t>(bytes->size());
    uint32_t start = offset;
    if ((flags & PLAT_SOUND_LOCK_FROM_WRITE_CURSOR) != 0) {
        start = playPosition < size ? playPosition : 0;
    }
    int result = LockRingRegions(bytes->data(), size, start, count, region1, length1, region2,
                                 length2);
    voice->locked = result == PLAT_SOUND_OK;
    return result;
}

bool VoiceUnlock(SoundVoice* voice)
{
    if (!VoiceUsable(voice) || !voice->locked) {
        return false;
    }
    voice->locked = false;
    return true;
}

bool VoicePositionFits(const SoundVoice* voice, uint32_t position)
{
    return VoiceUsable(voice) && position <= voice->samples.size();
}
