// Sound on SDL: a small software mixer on one SDL audio device. Every buffer is
// its own voice (one channel per sound slot), its bytes played as 8-bit
// unsigned mono at 11025 Hz; SDL converts the mix to whatever the hardware
// wants. Play only flips the voice on, so it never waits for the sound.
// Without any audio device the creation fails and the game runs on silently.
#include "platform/common/sound_voices.h"
#include "platform/audio.h"
#include "platform/sdl/sdl_internal.h"

#include <algorithm>
#include <vector>

struct PlatSoundBufferTag;

struct PlatSoundDeviceTag {
    SDL_AudioDeviceID id = 0;
    std::vector<PlatSoundBufferTag*> voices; // touched by the audio thread: hold the lock
    std::vector<int32_t> mix;
};

struct PlatSoundBufferTag : SoundVoice {
    std::vector<uint8_t> staging; // what Lock hands out, copied over on Unlock
    bool playing = false;
    bool looping = false;
};

namespace {

constexpr int MIX_RATE = 11025;
constexpr Uint16 MIX_FRAMES = 256;

class AudioLock {
public:
    explicit AudioLock(SDL_AudioDeviceID id) : id_(id) { SDL_LockAudioDevice(id_); }
    ~AudioLock() { SDL_UnlockAudioDevice(id_); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;

private:
    SDL_AudioDeviceID id_;
};

void MixVoice(PlatSoundBufferTag* voice, int32_t* mix, size_t frames)
{
    auto size = static_cast<uint32_t>(voice->samples.size());
    for (size_t i = 0; i < frames && voice->playing; ++i) {
        if (voice->position >= size) {
            if (!voice->looping || size == 0) {
                voice->playing = false;
                voice->position = size;
                break;
            }
            voice->position = 0;
        }
        mix[i] += (static_cast<int32_t>(voice->samples[voice->position]) - 128) * 256;
        ++voice->position;
    }
}

void SDLCALL MixCallback(void* userdata, Uint8* stream, int length)
{
    auto* device = static_cast<PlatSoundDeviceTag*>(userdata);
    size_t frames = static_cast<size_t>(length) / sizeof(int16_t);
    auto* out = reinterpret_cast<int16_t*>(stream);
    while (frames > 0) {
        size_t n = std::min(frames, device->mix.size());
        std::fill(device->mix.begin(), device->mix.begin() + static_cast<ptrdiff_t>(n), 0);
        for (PlatSoundBufferTag* voice : device->voices) {
            MixVoice(voice, device->mix.data(), n);
        }
        for (size_t i = 0; i < n; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(device->mix[i], -32768, 32767));
        }
        out += n;
        frames -= n;
    }
}

} // namespace

int PlatSoundDeviceCreate(PlatSoundDevice* device)
{
    *device = nullptr;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SdlSetLastError("no sound device");
        return PLAT_SOUND_ERR_NO_DRIVER;
    }
    auto* made = new PlatSoundDeviceTag;
    SDL_AudioSpec want{};
    want.freq = MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = MIX_FRAMES;
    want.callback = MixCallback;
    want.userdata = made;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts our mono 11025 Hz stream for the hardware.
    made->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (made->id == 0) {
        SdlSetLastError("the sound device could not be opened");
        delete made;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return PLAT_SOUND_ERR_NO_DRIVER;
    }
    made->mix.assign(std::max<size_t>(have.samples, MIX_FRAMES), 0);
    SDL_PauseAudioDevice(made->id, 0);
    *device = made;
    return PLAT_SOUND_OK;
}

PlatSoundBuffer VoiceNew(PlatSoundDevice device, uint32_t bytes)
{
    auto* made = new PlatSoundBufferTag;
    made->device = device;
    VoiceSilence(&made->samples, bytes);
    made->staging = made->samples;
    AudioLock lock(device->id);
    device->voices.push_back(made);
    return made;
}

int PlatSoundBufferLock(PlatSoundBuffer buffer, uint32_t offset, uint32_t bytes, void** region1,
                        uint32_t* length1, void** region2, uint32_t* length2, uint32_t flags)
{
    uint32_t position = 0;
    if (VoiceUsable(buffer)) {
        AudioLock lock(buffer->device->id);
        position = buffer->position;
    }
    return VoiceLock(buffer, buffer != nullptr ? &buffer->staging : nullptr, position, offset,
                     bytes, region1, length1, region2, length2, flags);
}

int PlatSoundBufferUnlock(PlatSoundBuffer buffer, void*, uint32_t, void*, uint32_t)
{
    if (!VoiceUnlock(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    AudioLock lock(buffer->device->id);
    buffer->samples = buffer->staging;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferSetCurrentPosition(PlatSoundBuffer buffer, uint32_t position)
{
    if (!VoicePositionFits(buffer, position)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    AudioLock lock(buffer->device->id);
    buffer->position = position;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferPlay(PlatSoundBuffer buffer, uint32_t, uint32_t, uint32_t flags)
{
    if (!VoiceUsable(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    AudioLock lock(buffer->device->id);
    buffer->looping = (flags & PLAT_SOUND_PLAY_LOOPING) != 0;
    buffer->playing = true;
    return PLAT_SOUND_OK;
}

int PlatSoundBufferStop(PlatSoundBuffer buffer)
{
    if (!VoiceUsable(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    AudioLock lock(buffer->device->id);
    buffer->playing = false;
    return PLAT_SOUND_OK;
}

void PlatSoundBufferRelease(PlatSoundBuffer buffer)
{
    if (VoiceUsable(buffer)) {
        PlatSoundDeviceTag* device = buffer->device;
        AudioLock lock(device->id);
        std::erase(device->voices, buffer);
    }
    delete buffer;
}

void PlatSoundDeviceRelease(PlatSoundDevice device)
{
    if (device == nullptr) {
        return;
    }
    SDL_CloseAudioDevice(device->id);
    VoicesOrphan(device->voices);
    delete device;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
