// The sound seam: one sound device and its static buffers. Results are the
// native codes: negative is failure, anything else success.
#pragma once

#include "platform/system.h"

#include <cstdint>

struct PlatSoundDeviceTag;
struct PlatSoundBufferTag;
using PlatSoundDevice = PlatSoundDeviceTag*;
using PlatSoundBuffer = PlatSoundBufferTag*;

constexpr uint32_t PLAT_SOUND_COOP_NORMAL = 1;

// Buffer capability flags.
constexpr uint32_t PLAT_SOUND_BUFFER_STATIC = 0x2;
constexpr uint32_t PLAT_SOUND_BUFFER_LOC_SOFTWARE = 0x8;
constexpr uint32_t PLAT_SOUND_BUFFER_CTRL_FREQUENCY = 0x20;
constexpr uint32_t PLAT_SOUND_BUFFER_CTRL_PAN = 0x40;
constexpr uint32_t PLAT_SOUND_BUFFER_CTRL_VOLUME = 0x80;

constexpr uint32_t PLAT_SOUND_LOCK_FROM_WRITE_CURSOR = 1;
constexpr uint32_t PLAT_SOUND_PLAY_LOOPING = 1;

constexpr int PLAT_SOUND_OK = 0;
constexpr int PLAT_SOUND_ERR_GENERIC = -2147467259;       // 0x80004005
constexpr int PLAT_SOUND_ERR_INVALID_PARAM = -2147024809; // 0x80070057
constexpr int PLAT_SOUND_ERR_NO_DRIVER = -2005401480;     // 0x88780078

constexpr uint16_t PLAT_WAVE_FORMAT_PCM = 1;

// Sizes a buffer may have; creation refuses any other.
constexpr uint32_t PLAT_SOUND_BUFFER_MIN_BYTES = 4;
constexpr uint32_t PLAT_SOUND_BUFFER_MAX_BYTES = 0x0FFFFFFF;

struct PlatWaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint32_t averageBytesPerSecond;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

// The buffer description. `size` carries the value the native record's size
// field expects; fields left 0 select the platform defaults.
struct PlatSoundBufferDesc {
    uint32_t size;
    uint32_t flags;
    uint32_t bufferBytes;
    uint32_t reserved;
    const PlatWaveFormat* format;
};

// The default device.
int PlatSoundDeviceCreate(PlatSoundDevice* device);
int PlatSoundSetCooperativeLevel(PlatSoundDevice device, PlatWindow window, uint32_t level);
int PlatSoundCreateBuffer(PlatSoundDevice device, const PlatSoundBufferDesc& desc,
                          PlatSoundBuffer* buffer);
// Gives one writable region, or two when the span wraps round the buffer's end
// (then *region2 is non-null).
int PlatSoundBufferLock(PlatSoundBuffer buffer, uint32_t offset, uint32_t bytes, void** region1,
                        uint32_t* length1, void** region2, uint32_t* length2, uint32_t flags);
int PlatSoundBufferUnlock(PlatSoundBuffer buffer, void* region1, uint32_t length1, void* region2,
                          uint32_t length2);
int PlatSoundBufferSetCurrentPosition(PlatSoundBuffer buffer, uint32_t position);
// Returns at once; the sound plays on by itself.
int PlatSoundBufferPlay(PlatSoundBuffer buffer, uint32_t reserved, uint32_t priority,
                        uint32_t flags);
int PlatSoundBufferStop(PlatSoundBuffer buffer);
void PlatSoundBufferRelease(PlatSoundBuffer buffer);
void PlatSoundDeviceRelease(PlatSoundDevice device);
