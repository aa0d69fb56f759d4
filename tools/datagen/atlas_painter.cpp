#include "tools/datagen/atlas_painter.h"

#include "screens/screen_layout.h"

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
    Image atlas = MakeImage(ATLAS_WIDTH, ATLAS_HEIGHT, TRANSPARENT_KEY);
    Place(atlas, PaintOpenedMine(), ATLAS_OPENED_MINE);
    for (int v = 1; v <= 8; ++v) {
        Place(atlas, PaintNumberTile(v, boldFont), AtlasNumber(v));
    }
    Place(atlas, PaintFlag(), ATLAS_FLAG);
    Place(atlas, PaintOpenedCell(), ATLAS_OPENED_CELL);
    Place(atlas, PaintArrow(), ATLAS_ARROW);
    Place(atlas, PaintLamp(), ATLAS_LAMP);
    const char* labels[4] = {"New", "Load", "Save", "Quit"};
    for (int i = 0; i < 4; ++i) {
        Place(atlas, PaintButton(labels[i], boldFont), MENU_BUTTONS[i].piece);
    }
    return atlas;
}
