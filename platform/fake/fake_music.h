// Test controls of the fake music performance. Calls are logged, and can be
// made to fail, as "ComInitialize", "MusicCreatePerformance",
// "MusicPerformanceInit", "MusicPerformanceAddPort", "MusicCreateLoader",
// "MusicPerformanceStop", "MusicPerformanceCloseDown", "MusicSegmentSetParam";
// "ComUninitialize" and the releases ("MusicPerformanceRelease",
// "MusicLoaderRelease", "MusicSegmentRelease") are logged only. A create call
// made to give a non-negative result still makes its object.
#pragma once

#include "platform/music.h"

// The game never loads a segment; tests make one to put into a slot.
PlatMusicSegment FakeMusicMakeSegment();
// Performances, loaders and segments made and not yet released.
int FakeMusicLiveObjects();
// Successful initialisations minus uninitialisations.
int FakeMusicComDepth();
