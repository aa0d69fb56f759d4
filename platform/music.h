// The music seam: the component system, a music performance and a loader.
// Nothing is ever played through it; the game only sets it up and tears it
// down. Results are the native codes: negative is failure.
#pragma once

#include "platform/audio.h"
#include "platform/system.h"

#include <cstdint>

struct PlatMusicPerformanceTag;
struct PlatMusicLoaderTag;
struct PlatMusicSegmentTag;
struct PlatMusicSegmentStateTag;
using PlatMusicPerformance = PlatMusicPerformanceTag*;
using PlatMusicLoader = PlatMusicLoaderTag*;
using PlatMusicSegment = PlatMusicSegmentTag*;
using PlatMusicSegmentState = PlatMusicSegmentStateTag*;

constexpr uint32_t PLAT_CLASS_CONTEXT_INPROC = 3;

enum class PlatMusicParam { Unload };

int PlatComInitialize();
void PlatComUninitialize();

// Instances of the performance and loader classes.
int PlatMusicCreatePerformance(uint32_t classContext, PlatMusicPerformance* performance);
int PlatMusicCreateLoader(uint32_t classContext, PlatMusicLoader* loader);

// A null device lets the platform make its own.
int PlatMusicPerformanceInit(PlatMusicPerformance performance, PlatSoundDevice device,
                             PlatWindow window);
// The default output port.
int PlatMusicPerformanceAddPort(PlatMusicPerformance performance);
// A null segment and state stop everything.
int PlatMusicPerformanceStop(PlatMusicPerformance performance, PlatMusicSegment segment,
                             PlatMusicSegmentState state, int32_t time, uint32_t flags);
int PlatMusicPerformanceCloseDown(PlatMusicPerformance performance);
void PlatMusicPerformanceRelease(PlatMusicPerformance performance);
void PlatMusicLoaderRelease(PlatMusicLoader loader);

int PlatMusicSegmentSetParam(PlatMusicSegment segment, PlatMusicParam param, uint32_t groupBits,
                             uint32_t index, int32_t time, PlatMusicPerformance performance);
void PlatMusicSegmentRelease(PlatMusicSegment segment);
