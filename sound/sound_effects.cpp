#include "sound/sound_effects.h"

#include "window/game_window.h"
#include "sound/riff_reader.h"

#include <cstring>
#include <memory>
#include <new>

PlatSoundDevice g_soundDevice = nullptr;
int32_t g_soundFirstOpen = 1;
SoundSlot g_soundSlots[SOUND_SLOT_COUNT] = {};
int32_t g_sndClick = SOUND_NONE;
int32_t g_sndBang = SOUND_NONE;
int32_t g_sndWellDone = SOUND_NONE;

void SoundEffectsReset()
{
    g_soundDevice = nullptr;
    g_soundFirstOpen = 1;
    for (SoundSlot& slot : g_soundSlots) {
        slot = SoundSlot{};
    }
    g_sndClick = SOUND_NONE;
    g_sndBang = SOUND_NONE;
    g_sndWellDone = SOUND_NONE;
}

namespace {

constexpr uint32_t WAVE_FORM = RiffFourCC('W', 'A', 'V', 'E');
constexpr uint32_t FORMAT_CHUNK = RiffFourCC('f', 'm', 't', ' ');
constexpr uint32_t DATA_CHUNK = RiffFourCC('d', 'a', 't', 'a');
// The platform's wave format record, as stored at the start of a format chunk.
constexpr size_t WAVE_FORMAT_RECORD_SIZE = 18;

const PlatWaveFormat BUFFER_FORMAT = {
    PLAT_WAVE_FORMAT_PCM, 1, SOUND_SAMPLE_RATE, SOUND_SAMPLE_RATE, 1, 8, 0};

struct WaveData {
    std::unique_ptr<uint8_t[]> block;
    uint32_t byteLength = 0;
    uint32_t sampleRate = 0;
};

uint32_t ReadLe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

int FindFreeSlot()
{
    for (int id = 0; id < SOUND_SLOT_COUNT; ++id) {
        if (g_soundSlots[id].inUse == 0) {
            return id;
        }
    }
    return SOUND_NONE;
}

// The format chunk, then the data chunk after it. The format record is read
// whole even from a 16-byte chunk: the last two bytes then come from what
// follows, and are not looked at.
bool FindWaveChunks(RiffFile* riff, RiffChunk* data, uint32_t* sampleRate)
{
    RiffChunk form{};
    form.formType = WAVE_FORM;
    if (RiffDescend(riff, &form, nullptr, RIFF_FIND_RIFF) != RIFF_OK) {
        return false;
    }
    RiffChunk format{};
    format.id = FORMAT_CHUNK;
    if (RiffDescend(riff, &format, &form, RIFF_FIND_CHUNK) != RIFF_OK) {
        return false;
    }
    uint8_t record[WAVE_FORMAT_RECORD_SIZE];
    if (RiffRead(riff, record, sizeof(record)) != sizeof(record)) {
        return false;
    }
    uint16_t formatTag = static_cast<uint16_t>(record[0] | record[1] << 8);
    if (formatTag != PLAT_WAVE_FORMAT_PCM) {
        return false;
    }
    *sampleRate = ReadLe32(record + 4);
    if (RiffAscend(riff, format) != RIFF_OK) {
        return false;
    }
    data->id = DATA_CHUNK;
    return RiffDescend(riff, data, &form, RIFF_FIND_CHUNK) == RIFF_OK;
}

// The declared size is checked against what the file can hold before anything
// is allocated, and the read must deliver every byte of it.
bool ReadSampleData(RiffFile* riff, const RiffChunk& data, WaveData* wave)
{
    if (data.size > SOUND_MAX_DATA_BYTES) {
        return false;
    }
    if (riff->fileSize >= 0 && data.size > riff->fileSize - riff->position) {
        return false;
    }
    wave->block.reset(new (std::nothrow) uint8_t[data.size == 0 ? 1 : data.size]);
    if (wave->block == nullptr) {
        return false;
    }
    wave->byteLength = data.size;
    return RiffRead(riff, wave->block.get(), data.size) == data.size;
}

bool ReadWaveFile(const char* path, WaveData* wave)
{
    RiffFile riff;
    if (RiffOpen(&riff, path) != RIFF_OK) {
        return false;
    }
    RiffChunk data{};
    bool ok = FindWaveChunks(&riff, &data, &wave->sampleRate) && ReadSampleData(&riff, data, wave);
    RiffClose(&riff);
    return ok;
}

// Copies the block into the buffer through the one or two regions the lock gives.
bool FillBuffer(PlatSoundBuffer buffer, const WaveData& wave)
{
    void* region1 = nullptr;
    void* region2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    if (PlatSoundBufferLock(buffer, 0, wave.byteLength, &region1, &length1, &region2, &length2,
                            PLAT_SOUND_LOCK_FROM_WRITE_CURSOR) < 0) {
        return false;
    }
    // The platform never hands out more than was asked; guard the copy anyway.
    if (length1 > wave.byteLength) {
        length1 = wave.byteLength;
    }
    if (length2 > wave.byteLength - length1) {
        length2 = wave.byteLength - length1;
    }
    if (region1 != nullptr && length1 > 0) {
        std::memcpy(region1, wave.block.get(), length1);
    }
    if (region2 != nullptr && length2 > 0) {
        std::memcpy(region2, wave.block.get() + length1, length2);
    }
    return PlatSoundBufferUnlock(buffer, region1, length1, region2, length2) >= 0;
}

void StopAndRewind(SoundSlot& slot)
{
    PlatSoundBufferStop(slot.buffer);
    PlatSoundBufferSetCurrentPosition(slot.buffer, 0);
}

} // namespace

