// The music performance: set up at start and torn down at exit. Nothing ever
// loads or plays a segment; the table stays empty.
#pragma once

#include "platform/music.h"

#include <cstdint>

constexpr int MUSIC_SLOT_COUNT = 64;
constexpr int32_t MUSIC_NONE = -1;
constexpr uint32_t MUSIC_ALL_GROUPS = 0xFFFFFFFFu;

struct MusicSlot {
    PlatMusicSegment segment;
    int32_t inUse;
    int32_t index;
    int32_t aux; // reserved; only the resets touch it
};

extern PlatMusicPerformance g_musicPerformance;
extern PlatMusicLoader g_musicLoader;
extern MusicSlot g_musicSlots[MUSIC_SLOT_COUNT];
extern int32_t g_currentSegmentId;

// 1 on success, 0 when a step failed (what was made before it stays held).
int MusicOpen();
int MusicUnloadAll();
// Releases whatever exists, and always leaves the component system.
int MusicClose();
// The table and handles as at program start; nothing is released.
void MusicReset();
