#include "tools/datagen/sound_synth.h"

#include "tools/datagen/noise.h"
#include "tools/datagen/wav_writer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265f;
constexpr float RATE = static_cast<float>(SAMPLE_RATE);

size_t SampleCount(float seconds)
{
    return static_cast<size_t>(seconds * RATE);
}

float Seconds(size_t i)
{
    return static_cast<float>(i) / RATE;
}

// Fades the last few milliseconds to silence so that the end does not pop.
void FadeOut(std::vector<float>& samples, float seconds)
{
    const size_t n = std::min(samples.size(), SampleCount(seconds));
    for (size_t i = 0; i < n; ++i) {
        samples[samples.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
    }
}

// A brassy tone: a few harmonics, all kept below half the sample rate.
float Brass(float freq, float t, float vibrato)
{
    const float phase = 2.0f * PI * freq * t + vibrato * std::sin(2.0f * PI * 5.5f * t);
    const float weights[] = {1.0f, 0.62f, 0.42f, 0.24f, 0.14f, 0.08f};
    float sum = 0.0f;
    for (int h = 0; h < 6; ++h) {
        if (freq * static_cast<float>(h + 1) < RATE * 0.45f) {
            sum += weights[h] * std::sin(phase * static_cast<float>(h + 1));
        }
    }
    return sum * 0.4f;
}

// Attack, a short fall to a sustain level, and a release at the note's end.
float NoteEnvelope(float t, float length)
{
    const float attack = 0.012f;
    const float release = 0.06f;
    if (t < 0.0f || t > length) {
        return 0.0f;
    }
    float level = t < attack ? t / attack : 0.75f + 0.25f * std::exp(-(t - attack) / 0.05f);
    if (t > length - release) {
        level *= (length - t) / release;
    }
    return level;
}

} // namespace

void Normalize(std::vector<float>& samples, float peak)
{
    float loudest = 0.0f;
    for (float s : samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest > 0.0f) {
        for (float& s : samples) {
            s *= peak / loudest;
        }
    }
}

std::vector<float> SynthClick()
{
    std::vector<float> out(SampleCount(0.045f));
    Rng rng = SeededRng(0xC11Cull);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = Seconds(i);
        const float tick = std::sin(2.0f * PI * 1900.0f * t) * std::exp(-t / 0.004f);
        const float body = std::sin(2.0f * PI * 620.0f * t) * std::exp(-t / 0.011f) * 0.6f;
        const float snap = NextSigned(rng) * std::exp(-t / 0.0015f) * 0.7f;
        out[i] = tick + body + snap;
    }
    Normalize(out, 0.7f);
    FadeOut(out, 0.005f);
    return out;
}

std::vector<float> SynthBang()
{
    std::vector<float> out(SampleCount(0.72f));
    Rng rng = SeededRng(0xB4A6ull);
    float lowpass = 0.0f;
    float rumblePhase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = Seconds(i);
        // The noise darkens as the blast dies away.
        const float cutoff = 0.85f * std::exp(-t / 0.12f) + 0.06f;
        const float noise = NextSigned(rng);
        lowpass += cutoff * (noise - lowpass);
        const float attack = std::min(1.0f, t / 0.003f);
        const float blast = lowpass * attack * std::exp(-t / 0.17f) * 1.6f;
        const float crack = t < 0.02f ? noise * (1.0f - t / 0.02f) * 0.8f : 0.0f;
        const float freq = 38.0f + 42.0f * std::exp(-t / 0.15f);
        rumblePhase += 2.0f * PI * freq / RATE;
        const float rumble = std::sin(rumblePhase) * attack * std::exp(-t / 0.28f) * 0.75f;
        out[i] = std::tanh(blast + crack + rumble);
    }
    Normalize(out, 0.92f);
    FadeOut(out, 0.04f);
    return out;
}

std::vector<float> SynthFanfare()
{
    struct Note {
        float start;
        float length;
        float freq;
        float gain;
    };
    // C, E, G rising to the C above, held over the whole chord.
    const Note notes[] = {
        {0.00f, 0.16f, 523.25f, 0.9f},  {0.15f, 0.16f, 659.25f, 0.9f},
        {0.30f, 0.16f, 783.99f, 0.9f},  {0.45f, 0.80f, 1046.5f, 1.0f},
        {0.45f, 0.80f, 523.25f, 0.45f}, {0.45f, 0.80f, 659.25f, 0.35f},
        {0.45f, 0.80f, 783.99f, 0.35f},
    };
    std::vector<float> out(SampleCount(1.3f));
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = Seconds(i);
        float sum = 0.0f;
        for (const Note& note : notes) {
            const float local = t - note.start;
            const float env = NoteEnvelope(local, note.length);
            if (env > 0.0f) {
                // About half a percent of pitch, swelling in on the held notes.
                const float vibrato = note.length > 0.5f
                                          ? 0.005f * note.freq / 5.5f * std::min(1.0f, local / 0.3f)
                                          : 0.0f;
                sum += note.gain * env * Brass(note.freq, local, vibrato);
            }
        }
        out[i] = sum;
    }
    Normalize(out, 0.85f);
    FadeOut(out, 0.02f);
    return out;
}
