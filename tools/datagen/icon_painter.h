// The game's icon: the lamp over a patch of the field, an opened mine in the
// middle with its numbered neighbours, cut out of the night sky by the ring.
#pragma once

#include "tools/datagen/png_writer.h"

#include <string>

// The icon at `size` x `size` pixels; outside the lamp's ring it is see-through.
RgbaImage PaintIcon(const std::string& boldFont, int size);
