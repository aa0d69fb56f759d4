// Shared set-up of the headless benchmarks: the game started on the fake
// backend inside the built game folder, and the positions the frames are
// measured in.
#pragma once

#include <cstdint>

// Fresh fake backend and game globals, working folder = the game folder, then
// the game's own start-up. The fake clock steps far enough per read that
// the frame wait returns at once.
void BenchStartGame();
void BenchStopGame();

// A 25 x 25 field part way through a game: some cells open, a few flags, the
// lamp over the field.
void BenchTypicalPosition();
// Every cell a mine, flagged or opened, the lamp over the middle, the win
// message latched: every cell draws a tile.
void BenchWorstPosition();

// Pixels the worst frame writes, drawn piece by piece, and its parts.
struct FrameVolume {
    int64_t backdrop;
    int64_t buttons;
    int64_t tiles;
    int64_t lamp;
    int64_t text;
    int64_t Total() const { return backdrop + buttons + tiles + lamp + text; }
};
FrameVolume WorstFrameVolume();