int SoundOpen()
{
    if (g_soundFirstOpen != 0) {
        std::memset(g_soundSlots, 0, sizeof(g_soundSlots));
        g_soundFirstOpen = 0;
        if (PlatSoundDeviceCreate(&g_soundDevice) < 0) {
            g_soundDevice = nullptr;
            return 0;
        }
        // A device whose level cannot be set stays held; SoundClose releases it.
        if (PlatSoundSetCooperativeLevel(g_soundDevice, g_mainWindow, PLAT_SOUND_COOP_NORMAL) < 0) {
            return 0;
        }
    }
    for (int id = 0; id < SOUND_SLOT_COUNT; ++id) {
        SoundSlot& slot = g_soundSlots[id];
        if (slot.buffer != nullptr) {
            PlatSoundBufferStop(slot.buffer);
            PlatSoundBufferRelease(slot.buffer);
        }
        slot = SoundSlot{nullptr, 0, 0, 0, id};
    }
    return 1;
}

// Without a device nothing is tried: no slot is searched and no file opened.
// A failure while reading the file leaves the slot free; once the slot is
// claimed, a failure keeps it claimed (with or without its buffer).
int SoundLoadWav(const char* path, uint32_t controlFlags)
{
    if (g_soundDevice == nullptr) {
        return SOUND_NONE;
    }
    int id = FindFreeSlot();
    if (id == SOUND_NONE) {
        return SOUND_NONE;
    }
    WaveData wave;
    if (!ReadWaveFile(path, &wave)) {
        return SOUND_NONE;
    }
    SoundSlot& slot = g_soundSlots[id];
    slot.sampleRate = wave.sampleRate;
    slot.byteLength = wave.byteLength;
    slot.inUse = 1;

    PlatSoundBufferDesc desc{};
    desc.size = SOUND_BUFFER_DESC_SIZE;
    desc.flags = controlFlags | SOUND_BUFFER_FLAGS;
    desc.bufferBytes = slot.byteLength;
    desc.format = &BUFFER_FORMAT;
    if (PlatSoundCreateBuffer(g_soundDevice, desc, &slot.buffer) < 0) {
        slot.buffer = nullptr;
        return SOUND_NONE;
    }
    if (!FillBuffer(slot.buffer, wave)) {
        return SOUND_NONE;
    }
    return id;
}

int SoundPlay(int id, uint32_t playFlags)
{
    if (id < 0 || id >= SOUND_SLOT_COUNT) {
        return 0;
    }
    SoundSlot& slot = g_soundSlots[id];
    if (slot.buffer == nullptr) {
        return 1;
    }
    // Rewinding first makes a sound that is still playing start over.
    if (PlatSoundBufferSetCurrentPosition(slot.buffer, 0) < 0) {
        return 0;
    }
    return PlatSoundBufferPlay(slot.buffer, 0, 0, playFlags) < 0 ? 0 : 1;
}

int SoundStopAll()
{
    for (SoundSlot& slot : g_soundSlots) {
        if (slot.buffer != nullptr) {
            StopAndRewind(slot);
        }
    }
    return 1;
}

int SoundDeleteAll()
{
    for (SoundSlot& slot : g_soundSlots) {
        if (slot.buffer != nullptr) {
            StopAndRewind(slot);
            PlatSoundBufferRelease(slot.buffer);
            slot.buffer = nullptr;
        }
    }
    return 1;
}

int SoundClose()
{
    SoundStopAll();
    for (SoundSlot& slot : g_soundSlots) {
        if (slot.buffer != nullptr) {
            PlatSoundBufferRelease(slot.buffer);
            slot.buffer = nullptr;
        }
    }
    if (g_soundDevice != nullptr) {
        PlatSoundDeviceRelease(g_soundDevice);
        g_soundDevice = nullptr;
    }
    return 1;
}
