// Plays a click through the sound code on the SDL backend. Writes the click
// as an 8-bit mono 11025 Hz WAV file to the path given, loads it, plays it
// (twice, the second time over the first), waits for it to sound out and
// closes the device. Run under SDL_AUDIODRIVER=disk the mix lands in
// SDL_DISKAUDIOFILE as signed 16-bit mono samples, which the script checks.
#include "sound/sound_effects.h"

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

void PutLe(std::string* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A short burst of a decaying 1 kHz square wave.
std::string ClickWave()
{
    std::string samples;
    for (int i = 0; i < 1500; ++i) {
        double envelope = std::exp(-i / 300.0);
        int level = ((i / 5) % 2 == 0 ? 1 : -1) * static_cast<int>(100 * envelope);
        samples.push_back(static_cast<char>(128 + level));
    }
    std::string wave = "RIFF";
    PutLe(&wave, static_cast<uint32_t>(4 + 8 + 16 + 8 + samples.size()), 4);
    wave += "WAVEfmt ";
    PutLe(&wave, 16, 4);
    PutLe(&wave, 1, 2);     // PCM
    PutLe(&wave, 1, 2);     // mono
    PutLe(&wave, 11025, 4); // rate
    PutLe(&wave, 11025, 4); // bytes per second
    PutLe(&wave, 1, 2);     // block
    PutLe(&wave, 8, 2);     // bits
    wave += "data";
    PutLe(&wave, static_cast<uint32_t>(samples.size()), 4);
    return wave + samples;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: sdl_audio_check WAVE-PATH\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    std::string wave = ClickWave();
    if (file == nullptr || std::fwrite(wave.data(), 1, wave.size(), file) != wave.size()) {
        std::printf("cannot write %s\n", argv[1]);
        return 2;
    }
    std::fclose(file);

    int opened = SoundOpen();
    int id = SoundLoadWav(argv[1], SOUND_LOAD_FLAGS);
    std::printf("open %d load %d\n", opened, id);
    int played = SoundPlay(id, 0);
    SDL_Delay(60);
    int replayed = SoundPlay(id, 0);
    std::printf("play %d replay %d\n", played, replayed);
    SDL_Delay(400);
    SoundStopAll();
    SoundDeleteAll();
    SoundClose();
    SDL_Quit();
    return opened == 1 && id == 0 && played == 1 && replayed == 1 ? 0 : 1;
}
