// Test controls of the fake sound device. Buffers hold their bytes; a buffer
// counts its plays and is "playing" from Play until Stop (or until a test
// lets the sounds finish). Calls are logged, and can be made to fail, as
// "SoundDeviceCreate", "SoundSetCooperativeLevel", "SoundCreateBuffer",
// "SoundBufferLock", "SoundBufferUnlock", "SoundBufferSetCurrentPosition",
// "SoundBufferPlay", "SoundBufferStop"; releases are logged as
// "SoundBufferRelease" and "SoundDeviceRelease". A create call made to give a
// non-negative result still makes its object.
#pragma once

#include "platform/audio.h"

#include <cstdint>
#include <vector>

struct FakeSoundBufferInfo {
    uint32_t flags = 0;
    PlatWaveFormat format{};
    std::vector<uint8_t> bytes;
    uint32_t position = 0;
    int playCount = 0;
    int stopCount = 0;
    bool playing = false;
    bool looping = false;
    bool released = false;
};

// What became of a buffer, also after it was released. Null for a handle the
// fake never gave out.
const FakeSoundBufferInfo* FakeAudioBuffer(PlatSoundBuffer buffer);
// Plays of that buffer so far (0 for null).
int FakeAudioPlayCount(PlatSoundBuffer buffer);
// Every play of every buffer.
int FakeAudioTotalPlays();
// Devices created so far, and buffers created and not yet released.
int FakeAudioDevicesCreated();
int FakeAudioLiveDevices();
int FakeAudioLiveBuffers();
// Buffers created from now on have their write cursor here, so that a lock of
// the whole buffer wraps and gives two regions.
void FakeAudioSetWriteCursor(uint32_t offset);
// Every sound played once comes to its end.
void FakeAudioFinishPlaying();
