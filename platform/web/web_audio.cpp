// Sound in a browser, through Web Audio. Every buffer is its own voice (one per
// sound slot): its 8-bit unsigned mono samples become an 11025 Hz audio buffer
// when the game unlocks it, and playing it again stops the voice and starts
// it afresh. Browsers let a page make sound only after the player's first
// click or key (web_events.cpp resumes the audio then); sounds asked for
// before that are skipped rather than saved up. Without Web Audio the device
// cannot be made and the game runs silently.
#include "platform/common/sound_voices.h"
#include "platform/audio.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

#include <algorithm>
#include <vector>

struct PlatSoundDeviceTag {
    std::vector<PlatSoundBufferTag*> voices;
};

struct PlatSoundBufferTag : SoundVoice {
    int id = 0; // the voice's number on the page
};

namespace {

constexpr int SAMPLE_RATE = 11025;
int s_nextVoice = 1;

// The audio context is made at the player's first gesture, not at start:
// making one can hold the page for a good part of a second, and no sound may
// play before that gesture anyway. A running context keeps the browser's
// audio working even in silence, so once no voice has sounded for a while it
// is suspended, and the next sound resumes it.
// clang-format off
EM_JS(int, WebAudioOpen, (), {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    var REST_AFTER_MS = 3000;
    var audio = {context: null, voices: {}, resting: false, restTimer: 0};
    Module.dellomarAudio = audio;
    audio.restSoon = function() {
        clearTimeout(audio.restTimer);
        audio.restTimer = setTimeout(function() {
            for (var id in audio.voices) {
                if (audio.voices[id].source) return;
            }
            if (!audio.context || audio.context.state !== "running") return;
            audio.resting = true;
            audio.context.suspend().catch(function() {});
        }, REST_AFTER_MS);
    };
    audio.wake = function() {
        clearTimeout(audio.restTimer);
        if (!audio.resting) return;
        audio.resting = false;
        audio.context.resume().catch(function() {});
    };
    Module.dellomarAudioResume = function() {
        try {
            if (!audio.context) audio.context = new Context();
        } catch (e) {
            return;
        }
        if (audio.resting) return;
        if (audio.context.state === "suspended") audio.context.resume().catch(function() {});
        audio.restSoon();
    };
    return 1;
});
// clang-format on

// clang-format off
EM_JS(void, WebAudioClose, (), {
    var audio = Module.dellomarAudio;
    if (!audio) return;
    Module.dellomarAudio = null;
    Module.dellomarAudioResume = null;
    clearTimeout(audio.restTimer);
    if (audio.context) audio.context.close().catch(function() {});
});
// clang-format on

// The samples wait in the page until the context exists; the audio buffer
// is made from them when the voice first plays.
// clang-format off
EM_JS(void, WebAudioSetSamples, (int id, const uint8_t* samples, int count, int rate), {
    var audio = Module.dellomarAudio;
    if (!audio) return;
    var voice = audio.voices[id] || (audio.voices[id] = {buffer: null, source: null});
    var data = new Float32Array(count);
    for (var i = 0; i < count; i++) data[i] = (HEAPU8[samples + i] - 128) / 128;
    voice.samples = data;
    voice.rate = rate;
    voice.buffer = null;
});
// clang-format on

// clang-format off
EM_JS(void, WebAudioStop, (int id), {
    var audio = Module.dellomarAudio;
    var voice = audio && audio.voices[id];
    if (!voice || !voice.source) return;
    voice.source.onended = null;
    try { voice.source.stop(); } catch (e) {}
    voice.source.disconnect();
    voice.source = null;
    audio.restSoon();
});
// clang-format on

// clang-format off
EM_JS(void, WebAudioPlay, (int id, double offset, int looping), {
    var audio = Module.dellomarAudio;
    var voice = audio && audio.voices[id];
    if (!voice || !voice.samples || !audio.context) return;
    if (audio.context.state !== "running" && !audio.resting) return;
    audio.wake();
    if (!voice.buffer) {
        try {
            voice.buffer = audio.context.createBuffer(1, voice.samples.length, voice.rate);
        } catch (e) {
            return;
        }
        voice.buffer.getChannelData(0).set(voice.samples);
    }
    var source = audio.context.createBufferSource();
    source.buffer = voice.buffer;
    source.loop = looping !== 0;
    source.connect(audio.context.destination);
    source.onended = function() {
        if (voice.source !== source) return;
        voice.source = null;
        audio.restSoon();
    };
    source.start(0, Math.min(offset, voice.buffer.duration));
    voice.source = source;
    if (Module.dellomarStats) Module.dellomarStats.sounds++;
});
// clang-format on

// clang-format off
EM_JS(void, WebAudioForget, (int id), {
    var audio = Module.dellomarAudio;
    if (audio) delete audio.voices[id];
});
// clang-format on

} // namespace

