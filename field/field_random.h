// The board's pseudo-random generator. It is the project's own so that the
// same seed, size and count give the same board on every platform.
#pragma once

#include <cstdint>

void RandomSeed(uint32_t seed);
// The state at program start, as if seeded with 1.
void RandomReset();
// 0 to 32767: bits 16 to 30 of the next state.
int32_t RandomNext();
