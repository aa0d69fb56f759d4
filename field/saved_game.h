// The one saved game, "save.gm": the side on the first line, then two digits
// per cell (value, state), x outer and y inner.
#pragma once

#include <cstdint>

constexpr const char* SAVE_FILE_NAME = "save.gm";
constexpr int32_t SAVE_MIN_SIZE = 3;
constexpr int32_t SAVE_MAX_SIZE = 25;

// Writes the board to a new temporary file beside "save.gm" and then replaces
// "save.gm" with it in one step, so a failed save leaves the previous saved
// game as it was and nothing else behind.
void SaveGame();
// Replaces the board with the saved one. A file the game cannot use (missing,
// empty, no size, size out of range) leaves everything as it was.
void LoadGame();
