// What part of a picture differs from the one last put on the screen, for the
// backends that show a 16-bit picture of their own (SDL, the web page): the
// game redraws and flips its whole picture every frame, and most frames
// change nothing or only the few rows under the lamp, so a backend that puts
// only the changed part on the screen costs nothing at rest.
#pragma once

#include "platform/video.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The picture as last shown, kept to compare the next one with.
struct ShownPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels;
    // The next picture counts as changed everywhere (nothing shown yet, or
    // the screen lost what was shown: exposed, resized, moved).
    bool whole = true;
};

// Rows this close together go in one band: a band costs a call into the
// window system or the canvas, a few unchanged rows cost next to nothing.
constexpr int32_t CHANGED_BAND_GAP = 8;

// Compares `picture` (width x height pixels, rows `pitch` pixels apart) with
// `shown`, takes it as the picture shown, and writes into `bands` the
// rectangles that hold every changed pixel: bands of rows, each as wide as its
// changed pixels, top to bottom; the last band takes in what more bands would
// have held. Returns how many it wrote: 0 when nothing changed, 1 (the whole
// picture) when `shown.whole` was set or the size is not the one shown.
size_t TakeChangedArea(ShownPicture* shown, const uint16_t* picture, int32_t pitch, int32_t width,
                       int32_t height, PlatRect* bands, size_t maxBands);
