// The game's icon: the lamp over a patch of the field, an opened mine in the
// middle with its numbered neighbours, cut out of the night sky by the ring.
#pragma once

#include "tools/datagen/png_writer.h"

#include <string>

// The icon at `size` x `size` pixels; outside the lamp's ring it is see-through.
RgbaImage PaintIcon(const std::string& boldFont, int size);

// The web page's larger icons, which every first visit downloads: painted at
// the largest whole fraction of `size` no larger than 128 and enlarged with
// sharp pixels, so that they compress to a few kilobytes, as the game's own
// pixels are shown.
RgbaImage PaintWebIcon(const std::string& boldFont, int size);
