#include "sound/music_performance.h"

#include "window/game_window.h"
#include "sound/sound_effects.h"

PlatMusicPerformance g_musicPerformance = nullptr;
PlatMusicLoader g_musicLoader = nullptr;
MusicSlot g_musicSlots[MUSIC_SLOT_COUNT] = {};
int32_t g_currentSegmentId = MUSIC_NONE;

void MusicReset()
{
    g_musicPerformance = nullptr;
    g_musicLoader = nullptr;
    for (MusicSlot& slot : g_musicSlots) {
        slot = MusicSlot{};
    }
    g_currentSegmentId = MUSIC_NONE;
}

int MusicOpen()
{
    if (PlatComInitialize() < 0) {
        return 0;
    }
    if (PlatMusicCreatePerformance(PLAT_CLASS_CONTEXT_INPROC, &g_musicPerformance) < 0) {
        g_musicPerformance = nullptr;
        return 0;
    }
    // Without a sound device the platform makes its own.
    if (PlatMusicPerformanceInit(g_musicPerformance, g_soundDevice, g_mainWindow) < 0) {
        return 0;
    }
    if (PlatMusicPerformanceAddPort(g_musicPerformance) < 0) {
        return 0;
    }
    if (PlatMusicCreateLoader(PLAT_CLASS_CONTEXT_INPROC, &g_musicLoader) < 0) {
        g_musicLoader = nullptr;
        return 0;
    }
    for (int i = 0; i < MUSIC_SLOT_COUNT; ++i) {
        g_musicSlots[i] = MusicSlot{nullptr, 0, i, 0};
    }
    g_currentSegmentId = MUSIC_NONE;
    return 1;
}

int MusicUnloadAll()
{
    for (MusicSlot& slot : g_musicSlots) {
        if (slot.segment == nullptr) {
            continue;
        }
        // Unloads the segment's instruments from the performance.
        PlatMusicSegmentSetParam(slot.segment, PlatMusicParam::Unload, MUSIC_ALL_GROUPS, 0, 0,
                                 g_musicPerformance);
        PlatMusicSegmentRelease(slot.segment);
        slot.segment = nullptr;
        slot.inUse = 0;
        slot.aux = 0;
    }
    return 1;
}

int MusicClose()
{
    if (g_musicPerformance != nullptr) {
        PlatMusicPerformanceStop(g_musicPerformance, nullptr, nullptr, 0, 0);
    }
    MusicUnloadAll();
    if (g_musicPerformance != nullptr) {
        PlatMusicPerformanceCloseDown(g_musicPerformance);
        PlatMusicPerformanceRelease(g_musicPerformance);
        g_musicPerformance = nullptr;
    }
    if (g_musicLoader != nullptr) {
        PlatMusicLoaderRelease(g_musicLoader);
        g_musicLoader = nullptr;
    }
    PlatComUninitialize();
    return 1;
}
