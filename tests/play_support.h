// A started game on the fake backend, driven frame by frame with scripted
// input, with helpers to look at what reached the screen.
#pragma once

#include "screens/screen_layout.h"
#include "tests/test_support.h"

#include <cstdint>
#include <initializer_list>

class PlayTest : public GameTest {
public:
    void SetUp() override;
    void TearDown() override;

    // One play frame with this mouse motion, these buttons held and these keys down.
    static void Frame(int32_t dx, int32_t dy, bool left = false, bool right = false,
                      std::initializer_list<uint8_t> keys = {});
    // Moves the cursor to (x, y) in one frame.
    static void MoveTo(int32_t x, int32_t y);
    // Puts the lamp's hot spot on the middle of cell (x, y).
    static void AimAt(int32_t x, int32_t y);
    static void LeftClick();
    static void RightClick();

    // Plays of a sound by its id.
    static int Plays(int soundId);

    // The last presented frame shows the 24 x 24 atlas piece at
    // (x, y), wherever the piece is not transparent; the outer ring of pixels
    // is left out, since neighbouring tiles overlap it.
    static bool ShowsPiece(const AtlasPiece& piece, int32_t x, int32_t y);
    // The last presented frame shows the plain backdrop over cell (x, y).
    static bool ShowsBackdrop(int32_t cellX, int32_t cellY);
    // Presented pixels of exactly the text colour inside the rectangle.
    static int TextPixels(int32_t x, int32_t y, int32_t w, int32_t h);
};
