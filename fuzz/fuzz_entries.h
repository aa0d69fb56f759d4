// One input of each outside-file reader, run the way the game would meet it.
// The libFuzzer targets and the regression tests share these entries, so a
// file that once broke a fuzzer replays in every test build. Each gives false
// (after printing why) when the game's own invariants no longer hold; memory
// faults are left to the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes as a picture file: loaded, cut into sprites at the edges and
// inside, and drawn half off a small screen.
bool FuzzBitmapInput(const uint8_t* data, size_t size);
// The bytes as a sound file: loaded into a slot of the fake sound device and played.
bool FuzzWavInput(const uint8_t* data, size_t size);
// The bytes as "save.gm": the game starts, loads it, and plays a scripted
// run of frames over the board it loaded (clicks, flags, Save and Load).
bool FuzzSavedGameInput(const uint8_t* data, size_t size);

// The saved-game entry keeps the game running between inputs (starting it
// costs more than a run); this shuts it down and resets everything.
void FuzzSavedGameEnd();

// Reads the real pictures and sounds from the build, once per process.
void FuzzLoadGameData();
