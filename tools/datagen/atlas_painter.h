// The tile atlas: every small graphic of the game at its place.
#pragma once

#include "tools/datagen/canvas.h"

#include <string>

// boldFont: the font file for the digits and the button labels.
Image PaintAtlas(const std::string& boldFont);

// The pieces, each painted on its own picture of the piece's size.
Image PaintOpenedCell();
Image PaintNumberTile(int value, const std::string& boldFont);
Image PaintOpenedMine();
Image PaintFlag();
Image PaintArrow();
Image PaintLamp();
Image PaintButton(const std::string& label, const std::string& font);
