// Every global of the game back to its state at program start, with a fresh
// fake backend: what tests, fuzzers and benchmarks start each run from.
#pragma once

void ResetGameState();
