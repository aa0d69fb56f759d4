// The frame clock that paces every screen.
#pragma once

#include <cstdint>

extern uint32_t g_frameStartTick;

void FrameClockReset();
uint32_t FrameClockStart();
// Spins until `milliseconds` have passed since the last FrameClockStart.
void FrameClockWait(uint32_t milliseconds);