int PlatSoundDeviceCreate(PlatSoundDevice* device)
{
    *device = nullptr;
    if (WebAudioOpen() == 0) {
        WebSetLastError("this browser offers no Web Audio");
        return PLAT_SOUND_ERR_NO_DRIVER;
    }
    *device = new PlatSoundDeviceTag;
    WebTurnIfBusy();
    return PLAT_SOUND_OK;
}

PlatSoundBuffer VoiceNew(PlatSoundDevice device, uint32_t bytes)
{
    auto* made = new PlatSoundBufferTag;
    made->id = s_nextVoice++;
    made->device = device;
    VoiceSilence(&made->samples, bytes);
    device->voices.push_back(made);
    return made;
}

// The game writes straight into the samples; the page gets them on unlock.
int PlatSoundBufferLock(PlatSoundBuffer buffer, uint32_t offset, uint32_t bytes, void** region1,
                        uint32_t* length1, void** region2, uint32_t* length2, uint32_t flags)
{
    return VoiceLock(buffer, buffer != nullptr ? &buffer->samples : nullptr,
                     buffer != nullptr ? buffer->position : 0, offset, bytes, region1, length1,
                     region2, length2, flags);
}

// What was written reaches the page's audio buffer here, in one piece.
int PlatSoundBufferUnlock(PlatSoundBuffer buffer, void*, uint32_t, void*, uint32_t)
{
    if (!VoiceUnlock(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    WebAudioSetSamples(buffer->id, buffer->samples.data(), static_cast<int>(buffer->samples.size()),
                       SAMPLE_RATE);
    // The sounds are prepared while the game starts: the browser gets its turn between them.
    WebTurnIfBusy();
    return PLAT_SOUND_OK;
}

int PlatSoundBufferSetCurrentPosition(PlatSoundBuffer buffer, uint32_t position)
{
    if (!VoicePositionFits(buffer, position)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    buffer->position = position;
    return PLAT_SOUND_OK;
}

// Playing again starts the voice afresh.
int PlatSoundBufferPlay(PlatSoundBuffer buffer, uint32_t, uint32_t, uint32_t flags)
{
    if (!VoiceUsable(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    WebAudioStop(buffer->id);
    WebAudioPlay(buffer->id, static_cast<double>(buffer->position) / SAMPLE_RATE,
                 (flags & PLAT_SOUND_PLAY_LOOPING) != 0 ? 1 : 0);
    return PLAT_SOUND_OK;
}

int PlatSoundBufferStop(PlatSoundBuffer buffer)
{
    if (!VoiceUsable(buffer)) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    WebAudioStop(buffer->id);
    return PLAT_SOUND_OK;
}

void PlatSoundBufferRelease(PlatSoundBuffer buffer)
{
    if (VoiceUsable(buffer)) {
        WebAudioStop(buffer->id);
        WebAudioForget(buffer->id);
        std::erase(buffer->device->voices, buffer);
    }
    delete buffer;
}

void PlatSoundDeviceRelease(PlatSoundDevice device)
{
    if (device == nullptr) {
        return;
    }
    for (PlatSoundBufferTag* voice : device->voices) {
        WebAudioStop(voice->id);
    }
    VoicesOrphan(device->voices);
    delete device;
    WebAudioClose();
}
