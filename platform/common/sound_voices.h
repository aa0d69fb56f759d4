// The sound buffers of the backends that give every buffer a voice of its own
// and keep its bytes in memory (SDL, the web page): what each buffer keeps,
// and the checks the sound calls make of it.
#pragma once

#include "platform/audio.h"

#include <cstdint>
#include <vector>

// What every buffer of these backends keeps; their PlatSoundBufferTag
// derives from it.
struct SoundVoice {
    PlatSoundDevice device = nullptr; // null once the device is gone
    std::vector<uint8_t> samples;     // what the voice plays
    uint32_t position = 0;            // where the next play starts
    bool locked = false;
};

// Not null, and its device not gone.
bool VoiceUsable(const SoundVoice* voice);
// Defined by the backend: a new buffer of `bytes` samples of silence on
// `device`, listed among its voices (PlatSoundCreateBuffer has checked both).
PlatSoundBuffer VoiceNew(PlatSoundDevice device, uint32_t bytes);
// Fills `bytes` with silence: 8-bit unsigned samples at their middle value.
void VoiceSilence(std::vector<uint8_t>* bytes, uint32_t count);
// Locks `count` of `bytes` (the voice's, or what stands in for them until the
// unlock) from `offset`, or from `playPosition` when the flags ask for the
// write cursor. Refused for an unusable or already locked voice.
int VoiceLock(SoundVoice* voice, std::vector<uint8_t>* bytes, uint32_t playPosition,
              uint32_t offset, uint32_t count, void** region1, uint32_t* length1, void** region2,
              uint32_t* length2, uint32_t flags);
// Releases the lock; false (nothing done) for an unusable or unlocked voice.
bool VoiceUnlock(SoundVoice* voice);
// The voice is usable and `position` lies within its samples.
bool VoicePositionFits(const SoundVoice* voice, uint32_t position);

// A released device's buffers stay valid handles, but can no longer play.
template <typename Voice>
void VoicesOrphan(const std::vector<Voice*>& voices)
{
    for (Voice* voice : voices) {
        voice->device = nullptr;
    }
}
