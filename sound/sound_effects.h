// Sound effects: short WAV sounds loaded whole into static buffers of the
// sound device, held in a table of 256 numbered slots and played by slot number.
#pragma once

#include "platform/audio.h"

#include <cstdint>

constexpr int SOUND_SLOT_COUNT = 256;
constexpr int SOUND_NONE = -1;

// The flags the game loads its sounds with: frequency, pan and volume control.
constexpr uint32_t SOUND_LOAD_FLAGS = PLAT_SOUND_BUFFER_CTRL_FREQUENCY |
                                      PLAT_SOUND_BUFFER_CTRL_PAN | PLAT_SOUND_BUFFER_CTRL_VOLUME;
// Every buffer is static and mixed in software.
constexpr uint32_t SOUND_BUFFER_FLAGS = PLAT_SOUND_BUFFER_STATIC | PLAT_SOUND_BUFFER_LOC_SOFTWARE;
constexpr uint32_t SOUND_BUFFER_DESC_SIZE = 36;

// Whatever the file declares, its bytes are played as this format.
constexpr uint32_t SOUND_SAMPLE_RATE = 11025;

// Sample data larger than this is refused: the game's sounds are a few
// kilobytes, and a size field is not a reason to allocate gigabytes.
constexpr uint32_t SOUND_MAX_DATA_BYTES = 16u * 1024u * 1024u;

// free: inUse 0, no buffer; claimed: inUse 1, no buffer; loaded: inUse 1 and a
// buffer. Only SoundOpen frees a slot again.
struct SoundSlot {
    PlatSoundBuffer buffer;
    int32_t inUse;
    uint32_t sampleRate; // as the file declares it; kept, never used
    uint32_t byteLength;
    int32_t index;
};

extern PlatSoundDevice g_soundDevice;
extern int32_t g_soundFirstOpen;
extern SoundSlot g_soundSlots[SOUND_SLOT_COUNT];
extern int32_t g_sndClick;
extern int32_t g_sndBang;
extern int32_t g_sndWellDone;

// The device is created by the first call only; every call frees all slots.
// 1 on success, 0 on failure.
int SoundOpen();
// The sound id (slot number) or -1.
int SoundLoadWav(const char* path, uint32_t controlFlags);
// Starts the sound from its beginning and returns at once. An id without a
// buffer plays nothing and gives 1; an id outside the table gives 0.
int SoundPlay(int id, uint32_t playFlags);
int SoundStopAll();
// Releases every buffer; the slots stay claimed.
int SoundDeleteAll();
int SoundClose();
// The table and device as at program start; buffers are dropped, not released.
void SoundEffectsReset();
