// The play screen: one frame of the game per pass of the main loop.
#pragma once

extern bool g_fieldWon;

int PlayFrame();
// Cuts the field backdrop for the current size and loads the tile atlas.
void LoadFieldGraphics();
