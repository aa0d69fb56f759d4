#include "tools/datagen/atlas_painter.h"

#include "tools/datagen/atlas_layout.h"

#include <cassert>
#include <stdexcept>

namespace {

void Place(Image& atlas, const Image& piece, const AtlasPiece& where)
{
    if (piece.width != where.w || piece.height != where.h) {
        throw std::logic_error("atlas piece painted at the wrong size");
    }
    Paste(atlas, piece, where.x, where.y);
}

} // namespace

Image PaintAtlas(const std::string& boldFont)
{
    // Unused corners of the atlas stay see-through.
    Image atlas = MakeImage(kAtlasWidth, kAtlasHeight, kTransparent);
    Place(atlas, PaintOpenedMine(), kOpenedMinePiece);
    for (int v = 1; v <= 8; ++v) {
        Place(atlas, PaintNumberTile(v, boldFont), NumberPiece(v));
    }
    Place(atlas, PaintFlag(), kFlagPiece);
    Place(atlas, PaintOpenedCell(), kOpenedCellPiece);
    Place(atlas, PaintArrow(), kArrowPiece);
    Place(atlas, PaintLamp(), kLampPiece);
    const char* labels[4] = {"New", "Load", "Save", "Quit"};
    for (int i = 0; i < 4; ++i) {
        Place(atlas, PaintButton(labels[i], boldFont), kButtonPieces[i]);
    }
    return atlas;
}
