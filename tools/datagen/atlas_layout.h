// Where the game cuts each graphic out of the tile atlas. The play screen grabs
// these rectangles by position, so they are fixed.
#pragma once

struct AtlasPiece {
    int x;
    int y;
    int w;
    int h;
};

inline constexpr int kAtlasWidth = 248; // 248 * 3 bytes: rows need no padding
inline constexpr int kAtlasHeight = 192;
inline constexpr int kTileSize = 24;
inline constexpr int kCellPitch = 23; // neighbouring tiles share one pixel

inline constexpr AtlasPiece kOpenedMinePiece{0, 0, 24, 24};
inline constexpr AtlasPiece kFlagPiece{216, 0, 24, 24};
inline constexpr AtlasPiece kOpenedCellPiece{48, 24, 24, 24};
inline constexpr AtlasPiece kArrowPiece{24, 24, 24, 24};
inline constexpr AtlasPiece kLampPiece{0, 48, 120, 120};
inline constexpr AtlasPiece kButtonPieces[4] = {
    {145, 24, 103, 40},  // new game
    {145, 68, 103, 40},  // load
    {145, 110, 103, 40}, // save
    {145, 152, 103, 40}, // quit
};

// Number v (1..8) of an opened cell.
constexpr AtlasPiece NumberPiece(int v)
{
    return AtlasPiece{v * 24, 0, 24, 24};
}
