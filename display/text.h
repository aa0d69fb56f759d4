// Text: glyphs of the built-in font blended into 16-bit pixels, without a
// background, in the one colour the game writes in.
#pragma once

#include <cstdint>

constexpr int32_t TEXT_RED = 70;
constexpr int32_t TEXT_GREEN = 150;
constexpr int32_t TEXT_BLUE = 60;

// Draws into the back buffer with the text's top-left at (x, y), locked or
// not. When the back buffer cannot be had the game is asked to quit.
void DrawTextAt(int32_t x, int32_t y, const char* text);
// Draws into any 16-bit buffer of the display's pixel format, dropping what
// falls outside width × height.
void DrawTextInto(uint16_t* pixels, int32_t pitchBytes, int32_t width, int32_t height, int32_t x,
                  int32_t y, const char* text);
// Pixels from the first pen position to the last.
int32_t TextWidth(const char* text);
int32_t TextLineHeight();
