// The field's backdrop: what every hidden cell shows.
#pragma once

#include "tools/datagen/canvas.h"

inline constexpr int BACKDROP_SIZE = 576; // the largest field is 575; 576 * 3 needs no row padding

Image PaintBackdrop();
