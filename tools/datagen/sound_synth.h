// The game's three sound effects, synthesized as samples in -1..1 at 11025 Hz.
#pragma once

#include <vector>

std::vector<float> SynthClick();   // a short dry tick, about 45 ms
std::vector<float> SynthBang();    // an explosion with a low rumble, about 0.7 s
std::vector<float> SynthFanfare(); // four rising notes, the last one held, about 1.3 s

// Scales the samples so that the loudest one reaches `peak`.
void Normalize(std::vector<float>& samples, float peak);
