// The field's backdrop: what every hidden cell shows.
#pragma once

#include "tools/datagen/canvas.h"
#include "tools/datagen/noise.h"

inline constexpr int BACKDROP_SIZE = 576; // the largest field is 575; 576 * 3 needs no row padding

Image PaintBackdrop();

// The same picture painted a few rows at a time, for a caller that must not
// stop for the whole of it (the web page paints it while staying responsive).
struct BackdropPainting {
    Image image;
    Rng grain; // one draw per pixel, in row order: carried from row to row
    int nextRow = 0;
};

BackdropPainting StartBackdrop();
// Paints up to `rows` more rows; true once the picture is finished.
bool PaintBackdropRows(BackdropPainting& painting, int rows);
